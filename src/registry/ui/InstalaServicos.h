#pragma once

class TFormPrincipal;

// Puts the tab "Serviços" and the panel "Signatários" into the registry screen and registers the
// duplicate check "SERVICO".
void instalaServicos(TFormPrincipal& form);
