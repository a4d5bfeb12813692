#include "MontaRegistro.h"

#include "InstalaDocumentos.h"
#include "InstalaEmpresas.h"
#include "InstalaProdutos.h"
#include "InstalaServicos.h"

void montaRegistro(TFormPrincipal& form, MostraTelaDocumentos mostraDocumentos) {
    instalaEmpresas(form);
    instalaProdutos(form);
    instalaServicos(form);
    instalaDocumentos(form, std::move(mostraDocumentos));
}
