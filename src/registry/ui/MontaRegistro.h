#pragma once

#include "InstalaDocumentos.h"

class TFormPrincipal;

// Completes the registry screen with everything that plugs into it: the company table and links,
// the product table and lines, the services and the signatories, the normative documents and the
// history of every item (shown by `mostraDocumentos`, modally when empty).
void montaRegistro(TFormPrincipal& form, MostraTelaDocumentos mostraDocumentos = {});
