set(REGISTRY_EVENT_SOURCES
  Aprovacao.cpp Aprovacao.h
  AprovaCertificadosPage.cpp AprovaCertificadosPage.h
  Eventos.cpp Eventos.h
  Justificativa.h
  RegistraEvento.cpp RegistraEvento.h
  TFrmJustificativa.cpp TFrmJustificativa.h
)
