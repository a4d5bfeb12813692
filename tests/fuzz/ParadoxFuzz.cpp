#include "FuzzEntries.h"
#include "FuzzSupport.h"

#include "DbError.h"
#include "ParadoxTable.h"

// A table file as a reference package or a batch result brings it: opened (its header and chain
// of blocks checked first), then read whole and record by record, as the installation and the
// replay onto the replicas read it.
int fuzzOneParadox(const uint8_t* data, size_t size) {
    const QString path = fuzz::writeScratchFile(QStringLiteral("TABELA.DB"), fuzz::bytesOf(data, size));
    try {
        const ParadoxTable table = ParadoxTable::open(path);
        const int fields = int(table.fields().size());
        fuzz::check(fields > 0, "an opened table has fields");
        // Every record read lies in the file: the count cannot outgrow its bytes.
        fuzz::check(qint64(table.recordCount()) <= qint64(size), "more records than bytes");
        const QList<ParadoxRow> rows = table.readAll();
        fuzz::check(rows.size() == table.recordCount(), "readAll gives the counted records");
        for (const ParadoxRow& row : rows)
            fuzz::check(row.size() == fields, "a row has one value per field");
        int records = 0;
        table.forEachRecord([&](const ParadoxTable::FieldValue* values) {
            ++records;
            for (int i = 0; i < fields; ++i) {
                const ParadoxTable::FieldValue& value = values[i];
                if (value.kind == ParadoxTable::FieldValue::Text)
                    fuzz::check(value.text != nullptr && value.length >= 0, "a text value has its bytes");
            }
        });
        fuzz::check(records == table.recordCount(), "forEachRecord visits the counted records");
    } catch (const DbError&) {
        // Refused with a message naming the file: what a damaged table must give.
    }
    return 0;
}
