set(REGISTRY_COMPANY_TESTS
  EmpresasCertificadoTest.cpp
  EmpresasFixture.h
  EmpresasTest.cpp
)
