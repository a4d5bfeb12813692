#pragma once

class TFormPrincipal;

// Puts the product table panel ("TabProduto") and the three product-line tabs into the registry
// screen, with their leave guards.
void instalaProdutos(TFormPrincipal& form);
