set(REGISTRY_REGISTER_TESTS
  CertificadoTest.cpp
  RegistroFixture.h
  TFormPrincipalTest.cpp
)

# The registry screen as the main window opens it: needs the application library.
tarvendix_add_test(tarvendix_register_shell_tests
  SOURCES RegistryShellTest.cpp
  LIBS tarvendix_app)
