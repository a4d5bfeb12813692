#include "EventSequence.h"

#include "DbError.h"
#include "Sql.h"

namespace EventSequence {

const QStringList& eventTables() {
    static const QStringList tables = {
        QStringLiteral("STATUS_C"),    QStringLiteral("EVENTO_EMP"),  QStringLiteral("STATUS_T"),
        QStringLiteral("STATUS_L"),    QStringLiteral("STATUS_U"),    QStringLiteral("STATUS_S"),
        QStringLiteral("STATUS_DNCP"), QStringLiteral("STATUS_DNCS"), QStringLiteral("STATUS_DNT"),
        QStringLiteral("STATUS_DNL"),  QStringLiteral("STATUS_DNU"),  QStringLiteral("STATUS_DNS"),
    };
    return tables;
}

bool isEventTable(const QString& name) {
    return eventTables().contains(name, Qt::CaseInsensitive);
}

int next(const QSqlDatabase& db, const QString& eventTable) {
    // The name goes into the statement text, so only the known names are taken.
    if (!isEventTable(eventTable))
        throw DbError(QStringLiteral("\"%1\" não é uma tabela de eventos.").arg(eventTable));
    const QString table = eventTable.toUpper();
    const QVariant highest = Sql::scalar(db, QStringLiteral("SELECT max(SeqEvento) FROM %1").arg(table));
    const qint64 following = highest.isNull() ? 1 : highest.toLongLong() + 1;
    if (following > MaxSeqEvento)
        throw DbError(QStringLiteral("A tabela de eventos %1 atingiu o limite de %2 eventos; "
                                     "o evento não foi gravado.")
                          .arg(table)
                          .arg(MaxSeqEvento));
    return int(following);
}

} // namespace EventSequence
