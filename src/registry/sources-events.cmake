set(REGISTRY_EVENT_SOURCES
  Eventos.cpp Eventos.h
  Justificativa.h
  RegistraEvento.cpp RegistraEvento.h
)
