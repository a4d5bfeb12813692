set(REGISTRY_EVENT_TESTS
  AprovacaoTest.cpp
  EventosTest.cpp
  EventsFixture.h
  JustificativaTest.cpp
  RoadOfOneCertificateTest.cpp
)

# The approval page inside the main window needs the app library, which the registry tests do not link.
tarvendix_add_test(tarvendix_registry_shell_tests
  SOURCES AprovacaoShellTest.cpp EventsFixture.h
  LIBS tarvendix_app)
