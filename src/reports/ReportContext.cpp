#include "ReportContext.h"

#include "Clock.h"
#include "Session.h"
#include "Sql.h"

ReportContext ReportContext::of(const Session& session) {
    return {session.database(), session.user().SiglaUsu, session.clock().now()};
}

namespace ReportText {

QString status(const QString& code) {
    if (code == QLatin1String("A"))
        return QStringLiteral("Ativo");
    if (code == QLatin1String("S"))
        return QStringLiteral("Suspenso");
    if (code == QLatin1String("C"))
        return QStringLiteral("Cancelado");
    return {};
}

QString simNao(bool value) {
    return value ? QStringLiteral("Sim") : QStringLiteral("Não");
}

QDateTime dateTime(const QVariant& stored) {
    if (stored.isNull())
        return {};
    if (stored.typeId() == QMetaType::QDateTime)
        return stored.toDateTime();
    if (stored.typeId() == QMetaType::QDate)
        return stored.toDate().startOfDay();
    const QString text = stored.toString();
    QDateTime value = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!value.isValid())
        value = QDateTime::fromString(text, Qt::ISODate);
    if (!value.isValid()) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (date.isValid())
            value = date.startOfDay();
    }
    return value;
}

QString carimbo(const QVariant& stored) {
    const QDateTime value = dateTime(stored);
    return value.isValid() ? value.toString(QStringLiteral("dd/MM/yy hh:mm:ss")) : QString();
}

QString data(const QVariant& stored) {
    const QDateTime value = dateTime(stored);
    return value.isValid() ? value.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString linhaCertificador(const QSqlDatabase& db) {
    QSqlQuery q = Sql::exec(db, QStringLiteral("SELECT SiglaCertificador, NomeOCC FROM CONFIG_LOCAL"));
    if (!q.next())
        return {};
    return q.value(0).toString() + QStringLiteral(" - ") + q.value(1).toString();
}

} // namespace ReportText
