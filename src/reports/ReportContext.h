#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

class Session;

// What every report needs from the session: the connection, the logged-in user printed in the page
// header, and the moment of printing (its date in the header, its time on the receipts).
struct ReportContext {
    QSqlDatabase db;
    QString usuario;
    QDateTime agora;

    static ReportContext of(const Session& session);
};

// The shared ways reports print values.
namespace ReportText {

// "Ativo", "Suspenso", "Cancelado" for A, S, C; empty for anything else.
QString status(const QString& code);
QString simNao(bool value);
// A stored date-time (or date) read back; invalid when empty or not a date.
QDateTime dateTime(const QVariant& stored);
// Time stamps of the lists: "dd/mm/yy hh:nn:ss"; empty when there is none.
QString carimbo(const QVariant& stored);
// Dates: "dd/mm/yyyy"; empty when there is none.
QString data(const QVariant& stored);
// SiglaCertificador + " - " + NomeOCC of CONFIG_LOCAL; empty when the table has no row.
QString linhaCertificador(const QSqlDatabase& db);

} // namespace ReportText
