#pragma once

#include "ReportPreview.h"

#include <QString>

class QWidget;
class Session;
class TFormPrincipal;

// Where the program's screens open their reports.
namespace InstalaRelatorios {

// The register's "Relatórios" menu: "Certificados Incompletos", "Certificados Prontos para
// Aprovação", "Espelho do Certificado" (the report screen) and "Certificados a Vencer...".
void noRegistro(TFormPrincipal& form, Session& session, MostraRelatorio mostra);

// "Cadastro de Usuários" of the user page.
void listaUsuarios(Session& session, const MostraRelatorio& mostra, QWidget* parent);
// "Listagem do Histórico" of the batch control screen, for the selected batch.
void listaHistorico(Session& session, const QString& numeroRemessa, const MostraRelatorio& mostra,
                    QWidget* parent);

// The status-bar line after login: how many active certificates expire within the default number
// of days; empty when none.
QString avisoAVencer(Session& session);

} // namespace InstalaRelatorios
