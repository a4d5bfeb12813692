set(REGISTRY_SERVICE_TESTS
  ServicesFixture.h
  ServicosTest.cpp
  SignatariosTest.cpp
)
