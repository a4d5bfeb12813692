#include "ParadoxTable.h"
#include "DamagedParadox.h"
#include "DbError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

extern "C" {
#include <paradox.h>
}

namespace {

QVariant null() {
    return QVariant();
}

QList<ParadoxField> everyType() {
    return {ParadoxField::alpha("Nome", 30),
            ParadoxField::alpha("Texto", 255),
            ParadoxField::of("Curto", ParadoxField::Short),
            ParadoxField::of("Longo", ParadoxField::Long),
            ParadoxField::of("Ativo", ParadoxField::Logical),
            ParadoxField::of("Quando", ParadoxField::Timestamp)};
}

QDateTime at(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

// Equal values, and NULL only where NULL is expected.
void expectRowsEqual(const QList<ParadoxRow>& actual, const QList<ParadoxRow>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (int r = 0; r < expected.size(); ++r) {
        ASSERT_EQ(actual[r].size(), expected[r].size());
        for (int c = 0; c < expected[r].size(); ++c) {
            const QVariant& a = actual[r][c];
            const QVariant& e = expected[r][c];
            EXPECT_EQ(a.isNull(), e.isNull()) << "row " << r << " column " << c;
            if (!e.isNull()) {
                EXPECT_EQ(a, e) << "row " << r << " column " << c << ": " << a.toString().toStdString()
                                << " != " << e.toString().toStdString();
            }
        }
    }
}

// The stored bytes of one alpha field, read with pxlib alone.
QByteArray rawAlpha(const QString& path, int record, int offset, int length) {
    pxdoc_t* doc = PX_new();
    EXPECT_EQ(PX_open_file(doc, QFile::encodeName(path).constData()), 0);
    QByteArray buffer(PX_get_recordsize(doc), '\0');
    EXPECT_NE(PX_get_record(doc, record, buffer.data()), nullptr);
    const QByteArray bytes(buffer.constData() + offset, int(qstrnlen(buffer.constData() + offset, length)));
    PX_close(doc);
    PX_delete(doc);
    return bytes;
}

class ParadoxTableTest : public ::testing::Test {
protected:
    QString file(const QString& name) const { return QDir(dir.path()).filePath(name); }
    QTemporaryDir dir;
};

TEST_F(ParadoxTableTest, EveryTypeRoundTripsWithNulls) {
    const QString longText = QString(254, QLatin1Char('x')) + QChar(0x20AC); // 255 bytes in CP1252
    const QList<ParadoxRow> written = {
        {"Certificação Ação ÇÃO", "€ – “x”", -32767, -2147483647, true, at(2079, 12, 31, 23, 59, 59)},
        {null(), null(), null(), null(), null(), null()},
        {"", "a", 32767, 2147483647, false, at(1900, 1, 1, 0, 0, 0)},
        {"  espaços  ", longText, 0, 0, 1, at(2024, 2, 29, 12, 34, 56, 789)},
    };
    {
        ParadoxTable table = ParadoxTable::create(file("TIPOS.DB"), everyType());
        table.append(written);
    }
    const ParadoxTable table = ParadoxTable::open(file("TIPOS.DB"));
    EXPECT_EQ(table.fields(), everyType());
    EXPECT_EQ(table.recordCount(), 4);
    EXPECT_FALSE(table.isEncrypted());

    QList<ParadoxRow> expected = written;
    expected[2][0] = null(); // Paradox has no empty text: "" is stored and read as NULL
    expected[3][4] = true;
    const QList<ParadoxRow> read = table.readAll();
    expectRowsEqual(read, expected);
    // NULLs come back typed, so they bind as NULLs of the column's kind.
    EXPECT_EQ(read[1][5].metaType().id(), QMetaType::QDateTime);
    EXPECT_EQ(read[1][3].metaType().id(), QMetaType::Int);
}

TEST_F(ParadoxTableTest, TimestampsUsePxlibsScale) {
    struct Case {
        QDateTime when;
        const char* shown;
    };
    const Case cases[] = {{at(2079, 12, 31, 23, 59, 59), "31/12/2079 23:59:59"},
                          {at(1900, 1, 1, 0, 0, 0), "01/01/1900 00:00:00"},
                          {at(1, 1, 1, 0, 0, 0), "01/01/0001 00:00:00"},
                          {at(2005, 6, 15, 8, 5, 30), "15/06/2005 08:05:30"}};
    pxdoc_t* doc = PX_new();
    for (const Case& c : cases) {
        const QDate d = c.when.date();
        const QTime t = c.when.time();
        pxval_t* reference =
            PX_make_timestamp(doc, d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
        EXPECT_EQ(ParadoxTable::timestampOf(d, t), reference->value.dval) << c.shown;
        FREE_PXVAL(doc, reference);
        EXPECT_EQ(ParadoxTable::dateTimeOfTimestamp(ParadoxTable::timestampOf(d, t)), c.when);
    }
    PX_delete(doc);

    // What pxlib itself reads from the file, field by field.
    ParadoxTable table =
        ParadoxTable::create(file("DATAS.DB"), {ParadoxField::of("Quando", ParadoxField::Timestamp)});
    for (const Case& c : cases)
        table.appendRow(ParadoxRow{c.when});
    table.close();
    doc = PX_new();
    ASSERT_EQ(PX_open_file(doc, QFile::encodeName(file("DATAS.DB")).constData()), 0);
    char record[8];
    int i = 0;
    for (const Case& c : cases) {
        ASSERT_NE(PX_get_record(doc, i++, record), nullptr);
        double value = 0;
        ASSERT_EQ(PX_get_data_double(doc, record, 8, &value), 1);
        char* shown = PX_timestamp2string(doc, value, "d/m/Y H:i:s");
        EXPECT_STREQ(shown, c.shown);
        doc->free(doc, shown);
    }
    PX_close(doc);
    PX_delete(doc);
}

TEST_F(ParadoxTableTest, TimestampAcceptsTheDatabasesTextAndDates) {
    ParadoxTable table =
        ParadoxTable::create(file("T.DB"), {ParadoxField::of("Quando", ParadoxField::Timestamp)});
    table.append({{"2023-04-05T06:07:08.009"}, {"2023-04-05 06:07:08"}, {"2023-04-05"}, {QDate(2023, 4, 5)}});
    expectRowsEqual(table.readAll(), {{at(2023, 4, 5, 6, 7, 8, 9)},
                                      {at(2023, 4, 5, 6, 7, 8)},
                                      {at(2023, 4, 5, 0, 0, 0)},
                                      {at(2023, 4, 5, 0, 0, 0)}});
}

TEST_F(ParadoxTableTest, RecordsReadForCopiesGiveTheDatabasesValues) {
    ParadoxTable table = ParadoxTable::create(
        file("T.DB"),
        {ParadoxField::of("Quando", ParadoxField::Timestamp), ParadoxField::alpha("Nome", 12),
         ParadoxField::of("N", ParadoxField::Short), ParadoxField::of("L", ParadoxField::Long),
         ParadoxField::of("B", ParadoxField::Logical), ParadoxField::of("D", ParadoxField::Date),
         ParadoxField::of("H", ParadoxField::Time), ParadoxField::of("R", ParadoxField::Number)});
    // The first hour of a daylight-saving change in Brazil (it does not exist there) stays as written.
    table.append({{at(2023, 4, 5, 6, 7, 8, 9), QString::fromUtf8("Ação €‰"), -5, 70000, true,
                   QDate(2024, 2, 29), QTime(23, 59, 58, 7), 2.5},
                  {QVariant(), QVariant(), QVariant(), QVariant(), false, QVariant(), QVariant(), QVariant()},
                  {"0001-01-01T00:00:00.000", "a", 0, 0, QVariant(), QDate(1, 1, 1), QTime(0, 0), 0.0},
                  {"9999-12-31T23:59:59.999", "b", 1, 1, true, QDate(9999, 12, 31), QTime(0, 0, 0, 1), -1.0},
                  {"2018-11-04T00:30:00.000", "c", 1, 1, true, QVariant(), QVariant(), QVariant()}});
    QStringList seen;
    table.forEachRecord([&](const ParadoxTable::FieldValue* values) {
        QStringList row;
        for (int i = 0; i < 8; ++i) {
            const ParadoxTable::FieldValue& v = values[i];
            switch (v.kind) {
            case ParadoxTable::FieldValue::Null:
                row << "<null>";
                break;
            case ParadoxTable::FieldValue::Integer:
                row << QString::number(v.integer);
                break;
            case ParadoxTable::FieldValue::Real:
                row << QString::number(v.real);
                break;
            case ParadoxTable::FieldValue::Text:
                row << QString::fromUtf8(v.text, v.length);
                break;
            }
        }
        seen << row.join('|');
    });
    // A logical false is a value (0), not NULL; zero numbers are values too.
    EXPECT_EQ(seen,
              (QStringList{
                  QString::fromUtf8("2023-04-05T06:07:08.009|Ação €‰|-5|70000|1|2024-02-29T00:00:00.000|"
                                    "23:59:58.007|2.5"),
                  "<null>|<null>|<null>|<null>|0|<null>|<null>|<null>",
                  "0001-01-01T00:00:00.000|a|0|0|<null>|0001-01-01T00:00:00.000|00:00:00.000|0",
                  "9999-12-31T23:59:59.999|b|1|1|1|9999-12-31T00:00:00.000|00:00:00.001|-1",
                  "2018-11-04T00:30:00.000|c|1|1|1|<null>|<null>|<null>",
              }));
}

TEST_F(ParadoxTableTest, TextIsStoredInWindows1252) {
    ParadoxTable table = ParadoxTable::create(file("TEXTO.DB"), {ParadoxField::alpha("Texto", 20)});
    table.append({{"Ação €“”"}, {"Ω中x"}});
    table.close();
    EXPECT_EQ(rawAlpha(file("TEXTO.DB"), 0, 0, 20), QByteArray("A\xE7\xE3o \x80\x93\x94"));
    // Characters the code page lacks become '?'.
    EXPECT_EQ(rawAlpha(file("TEXTO.DB"), 1, 0, 20), QByteArray("??x"));
    expectRowsEqual(ParadoxTable::open(file("TEXTO.DB")).readAll(), {{"Ação €“”"}, {"??x"}});
}

TEST_F(ParadoxTableTest, BadValuesAreRefusedBeforeAnyRowIsWritten) {
    struct Case {
        const char* what;
        ParadoxRow row;
        const char* inMessage;
    };
    const Case cases[] = {
        {"alpha too long",
         {QString(31, QLatin1Char('a')), null(), null(), null(), null(), null()},
         "Nome tem 31 caracteres e o campo comporta 30"},
        {"accented alpha too long",
         {null(), QString(256, QChar(0xE7)), null(), null(), null(), null()},
         "Texto tem 256"},
        {"short lowest (reads as NULL)", {null(), null(), -32768, null(), null(), null()}, "Curto"},
        {"short too big", {null(), null(), 40000, null(), null(), null()}, "Curto"},
        {"long lowest (reads as NULL)",
         {null(), null(), null(), qlonglong(-2147483648LL), null(), null()},
         "Longo"},
        {"long not a number", {null(), null(), null(), "doze", null(), null()}, "Longo"},
        {"logical text", {null(), null(), null(), null(), "talvez", null()}, "Ativo"},
        {"timestamp text", {null(), null(), null(), null(), null(), "31/12/2079"}, "Quando"},
        {"missing column", {"a", "b"}, "2 valores"},
    };
    ParadoxTable table = ParadoxTable::create(file("RECUSA.DB"), everyType());
    for (const Case& c : cases) {
        try {
            table.append({{"valida", null(), 1, 1, true, null()}, c.row});
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const DbError& error) {
            EXPECT_TRUE(error.message().contains(c.inMessage)) << c.what << ": " << error.what();
            EXPECT_TRUE(error.message().contains("RECUSA.DB")) << c.what;
        }
        EXPECT_EQ(table.recordCount(), 0) << c.what;
    }
    table.appendRow(ParadoxRow{"depois", null(), 1, 1, true, null()});
    EXPECT_EQ(table.recordCount(), 1);
}

TEST_F(ParadoxTableTest, RowsAppendAcrossSessions) {
    {
        ParadoxTable table = ParadoxTable::create(
            file("SESSOES.DB"), {ParadoxField::of("N", ParadoxField::Long), ParadoxField::alpha("T", 255)});
        for (int i = 0; i < 40; ++i)
            table.appendRow(ParadoxRow{i, QString::number(i)});
    }
    {
        ParadoxTable table = ParadoxTable::open(file("SESSOES.DB"));
        QList<ParadoxRow> more;
        for (int i = 40; i < 100; ++i)
            more.append({i, QString::number(i)});
        table.append(more);
    }
    const QList<ParadoxRow> rows = ParadoxTable::open(file("SESSOES.DB")).readAll();
    ASSERT_EQ(rows.size(), 100);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(rows[i], (ParadoxRow{i, QString::number(i)}));
}

TEST_F(ParadoxTableTest, OtherParadoxTypesRoundTrip) {
    const QList<ParadoxField> fields = {
        ParadoxField::of("Dia", ParadoxField::Date), ParadoxField::of("Hora", ParadoxField::Time),
        ParadoxField::of("Numero", ParadoxField::Number), ParadoxField::of("Moeda", ParadoxField::Currency),
        ParadoxField::of("Contador", ParadoxField::AutoInc)};
    const QList<ParadoxRow> rows = {{QDate(2079, 12, 31), QTime(0, 0), -1.5, 1234.56, 1},
                                    {null(), null(), null(), null(), null()},
                                    {QDate(1900, 1, 1), QTime(23, 59, 59, 999), 0.0, -0.01, 2147483647}};
    ParadoxTable::create(file("OUTROS.DB"), fields).append(rows);
    const ParadoxTable table = ParadoxTable::open(file("OUTROS.DB"));
    EXPECT_EQ(table.fields(), fields);
    expectRowsEqual(table.readAll(), rows);
}

TEST_F(ParadoxTableTest, PasswordEncryptsAndReadsBackWithoutIt) {
    const QList<ParadoxRow> rows = {
        {"Certificado secreto", "texto", 7, 70000, true, at(2020, 5, 4, 3, 2, 1)}};
    ParadoxTable::create(file("ABERTA.DB"), everyType()).append(rows);
    ParadoxTable::create(file("FECHADA.DB"), everyType(), "pavrolitenc").append(rows);

    QFile plain(file("ABERTA.DB"));
    QFile encrypted(file("FECHADA.DB"));
    ASSERT_TRUE(plain.open(QIODevice::ReadOnly));
    ASSERT_TRUE(encrypted.open(QIODevice::ReadOnly));
    EXPECT_TRUE(plain.readAll().contains("Certificado secreto"));
    EXPECT_FALSE(encrypted.readAll().contains("Certificado secreto"));

    const ParadoxTable opened = ParadoxTable::open(file("FECHADA.DB"));
    EXPECT_TRUE(opened.isEncrypted());
    EXPECT_FALSE(ParadoxTable::open(file("ABERTA.DB")).isEncrypted());
    expectRowsEqual(opened.readAll(), rows);
}

TEST_F(ParadoxTableTest, FileProblemsAreClearErrors) {
    struct Case {
        const char* what;
        std::function<void()> action;
        const char* inMessage;
    };
    QFile garbage(file("LIXO.DB"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(5000, 'z'));
    garbage.close();
    ParadoxTable::create(file("EXISTE.DB"), everyType()).close();
    const Case cases[] = {
        {"missing", [&] { ParadoxTable::open(file("NAOHA.DB")); }, "NAOHA.DB: arquivo não encontrado"},
        {"not Paradox", [&] { ParadoxTable::open(file("LIXO.DB")); },
         "LIXO.DB: o arquivo não é uma tabela Paradox"},
        {"exists", [&] { ParadoxTable::create(file("EXISTE.DB"), everyType()); },
         "EXISTE.DB: o arquivo já existe"},
        {"no directory", [&] { ParadoxTable::create(file("naoha/X.DB"), everyType()); },
         "não foi possível criar"},
        {"alpha of 256", [&] { ParadoxTable::create(file("A.DB"), {ParadoxField::alpha("A", 256)}); },
         "de 1 a 255"},
        {"alpha of 0", [&] { ParadoxTable::create(file("B.DB"), {ParadoxField::alpha("A", 0)}); },
         "de 1 a 255"},
        {"no fields", [&] { ParadoxTable::create(file("C.DB"), {}); }, "nenhum campo"},
    };
    for (const Case& c : cases) {
        try {
            c.action();
            ADD_FAILURE() << c.what << ": no error";
        } catch (const DbError& error) {
            EXPECT_TRUE(error.message().contains(c.inMessage)) << c.what << ": " << error.what();
        }
    }
    EXPECT_FALSE(QFile::exists(file("A.DB")));
}

// The table the damages start from: 14-byte records, so 145 in each 2 KB block, and 400 rows in
// three blocks.
QList<ParadoxField> threeFields() {
    return {ParadoxField::alpha("Nome", 8), ParadoxField::of("Numero", ParadoxField::Long),
            ParadoxField::of("Quantos", ParadoxField::Short)};
}

QList<ParadoxRow> fourHundredRows() {
    QList<ParadoxRow> rows;
    for (int i = 0; i < 400; ++i)
        rows.append({QStringLiteral("n%1").arg(i), i * 7, i % 300});
    return rows;
}

TEST_F(ParadoxTableTest, DamagedHeadersAreRefusedNamingTheFileBeforeAnyRecordIsRead) {
    const QString sound = file("INTEIRA.DB");
    ParadoxTable::create(sound, threeFields()).append(fourHundredRows());
    // The layout the damages are made for.
    ASSERT_EQ(DamagedParadox::le16(sound, DamagedParadox::FileBlocks), 3);
    ASSERT_EQ(QFileInfo(sound).size(), 2048 + 3 * 2048);
    expectRowsEqual(ParadoxTable::open(sound).readAll(), fourHundredRows());

    int number = 0;
    for (const DamagedParadox::Damage& damage : DamagedParadox::damagesOfThreeBlockTable()) {
        const QString path = file(QStringLiteral("AVARIA%1.DB").arg(++number));
        ASSERT_TRUE(QFile::copy(sound, path));
        damage.apply(path);
        try {
            const ParadoxTable table = ParadoxTable::open(path);
            int read = 0;
            table.forEachRecord([&read](const ParadoxTable::FieldValue*) { ++read; });
            table.readAll();
            ADD_FAILURE() << damage.name << ": opened, " << read << " records read";
        } catch (const DbError& error) {
            const QString expected =
                QStringLiteral("Tabela Paradox %1: o arquivo não é uma tabela Paradox válida: ")
                    .arg(QDir::toNativeSeparators(path));
            EXPECT_TRUE(error.message().startsWith(expected)) << damage.name << ": " << error.what();
            EXPECT_TRUE(error.message().contains(damage.inMessage)) << damage.name << ": " << error.what();
        }
    }
}

TEST_F(ParadoxTableTest, AProtectedTableOfSeveralBlocksPassesTheBlockCheck) {
    // The data blocks, their headers included, are encrypted: the check reads them through pxlib.
    ParadoxTable::create(file("PROTEGIDA.DB"), threeFields(), ParadoxTable::SenhaTabelas)
        .append(fourHundredRows());
    {
        const ParadoxTable table = ParadoxTable::open(file("PROTEGIDA.DB"));
        ASSERT_TRUE(table.isEncrypted());
        expectRowsEqual(table.readAll(), fourHundredRows());
    }
    // The blocks' own counts were read, decrypted: one record more in the header is told apart.
    DamagedParadox::putLe32(file("PROTEGIDA.DB"), DamagedParadox::NumRecords, 401);
    try {
        ParadoxTable::open(file("PROTEGIDA.DB"));
        ADD_FAILURE() << "opened";
    } catch (const DbError& error) {
        EXPECT_TRUE(
            error.message().contains("o cabeçalho indica 401 registros e os blocos de dados contêm 400"))
            << error.what();
    }
}

} // namespace
