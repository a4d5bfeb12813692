#pragma once

#include <functional>
#include <memory>

class QDialog;
class TFormPrincipal;

// Shows one of the two screens, which it is handed; when empty, they are shown modally and gone once
// closed.
using MostraTelaDocumentos = std::function<void(std::unique_ptr<QDialog> tela)>;

// Puts the normative-documents screen and the history screen behind the register's "Doc.
// Normativos" and "Cad. Histórico", for the current item of the active tab.
void instalaDocumentos(TFormPrincipal& form, MostraTelaDocumentos mostra = {});
