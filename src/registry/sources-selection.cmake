set(REGISTRY_SELECTION_SOURCES
  SelectionQueries.cpp SelectionQueries.h
  SelecaoGrade.cpp SelecaoGrade.h
  TFrmSelecionaCertificado.cpp TFrmSelecionaCertificado.h
  TFrmSelecionaProduto.cpp TFrmSelecionaProduto.h
  TFrmSelEmpCert.cpp TFrmSelEmpCert.h
  TFrmSelecionaEmpresa.cpp TFrmSelecionaEmpresa.h
  TFrmDetalhesEmpresa.cpp TFrmDetalhesEmpresa.h
)
