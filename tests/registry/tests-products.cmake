set(REGISTRY_PRODUCT_TESTS
  LinhasProdutoTest.cpp
  ProdutosFixture.h
  ProdutosTest.cpp
)
