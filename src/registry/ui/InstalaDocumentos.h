#pragma once

class TFormPrincipal;

// Puts the normative-documents screen and the history screen behind the register's "Doc.
// Normativos" and "Cad. Histórico", for the current item of the active tab.
void instalaDocumentos(TFormPrincipal& form);
