#pragma once

class TFormPrincipal;

// Completes the registry screen with everything that plugs into it: the company table and links,
// the product table and lines, the services and the signatories, the normative documents and the
// history of every item.
void montaRegistro(TFormPrincipal& form);
