set(REGISTRY_SERVICE_SOURCES
  InstalaServicos.cpp InstalaServicos.h
  PanelSignatarios.cpp PanelSignatarios.h
  Servicos.cpp Servicos.h
  Signatarios.cpp Signatarios.h
  TabServicos.cpp TabServicos.h
)
