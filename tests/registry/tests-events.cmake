set(REGISTRY_EVENT_TESTS
  RegistryEmpty.cpp
)
