#include "EventSequence.h"

#include "DbError.h"
#include "Sql.h"

#include <QSqlQuery>
#include <algorithm>

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

namespace {

DbError tableFull(const QString& table) {
    return DbError(QStringLiteral("A tabela de eventos %1 atingiu o limite de %2 eventos; "
                                  "o evento não foi gravado.")
                       .arg(table)
                       .arg(MaxSeqEvento));
}

// Past the table's ceiling: the certificate's own numbering, then the first gap it leaves.
int nextOfCertificate(const QSqlDatabase& db, const QString& table, const QString& sigla,
                      const QString& num) {
    const QString ofCertificate =
        QStringLiteral("FROM %1 WHERE SiglaCertificador = :sigla AND NumCertif = :num").arg(table);
    QSqlQuery highest = Sql::prepare(db, QStringLiteral("SELECT max(SeqEvento) ") + ofCertificate);
    highest.bindValue(QStringLiteral(":sigla"), sigla);
    highest.bindValue(QStringLiteral(":num"), num);
    Sql::exec(highest);
    const QVariant top = highest.next() ? highest.value(0) : QVariant();
    if (top.isNull())
        return 1;
    if (top.toLongLong() < MaxSeqEvento)
        return int(std::max<qint64>(top.toLongLong() + 1, 1));

    QSqlQuery used = Sql::prepare(db, QStringLiteral("SELECT DISTINCT SeqEvento ") + ofCertificate +
                                          QStringLiteral(" AND SeqEvento > 0 ORDER BY SeqEvento"));
    used.bindValue(QStringLiteral(":sigla"), sigla);
    used.bindValue(QStringLiteral(":num"), num);
    Sql::exec(used);
    int candidate = 1;
    while (used.next() && used.value(0).toInt() == candidate)
        ++candidate;
    if (candidate > MaxSeqEvento)
        throw tableFull(table);
    return candidate;
}

} // namespace

int next(const QSqlDatabase& db, const QString& eventTable, const QString& siglaCertificador,
         const QString& numCertif) {
    // The name goes into the statement text, so only the known names are taken.
    if (!isEventTable(eventTable))
        throw DbError(QStringLiteral("\"%1\" não é uma tabela de eventos.").arg(eventTable));
    const QString table = eventTable.toUpper();
    const QVariant highest = Sql::scalar(db, QStringLiteral("SELECT max(SeqEvento) FROM %1").arg(table));
    if (highest.isNull())
        return 1;
    if (highest.toLongLong() < MaxSeqEvento)
        return int(highest.toLongLong() + 1);
    return nextOfCertificate(db, table, siglaCertificador, numCertif);
}

int Numbering::next(const QSqlDatabase& db, const QString& eventTable, const QString& siglaCertificador,
                    const QString& numCertif) {
    if (!isEventTable(eventTable))
        return EventSequence::next(db, eventTable, siglaCertificador, numCertif); // says why
    const QString table = eventTable.toUpper();
    auto it = highest_.find(table);
    if (it == highest_.end()) {
        const QVariant highest = Sql::scalar(db, QStringLiteral("SELECT max(SeqEvento) FROM %1").arg(table));
        it = highest_.insert(table, highest.isNull() ? 0 : highest.toLongLong());
    }
    if (*it < MaxSeqEvento)
        return int(++*it);
    return EventSequence::next(db, table, siglaCertificador, numCertif);
}

} // namespace EventSequence
