#pragma once

class TFormPrincipal;

// Completes the registry screen with everything that plugs into it: the company table and links,
// the product table and lines, the services and the signatories.
void montaRegistro(TFormPrincipal& form);
