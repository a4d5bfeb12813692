set(REGISTRY_ASSEMBLY_SOURCES
  MontaRegistro.cpp MontaRegistro.h
  Widgets.cpp Widgets.h
)
