#pragma once

#include "ReportContext.h"
#include "ReportDocument.h"
#include "SelecaoCertificados.h"

#include <QSqlDatabase>
#include <QString>

// The list reports of the program, each a definition over the list layout (ListReport).
namespace Relatorios {

// TRelLista "Lista dos Certificados": the certificates of the selection.
Report::Document lista(const ReportContext& context, const SelecaoCertificados& selecao);
// TFrmRelCertInc "Certificados Incompletos", with what each certificate lacks.
Report::Document certificadosIncompletos(const ReportContext& context);
// TFrmRelCertPront "Certificados Prontos para Aprovação": complete, not approved, newest change first.
Report::Document certificadosProntos(const ReportContext& context);
// TFrmRelUsuario "Cadastro de Usuários": the users and their seven permissions (never passwords).
Report::Document usuarios(const ReportContext& context);
// TFrmRelControle "Controle de Remessas - Listagem de Histórico": the events of one batch, newest
// first.
Report::Document historicoRemessa(const ReportContext& context, const QString& numeroRemessa);
// "Certificados a Vencer": active certificates whose validity ends within `dias` days from today
// (those already past it included), soonest first.
Report::Document certificadosAVencer(const ReportContext& context, int dias);

inline constexpr int DiasAVencerPadrao = 60;

// The pending-items text of a certificate: one sentence for each of companies, products or
// services and normative documents it lacks; empty when it lacks nothing or the number is empty.
// Looks at the certificate's acronym and number together. Throws DbError.
QString pendencias(const QSqlDatabase& db, const QString& sigla, const QString& numero);

// How many active certificates of the installation expire within `dias` days of `hoje`.
int contaAVencer(const QSqlDatabase& db, const QDate& hoje, int dias);

} // namespace Relatorios
