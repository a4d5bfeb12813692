#include "EventSequence.h"
#include "ExchangeFixture.h"

#include <QSet>

namespace {

using EventCeilingBatch = ExchangeFixture;

// The values of some columns of every row of a Paradox table, joined, for comparing keys.
QStringList keysOf(const QString& path, const QStringList& columns) {
    ParadoxTable table = ParadoxTable::open(path);
    const QStringList names = table.fieldNames();
    QStringList keys;
    for (const ParadoxRow& row : table.readAll()) {
        QStringList parts;
        for (const QString& column : columns)
            parts << row.value(int(names.indexOf(column))).toString();
        keys << parts.join(QLatin1Char('|'));
    }
    keys.sort();
    return keys;
}

// Once an event table holds 32767, new events are numbered within their certificate: the next batch
// carries them, and every key the authority identifies an event by stays unique.
TEST_F(EventCeilingBatch, CarriesTheNewEventsWithUniqueKeys) {
    certificado(QStringLiteral("C-1"), true); // its events carry SeqEvento 1
    certificado(QStringLiteral("C-2"), true); // and these 2
    nivelaReplicas();
    const Row typeLine{
        {"SiglaCertificador", "OCC"}, {"MarcaProd", "Marca"}, {"ModeloProd", "Modelo"}, {"Importado", 0}};
    auto event = [&](const QString& numero, int seq) {
        Row row = typeLine;
        row.insert("NumCertif", numero);
        row.insert("SeqEvento", seq);
        insertFull(QStringLiteral("STATUS_T"), row, QStringLiteral("e%1").arg(seq));
    };
    event(QStringLiteral("C-2"), EventSequence::MaxSeqEvento); // the table reaches the ceiling

    QList<int> numbers;
    for (const char* numero : {"C-1", "C-1", "C-2"}) {
        const int seq = EventSequence::next(db, QStringLiteral("STATUS_T"), QStringLiteral("OCC"),
                                            QString::fromLatin1(numero));
        event(QString::fromLatin1(numero), seq);
        numbers << seq;
    }
    EXPECT_EQ(numbers, (QList<int>{2, 3, 1})); // C-1 after its highest; C-2, holding 32767, its first gap
    // Two events the authority holds are deleted: one per certificate.
    Sql::execute(db, "DELETE FROM STATUS_T WHERE (NumCertif = 'C-1' AND SeqEvento = 1) OR "
                     "(NumCertif = 'C-2' AND SeqEvento = 2)");

    const PreparationResult result = prepara();
    ASSERT_TRUE(result.ok()) << result.EdResultado.toStdString() << " " << result.mensagem.toStdString();
    const QString dir = unpack(transf() + result.arquivo);

    const QStringList eventKey{"SiglaCertificador", "NumCertif", "SeqEvento"};
    const QStringList included = keysOf(dir + "Status_T_I.DB", eventKey);
    EXPECT_EQ(included, (QStringList{"OCC|C-1|2", "OCC|C-1|3", "OCC|C-2|1", "OCC|C-2|32767"}));
    EXPECT_EQ(keysOf(dir + "Status_T_E.DB", eventKey), (QStringList{"OCC|C-1|1", "OCC|C-2|2"}));
    // No key is given twice, neither among the inclusions nor between inclusions and exclusions.
    const QStringList all = included + keysOf(dir + "Status_T_E.DB", eventKey);
    EXPECT_EQ(QSet<QString>(all.begin(), all.end()).size(), all.size());
    // The column stays a Paradox short.
    const ParadoxTable table = ParadoxTable::open(dir + "Status_T_I.DB");
    EXPECT_EQ(table.fields().value(int(table.fieldNames().indexOf("SeqEvento"))).type, ParadoxField::Short);
}

} // namespace
