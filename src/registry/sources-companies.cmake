set(REGISTRY_COMPANY_SOURCES
  CadastroEmpresas.cpp CadastroEmpresas.h
  CamposEmpresa.cpp CamposEmpresa.h
  Empresas.cpp Empresas.h
  EmpresasCertificado.cpp EmpresasCertificado.h
  GradeEmpresas.cpp GradeEmpresas.h
  InstalaEmpresas.cpp InstalaEmpresas.h
  PanelTabEmpresa.cpp PanelTabEmpresa.h
  TabEmpresasEnvolvidas.cpp TabEmpresasEnvolvidas.h
  TFrmInclEmpresa.cpp TFrmInclEmpresa.h
)
