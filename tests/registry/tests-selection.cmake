set(REGISTRY_SELECTION_TESTS
  SelectionFixture.h
  SelectionDialogsTest.cpp
  ProductSelectionTest.cpp
  CompanySelectionTest.cpp
  SelectionQueriesTest.cpp
)
