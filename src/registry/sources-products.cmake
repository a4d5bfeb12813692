set(REGISTRY_PRODUCT_SOURCES
  InstalaProdutos.cpp InstalaProdutos.h
  LinhasProduto.cpp LinhasProduto.h
  PanelTabProduto.cpp PanelTabProduto.h
  Produtos.cpp Produtos.h
  TabLinhasProduto.cpp TabLinhasProduto.h
  TDMTipo.cpp TDMTipo.h
  TFrmInclProduto.cpp TFrmInclProduto.h
)
