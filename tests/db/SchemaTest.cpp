// The schema of CapaCertific as the other modules rely on it: keys, column checks, the dialect of
// the statements, the replicas, the indexes of the cross-key lookups, and the event numbering.

#include "DbError.h"
#include "EventSequence.h"
#include "Sql.h"
#include "TestHome.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariantMap>
#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Results are compared as standard strings, which GoogleTest prints readably.
using Texts = std::vector<std::string>;

const QString Stamp = QStringLiteral("2024-05-06T07:08:09.010");

// INSERT of the given columns, values bound by name. Failures are DbErrors, as everywhere.
void insertRow(const QSqlDatabase& db, const QString& table, const QVariantMap& row) {
    QStringList names, params;
    for (auto it = row.cbegin(); it != row.cend(); ++it) {
        names << it.key();
        params << QLatin1Char(':') + it.key();
    }
    QSqlQuery query = Sql::prepare(
        db,
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, names.join(", "), params.join(", ")));
    for (auto it = row.cbegin(); it != row.cend(); ++it)
        query.bindValue(QLatin1Char(':') + it.key(), it.value());
    Sql::exec(query);
}

// The message of the DbError the insert throws; empty when it succeeds.
std::string insertError(const QSqlDatabase& db, const QString& table, const QVariantMap& row) {
    try {
        insertRow(db, table, row);
    } catch (const DbError& e) {
        return e.message().toStdString();
    }
    return {};
}

// The first column of every row, as text.
Texts column(const QSqlDatabase& db, const QString& sql, Sql::Params params = {}) {
    QSqlQuery query = Sql::exec(db, sql, params);
    Texts values;
    while (query.next())
        values.push_back(query.value(0).toString().toStdString());
    return values;
}

// A row with every required column of the table filled; a replica takes its live table's row.
QVariantMap validRow(const QString& table) {
    const QString live = table.startsWith(QLatin1String("REP_")) ? table.mid(4) : table;
    const QVariantMap product = {{"MarcaProd", "Marca"}, {"ModeloProd", "Modelo"}, {"Importado", 0}};
    QVariantMap row;
    if (live == "EMPRESA")
        row = {{"CodigoPais", "BR"},
               {"IdEmpresa", "12345678000199"},
               {"DthUltAtualiz", Stamp},
               {"UsuResp", "ana"}};
    else if (live == "CERTIFIC")
        row = {{"SiglaCertificador", "OCC"}, {"NumCertif", "C-1"}};
    else if (live == "PRODUTO")
        row = {{"DthUltAtualiz", Stamp}, {"UsuResp", "ana"}};
    else if (live == "TIPO")
        row = {{"SiglaCertificador", "OCC"},
               {"NumCertif", "C-1"},
               {"StatusProduto", "A"},
               {"DthUltAtualiz", Stamp},
               {"UsuResp", "ana"}};
    else if (live == "STATUS_C")
        row = {{"SiglaCertificador", "OCC"}, {"NumCertif", "C-1"}, {"SeqEvento", 1}};
    else if (live == "USU_LOCAL")
        row = {{"SiglaUsu", "joao"}, {"SiglaCertificador", "OCC"}};
    else if (live == "PAPEL_EMP")
        row = {{"IdPapelEmp", 1}, {"UsuResp", "kav"}};
    else if (live == "DOC_NORMATIVOS")
        row = {{"IdDocNorm", 1}};
    else if (live != "CONTROLE_AUX")
        ADD_FAILURE() << "no valid row for " << table.toStdString();
    if (live == "PRODUTO" || live == "TIPO")
        row.insert(product);
    return row;
}

class Schema : public ::testing::Test {
protected:
    TestHome home;
    QSqlDatabase db = home.openDatabase();

    void certificate(const QString& number, bool approved, const QString& emission = Stamp) {
        insertRow(db, "CERTIFIC",
                  {{"SiglaCertificador", "OCC"},
                   {"NumCertif", number},
                   {"Aprovado", approved},
                   {"DataEmissao", emission}});
    }
    void typeLine(const QString& table, const QString& number, const QString& model) {
        insertRow(db, table,
                  {{"SiglaCertificador", "OCC"},
                   {"NumCertif", number},
                   {"MarcaProd", "Marca"},
                   {"ModeloProd", model},
                   {"Importado", 0},
                   {"StatusProduto", "A"},
                   {"DthUltAtualiz", Stamp},
                   {"UsuResp", "ana"}});
    }
    void event(const QString& table, const QString& number, int seq) {
        insertRow(
            db, table,
            {{"SiglaCertificador", "OCC"}, {"NumCertif", number}, {"SeqEvento", seq}, {"Evento", "INC"}});
    }
};

// --- keys -----------------------------------------------------------------------------------------

TEST_F(Schema, DuplicateCompanyIsAKeyViolationAndLeavesTheStoredRow) {
    QVariantMap first = validRow("EMPRESA");
    first["RazSocialEmp"] = "Primeira Ltda";
    insertRow(db, "EMPRESA", first);

    QVariantMap second = first;
    second["RazSocialEmp"] = "Segunda Ltda";
    try {
        insertRow(db, "EMPRESA", second);
        FAIL() << "the duplicate was stored";
    } catch (const DbError& e) {
        EXPECT_EQ(e.message().toStdString(), "Key violation.");
        EXPECT_TRUE(e.isKeyViolation());
    }
    EXPECT_EQ(column(db, "SELECT RazSocialEmp FROM EMPRESA"), Texts{"Primeira Ltda"});
}

TEST_F(Schema, DocumentedKeysRefuseDuplicatesAndAcceptOtherKeys) {
    struct Case {
        QString table;
        QString otherColumn; // a key column whose change makes a different key
        QVariant otherValue;
    };
    const Case cases[] = {
        {"CERTIFIC", "NumCertif", "C-2"},   {"REP_CERTIFIC", "SiglaCertificador", "OUTRA"},
        {"TIPO", "Importado", 1},           {"STATUS_C", "SeqEvento", 2},
        {"USU_LOCAL", "SiglaUsu", "outro"}, // a login name exists once, whatever the acronym
        {"PAPEL_EMP", "IdPapelEmp", 2},     {"REP_EMPRESA", "CodigoPais", "AR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table.toStdString());
        const QVariantMap row = validRow(c.table);
        insertRow(db, c.table, row);
        EXPECT_EQ(insertError(db, c.table, row), "Key violation.");
        QVariantMap other = row;
        other[c.otherColumn] = c.otherValue;
        EXPECT_EQ(insertError(db, c.table, other), "");
    }
}

TEST_F(Schema, TextKeysAreCaseSensitiveLikeTheStoredValues) {
    // Duplicate checks compare UCase on both sides; the key itself keeps the text as typed.
    insertRow(db, "CERTIFIC", {{"SiglaCertificador", "OCC"}, {"NumCertif", "abc"}});
    EXPECT_EQ(insertError(db, "CERTIFIC", {{"SiglaCertificador", "OCC"}, {"NumCertif", "ABC"}}), "");
    EXPECT_EQ(column(db, "SELECT count(*) FROM CERTIFIC WHERE UCase(NumCertif) = UCase('Abc')"), Texts{"2"});
}

// --- column checks --------------------------------------------------------------------------------

struct LengthCase {
    QString table;
    QString column;
    int limit;
    QChar fill;
};

void PrintTo(const LengthCase& c, std::ostream* os) {
    *os << (c.table + "." + c.column).toStdString() << " " << c.limit;
}

class SchemaLength : public Schema, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(SchemaLength, ExactlyTheLimitIsStoredOneMoreIsRefused) {
    const LengthCase& c = GetParam();
    QVariantMap row = validRow(c.table);

    row[c.column] = QString(c.limit + 1, c.fill);
    const std::string error = insertError(db, c.table, row);
    const QString name = QStringLiteral("%1.%2: at most %3 character").arg(c.table, c.column).arg(c.limit);
    EXPECT_NE(error.find(name.toStdString()), std::string::npos) << error;

    const QString fits(c.limit, c.fill);
    row[c.column] = fits;
    EXPECT_EQ(insertError(db, c.table, row), "");
    EXPECT_EQ(column(db, QStringLiteral("SELECT %1 FROM %2 WHERE %1 IS NOT NULL").arg(c.column, c.table)),
              Texts{fits.toStdString()});
}

INSTANTIATE_TEST_SUITE_P(Schema, SchemaLength,
                         ::testing::Values(LengthCase{"EMPRESA", "NomFantasia", 40, QChar(0x00E7)}, // "ç"
                                           LengthCase{"CERTIFIC", "NumCertif", 30, QLatin1Char('9')},
                                           LengthCase{"USU_LOCAL", "SenhaUsu", 15, QChar(0x00C3)}, // "Ã"
                                           LengthCase{"REP_EMPRESA", "CPF", 11, QLatin1Char('1')},
                                           LengthCase{"CONTROLE_AUX", "NomeArquivo", 21, QLatin1Char('x')},
                                           LengthCase{"STATUS_C", "Justificativa", 255, QChar(0x00E9)}, // "é"
                                           LengthCase{"TIPO", "StatusProduto", 1, QLatin1Char('A')}));

struct RequiredCase {
    QString table;
    QString column;
};

void PrintTo(const RequiredCase& c, std::ostream* os) {
    *os << (c.table + "." + c.column).toStdString();
}

class SchemaRequired : public Schema, public ::testing::WithParamInterface<RequiredCase> {};

TEST_P(SchemaRequired, NullIsRefusedNamingTheColumn) {
    const RequiredCase& c = GetParam();
    QVariantMap row = validRow(c.table);
    ASSERT_EQ(insertError(db, c.table, row), "");
    Sql::execute(db, QStringLiteral("DELETE FROM %1").arg(c.table));

    row[c.column] = QVariant(); // NULL
    EXPECT_EQ(insertError(db, c.table, row),
              QStringLiteral("NOT NULL constraint failed: %1.%2").arg(c.table, c.column).toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Schema, SchemaRequired,
    ::testing::Values(RequiredCase{"EMPRESA", "UsuResp"}, RequiredCase{"EMPRESA", "DthUltAtualiz"},
                      RequiredCase{"CERTIFIC", "NumCertif"}, RequiredCase{"CERTIFIC", "Completo"},
                      RequiredCase{"TIPO", "StatusProduto"}, RequiredCase{"PRODUTO", "Importado"},
                      RequiredCase{"STATUS_C", "SeqEvento"}, RequiredCase{"PAPEL_EMP", "UsuResp"},
                      RequiredCase{"REP_TIPO", "MarcaProd"}, RequiredCase{"USU_LOCAL", "SiglaUsu"}));

struct ValueCase {
    const char* label;
    QString table;
    QString column;
    QVariant value;
    bool accepted;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.label << ": " << (c.table + "." + c.column).toStdString();
}

class SchemaValue : public Schema, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(SchemaValue, CheckAcceptsOrRefusesNamingTheColumn) {
    const ValueCase& c = GetParam();
    QVariantMap row = validRow(c.table);
    row[c.column] = c.value;
    const std::string error = insertError(db, c.table, row);
    const QString refusal = QStringLiteral("CHECK constraint failed: %1.%2: ").arg(c.table, c.column);
    if (c.accepted)
        EXPECT_EQ(error, "") << c.label;
    else
        EXPECT_EQ(error.rfind(refusal.toStdString(), 0), 0u) << c.label << ": " << error;
}

INSTANTIATE_TEST_SUITE_P(
    Schema, SchemaValue,
    ::testing::Values(
        ValueCase{"smallint top", "PRODUTO", "Importado", 32767, true},
        ValueCase{"smallint over", "PRODUTO", "Importado", 32768, false},
        ValueCase{"smallint bottom", "PRODUTO", "Importado", -32768, true},
        ValueCase{"smallint under", "PRODUTO", "Importado", -32769, false},
        ValueCase{"smallint fraction", "PRODUTO", "Importado", 1.5, false},
        ValueCase{"smallint letters", "PRODUTO", "Importado", "abc", false},
        ValueCase{"smallint digits as text", "PRODUTO", "Importado", "1", true},
        ValueCase{"smallint empty text", "PRODUTO", "Importado", "", false},
        ValueCase{"optional smallint null", "CERTIFIC", "IdClasseProd", QVariant(), true},
        ValueCase{"integer top", "DOC_NORMATIVOS", "IdDocNorm", 2147483647, true},
        ValueCase{"integer over", "DOC_NORMATIVOS", "IdDocNorm", qlonglong(2147483648LL), false},
        ValueCase{"integer under", "DOC_NORMATIVOS", "IdDocNorm", qlonglong(-2147483649LL), false},
        ValueCase{"smallint in a replica", "REP_CERTIFIC", "IdClasseProd", 40000, false},
        ValueCase{"boolean one", "CERTIFIC", "Aprovado", 1, true},
        ValueCase{"boolean C++ true", "CERTIFIC", "Aprovado", true, true},
        ValueCase{"boolean two", "CERTIFIC", "Aprovado", 2, false},
        ValueCase{"boolean minus one", "CERTIFIC", "Completo", -1, false},
        ValueCase{"boolean letter", "CERTIFIC", "Aprovado", "S", false},
        ValueCase{"optional boolean null", "USU_LOCAL", "AcManBase", QVariant(), true},
        ValueCase{"boolean two in a replica", "REP_USU_LOCAL", "AcManBase", 2, false},
        ValueCase{"date-time text", "EMPRESA", "DthUltAtualiz", Stamp, true},
        ValueCase{"day first", "EMPRESA", "DthUltAtualiz", "06/05/2024", false},
        ValueCase{"date without time", "EMPRESA", "DthUltAtualiz", "2024-05-06", false},
        ValueCase{"blank separator", "EMPRESA", "DthUltAtualiz", "2024-05-06 07:08:09.010", false},
        ValueCase{"no milliseconds", "EMPRESA", "DthUltAtualiz", "2024-05-06T07:08:09", false},
        ValueCase{"with a zone", "EMPRESA", "DthUltAtualiz", "2024-05-06T07:08:09.010Z", false},
        ValueCase{"a number", "CERTIFIC", "DataValid", 20240506, false},
        ValueCase{"date in a replica", "REP_CERTIFIC", "DataValid", "2024-05-06", false}));

TEST_F(Schema, BoundDateTimeIsStoredAsIsoTextWithMilliseconds) {
    const QDateTime moment(QDate(2031, 12, 24), QTime(23, 59, 58, 7));
    QVariantMap row = validRow("EMPRESA");
    row["DthUltAtualiz"] = moment;
    insertRow(db, "EMPRESA", row);
    EXPECT_EQ(column(db, "SELECT DthUltAtualiz FROM EMPRESA"), Texts{"2031-12-24T23:59:58.007"});
    EXPECT_EQ(Sql::scalar(db, "SELECT DthUltAtualiz FROM EMPRESA").toDateTime(), moment);

    // A day without a time, as Sql::dateValue stores it.
    Sql::execute(db, "UPDATE EMPRESA SET DthUltAtualiz = :d", {{":d", Sql::dateValue(QDate(2030, 1, 2))}});
    EXPECT_EQ(column(db, "SELECT DthUltAtualiz FROM EMPRESA"), Texts{"2030-01-02T00:00:00.000"});
}

TEST_F(Schema, CertificateWithoutCompletoAndAprovadoStoresFalse) {
    insertRow(db, "CERTIFIC", {{"SiglaCertificador", "OCC"}, {"NumCertif", "C-1"}});
    insertRow(db, "REP_CERTIFIC", {{"SiglaCertificador", "OCC"}, {"NumCertif", "C-1"}});
    for (const char* table : {"CERTIFIC", "REP_CERTIFIC"}) {
        QSqlQuery q =
            Sql::exec(db, QStringLiteral("SELECT Completo, Aprovado, typeof(Aprovado) FROM %1").arg(table));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), 0) << table;
        EXPECT_EQ(q.value(1).toInt(), 0) << table;
        EXPECT_EQ(q.value(2).toString(), "integer") << table;
    }
}

// --- the dialect of the statements ----------------------------------------------------------------

TEST_F(Schema, BooleanLiteralsAndBoundBoolsSelectAndUpdateTheRightRows) {
    certificate("A", true);
    certificate("B", false);
    certificate("C", true);

    for (const char* literal : {"True", "TRUE", "true"})
        EXPECT_EQ(
            column(db, QStringLiteral("SELECT NumCertif FROM CERTIFIC C WHERE C.Aprovado = %1 ORDER BY 1")
                           .arg(literal)),
            (Texts{"A", "C"}))
            << literal;
    EXPECT_EQ(column(db, "SELECT NumCertif FROM CERTIFIC C WHERE C.Aprovado = False"), Texts{"B"});
    EXPECT_EQ(column(db, "SELECT NumCertif FROM CERTIFIC WHERE Aprovado = :a ORDER BY 1", {{":a", true}}),
              (Texts{"A", "C"}));
    EXPECT_EQ(column(db, "SELECT NumCertif FROM CERTIFIC WHERE Aprovado = :a", {{":a", false}}), Texts{"B"});

    EXPECT_EQ(Sql::execute(db, "UPDATE CERTIFIC SET APROVADO = 0 WHERE NumCertif = 'A'"), 1);
    EXPECT_EQ(column(db, "SELECT NumCertif FROM CERTIFIC WHERE Aprovado = True"), Texts{"C"});
    EXPECT_EQ(Sql::execute(db, "UPDATE CERTIFIC SET Aprovado = :a WHERE NumCertif = 'B'", {{":a", true}}), 1);
    EXPECT_EQ(column(db, "SELECT NumCertif FROM CERTIFIC WHERE Aprovado = TRUE ORDER BY 1"),
              (Texts{"B", "C"}));
    EXPECT_EQ(column(db, "SELECT DISTINCT typeof(Aprovado) FROM CERTIFIC"), Texts{"integer"});
}

TEST_F(Schema, NestedJoinOfReplicaAndLiveFindsTheRemovedLinesOfApprovedCertificates) {
    certificate("C1", true);
    certificate("C2", false);
    typeLine("REP_TIPO", "C1", "M1");
    typeLine("REP_TIPO", "C1", "M2");
    typeLine("REP_TIPO", "C2", "M3");
    typeLine("TIPO", "C1", "M1");

    const QString sql =
        "SELECT RT.NumCertif, RT.ModeloProd "
        "FROM (REP_TIPO AS RT left JOIN TIPO AS T ON (RT.SiglaCertificador = T.SiglaCertificador) "
        "AND (RT.NumCertif = T.NumCertif) AND (RT.MarcaProd = T.MarcaProd) AND (RT.ModeloProd = "
        "T.ModeloProd) "
        "AND (RT.Importado = T.Importado)) "
        "INNER JOIN Certific as C ON (RT.NumCertif = C.NumCertif) "
        "WHERE T.NumCertif Is Null AND C.Aprovado = True";
    QSqlQuery q = Sql::exec(db, sql);
    Texts rows;
    while (q.next())
        rows.push_back((q.value(0).toString() + "/" + q.value(1).toString()).toStdString());
    EXPECT_EQ(rows, Texts{"C1/M2"});
}

TEST_F(Schema, AccreditationJoinOffersOnlyTheAccreditedClasses) {
    insertRow(db, "CONFIG_LOCAL", {{"SiglaCertificador", "OCC"}});
    for (int id = 1; id <= 3; ++id)
        insertRow(db, "CLASSE_P",
                  {{"IdClasseProd", id}, {"NomClasseProd", QStringLiteral("Classe %1").arg(id)}});
    insertRow(db, "CREDENCIAMENTO",
              {{"SiglaCertificador", "OCC"}, {"IdClasseCertif", "X"}, {"IdClasseProd", 1}});
    insertRow(db, "CREDENCIAMENTO",
              {{"SiglaCertificador", "OCC"}, {"IdClasseCertif", "X"}, {"IdClasseProd", 3}});
    insertRow(db, "CREDENCIAMENTO",
              {{"SiglaCertificador", "OUTRO"}, {"IdClasseCertif", "X"}, {"IdClasseProd", 2}});

    EXPECT_EQ(column(db,
                     "SELECT P.NomClasseProd FROM Classe_P P , Config_Local C, Credenciamento CC "
                     "WHERE P.IdClasseProd = CC.IdClasseProd AND C.SiglaCertificador = CC.SiglaCertificador "
                     "ORDER BY P.NomClasseProd"),
              (Texts{"Classe 1", "Classe 3"}));
}

TEST_F(Schema, TableNamesInAnyCase) {
    certificate("C1", true);
    event("Status_c", "C1", 1);
    event("STATUS_C", "C1", 2);
    event("Status_C", "C1", 3);
    EXPECT_EQ(column(db, "SELECT max(SeqEvento) as valor FROM status_c"), Texts{"3"});
    EXPECT_EQ(column(db, "SELECT Count(*) FROM Status_C WHERE NumCertif = 'C1'"), Texts{"3"});
    EXPECT_EQ(column(db, "select numcertif from certific"), Texts{"C1"});
}

TEST_F(Schema, UnionExistsOrderByPositionAndIif) {
    certificate("C1", true, "2024-03-01T00:00:00.000");
    certificate("C2", false, "2024-01-01T00:00:00.000");
    certificate("C3", false, "2024-02-01T00:00:00.000");
    insertRow(db, "REP_CERTIFIC", {{"SiglaCertificador", "OCC"}, {"NumCertif", "R9"}});
    event("STATUS_C", "C2", 1);

    EXPECT_EQ(
        column(db, "SELECT NumCertif FROM CERTIFIC UNION SELECT NumCertif FROM REP_CERTIFIC ORDER BY 1"),
        (Texts{"C1", "C2", "C3", "R9"}));
    EXPECT_EQ(column(db, "SELECT NumCertif FROM CERTIFIC C WHERE EXISTS "
                         "(SELECT * FROM STATUS_C S WHERE S.NumCertif = C.NumCertif)"),
              Texts{"C2"});
    EXPECT_EQ(column(db,
                     "SELECT NumCertif FROM CERTIFIC C WHERE NOT EXISTS "
                     "(SELECT * FROM STATUS_C S WHERE S.NumCertif = C.NumCertif) ORDER BY NumCertif DESC"),
              (Texts{"C3", "C1"}));
    EXPECT_EQ(column(db, "SELECT NumCertif, SiglaCertificador, Completo, Aprovado, DataEmissao FROM CERTIFIC "
                         "Order By 5"),
              (Texts{"C2", "C3", "C1"}));
    EXPECT_EQ(column(db, "SELECT IIF(Aprovado = True, 'Sim', 'Não') FROM CERTIFIC ORDER BY NumCertif ASC"),
              (Texts{"Sim", "Não", "Não"}));
    EXPECT_EQ(column(db,
                     "SELECT C.NumCertif FROM STATUS_C S RIGHT JOIN CERTIFIC C ON S.NumCertif = C.NumCertif "
                     "WHERE S.SeqEvento Is Null ORDER BY 1"),
              (Texts{"C1", "C3"}));
}

TEST_F(Schema, UCaseAndLikeIgnoreCaseOfAccentedLetters) {
    QVariantMap row = validRow("PRODUTO");
    row["MarcaProd"] = "Ação Forte";
    row["ModeloProd"] = "Modelo Único";
    insertRow(db, "PRODUTO", row);

    const QString byBrand = "SELECT ModeloProd FROM PRODUTO Where UCase(MarcaProd) = UCase(:m)";
    for (const char* typed : {"AÇÃO FORTE", "ação forte", "Ação Forte", "aÇãO fOrTe"})
        EXPECT_EQ(column(db, byBrand, {{":m", QString::fromUtf8(typed)}}), Texts{"Modelo Único"}) << typed;
    EXPECT_TRUE(column(db, byBrand, {{":m", "ACAO FORTE"}}).empty());

    const QString byLike = "SELECT MarcaProd FROM PRODUTO WHERE ModeloProd like :m";
    for (const char* typed : {"MODELO ÚNICO%", "modelo ú%", "%ÚNI%", "%único"})
        EXPECT_EQ(column(db, byLike, {{":m", QString::fromUtf8(typed)}}), Texts{"Ação Forte"}) << typed;
    EXPECT_TRUE(column(db, byLike, {{":m", "%unico%"}}).empty());
}

// --- signatories ----------------------------------------------------------------------------------

TEST_F(Schema, SignatoryNumbersAreGivenByTheDatabaseAndNeverReused) {
    const QString insert =
        "Insert into signatarios (signatario,SiglaCertificador,Default_s) values(:sig,:Sigla,:Defa)";
    auto add = [&](const QString& name) {
        Sql::execute(db, insert, {{":sig", name}, {":Sigla", "OCC"}, {":Defa", "N"}});
        return Sql::scalar(db, "SELECT ID_Signatario FROM SIGNATARIOS WHERE Signatario = :s", {{":s", name}})
            .toInt();
    };
    const int first = add("Ana");
    const int second = add("Bruno");
    EXPECT_GT(first, 0);
    EXPECT_EQ(second, first + 1);

    Sql::execute(db, "DELETE FROM SIGNATARIOS WHERE Signatario = 'Bruno'");
    EXPECT_EQ(add("Carla"), second + 1);
    EXPECT_EQ(insertError(db, "SIGNATARIOS", {{"ID_Signatario", first}, {"SiglaCertificador", "OCC"}}),
              "Key violation.");
}

TEST_F(Schema, ReplicaSignatoriesTakeTheNumbersOfTheBatchUnderTheCompositeKey) {
    insertRow(db, "REP_SIGNATARIOS",
              {{"ID_Signatario", 7}, {"SiglaCertificador", "OCC"}, {"Signatario", "Ana"}});
    EXPECT_EQ(insertError(db, "REP_SIGNATARIOS", {{"ID_Signatario", 7}, {"SiglaCertificador", "OCC"}}),
              "Key violation.");
    EXPECT_EQ(insertError(db, "REP_SIGNATARIOS", {{"ID_Signatario", 7}, {"SiglaCertificador", "OUTRA"}}), "");
    EXPECT_TRUE(insertError(db, "REP_SIGNATARIOS", {{"SiglaCertificador", "OCC"}}).find("NOT NULL") !=
                std::string::npos);
}

// --- layouts --------------------------------------------------------------------------------------

Texts columnNames(const QSqlDatabase& db, const QString& table) {
    return column(db, QStringLiteral("SELECT name FROM pragma_table_info('%1') ORDER BY cid").arg(table));
}

TEST_F(Schema, EventAndLinkTablesKeepTheirColumnOrder) {
    EXPECT_EQ(columnNames(db, "STATUS_L"),
              (Texts{"NumLote", "SiglaCertificador", "NumCertif", "MarcaProd", "ModeloProd", "Importado",
                     "SeqEvento", "Evento", "Justificativa", "HistoricoSis", "Status_L", "DthStatus_L",
                     "DthUltAtualiz", "UsuResp"}));
    EXPECT_EQ(columnNames(db, "STATUS_DNS"),
              (Texts{"IdDocNorm", "IdClasseCertif", "IdClasseServ", "SiglaCertificador", "NumCertif",
                     "CodigoPais", "IdEmpresa", "SeqEvento", "Evento", "Justificativa", "HistoricoSis",
                     "Status_DNS", "DthStatusDNS", "DthUltAtualiz", "UsuResp"}));
    EXPECT_EQ(columnNames(db, "DOC_NORM_LOTE"),
              (Texts{"SiglaCertificador", "NumCertif", "IdClasseCertif", "IdClasseProd", "IdDocNorm",
                     "MarcaProd", "ModeloProd", "Importado", "NumLote", "DthEntDNL", "Status_DNL",
                     "DthStatusDNL", "DthUltAtualiz", "UsuResp"}));
    const Texts history = columnNames(db, "CTR_HISTORICO");
    // The unit's serial number keeps one unit's history from justifying another unit's update.
    ASSERT_EQ(history.size(), 18u);
    EXPECT_EQ(history[13], "NumSerieProd");
    EXPECT_EQ(Texts(history.begin() + 16, history.end()), (Texts{"DthUltAtualiz", "UsuResp"}));
}

TEST_F(Schema, TextFileRegisterTakesItsColumnsPositionally) {
    Sql::execute(db,
                 "INSERT INTO CONTROLE_TXT(DATAHORAEVENTO,NOMEARQUIVO,OBS,USURESP,ENVIADOKAVOREL) "
                 "VALUES (:d, 'OC-A.TXT', 'enviado', 'ana', 'S')",
                 {{":d", QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5))}});
    Sql::execute(db, "INSERT INTO CONTROLE_TXT VALUES (:d, 'OC-B.TXT', 'importado', 'ana', 'N')",
                 {{":d", QDateTime(QDate(2024, 1, 3), QTime(3, 4, 5))}});
    EXPECT_EQ(
        column(db, "SELECT NomeArquivo || '/' || EnviadoKAVOREL FROM CONTROLE_TXT ORDER BY DataHoraEvento"),
        (Texts{"OC-A.TXT/S", "OC-B.TXT/N"}));
}

TEST_F(Schema, ControlTablesAcceptRepeatedRows) {
    // Reinstalling a version and redelivering a file each add a row to their register.
    for (int i = 0; i < 2; ++i) {
        insertRow(db, "CONTROLE_AUX",
                  {{"DataHoraVersao", Stamp},
                   {"NumeroVersao", "0000000001"},
                   {"NomeArquivo", "OC-TAB-0000000001.zip"}});
        insertRow(db, "CONTROLE",
                  {{"DataHoraEvento", Stamp}, {"NumeroRemessa", "2024050601"}, {"Evento", "PR"}});
    }
    EXPECT_EQ(column(db, "SELECT count(*) FROM CONTROLE_AUX"), Texts{"2"});
    EXPECT_EQ(column(db, "SELECT count(*) FROM CONTROLE"), Texts{"2"});
}

TEST_F(Schema, ServiceObligationsTakeFullAndPartialRows) {
    const QVariantMap full = {{"IdClasseServ", 3}, {"IdClasseCertif", "X"}, {"IdDocNorm", 10}};
    insertRow(db, "OBRIG_SERVICO", full);
    EXPECT_EQ(insertError(db, "OBRIG_SERVICO", full), "Key violation.");
    EXPECT_EQ(insertError(db, "OBRIG_SERVICO", {{"IdClasseServ", 3}}), "");
    EXPECT_EQ(insertError(db, "OBRIG_SERVICO", {{"IdClasseServ", 3}}), "");
    EXPECT_EQ(column(db, "SELECT count(*) FROM OBRIG_SERVICO"), Texts{"3"});
}

TEST_F(Schema, NewDatabaseHasTheAdministratorWithEveryPermissionAndNoConfiguration) {
    QSqlQuery q = Sql::exec(db, "SELECT * FROM USU_LOCAL");
    ASSERT_TRUE(q.next());
    const QSqlRecord r = q.record();
    EXPECT_EQ(r.value("SiglaUsu").toString(), "admin");
    EXPECT_EQ(r.value("SiglaCertificador").toString(), "");
    EXPECT_FALSE(r.isNull("SiglaCertificador"));
    EXPECT_EQ(r.value("NomeUsu").toString(), "Administrador");
    EXPECT_TRUE(r.isNull("SenhaUsu"));
    for (const char* permission : {"AcConfigOCC", "AcConfigDir", "AcCadastraUsu", "AcManBase",
                                   "AcContRemessas", "AcAtualTabAux", "AcAprovCertific"})
        EXPECT_EQ(r.value(permission).toInt(), 1) << permission;
    EXPECT_FALSE(q.next());
    EXPECT_EQ(column(db, "SELECT count(*) FROM CONFIG_LOCAL"), Texts{"0"});
}

// --- replicas -------------------------------------------------------------------------------------

const char* const ReplicatedTables[] = {
    "CERTIFIC",
    "EMPRESA",
    "EMP_CERT",
    "EVENTO_EMP",
    "STATUS_C",
    "PRODUTO",
    "TIPO",
    "STATUS_T",
    "LOTE",
    "STATUS_L",
    "UNIDADE",
    "STATUS_U",
    "SERVICO",
    "STATUS_S",
    "DOC_NORM_CERT_PRODUTO",
    "DOC_NORM_CERT_SERVICO",
    "DOC_NORM_TIPO",
    "DOC_NORM_LOTE",
    "DOC_NORM_UNIDADE",
    "DOC_NORM_SERV",
    "STATUS_DNCP",
    "STATUS_DNCS",
    "STATUS_DNT",
    "STATUS_DNL",
    "STATUS_DNU",
    "STATUS_DNS",
    "SIGNATARIOS",
    "USU_LOCAL",
    "CONFIG_LOCAL",
};

// name|declared type|notnull|default of every column, in order.
Texts columnLayout(const QSqlDatabase& db, const QString& table) {
    return column(db, QStringLiteral("SELECT name || '|' || type || '|' || \"notnull\" || '|' || "
                                     "ifnull(dflt_value, '') FROM pragma_table_info('%1') ORDER BY cid")
                          .arg(table));
}

// The documented key: the primary key, or, where the database numbers the rows through an
// INTEGER PRIMARY KEY, the UNIQUE constraint that keeps the documented key.
Texts documentedKey(const QSqlDatabase& db, const QString& table) {
    const QString unique = Sql::scalar(db, QStringLiteral("SELECT name FROM pragma_index_list('%1') "
                                                          "WHERE origin = 'u'")
                                               .arg(table))
                               .toString();
    if (!unique.isEmpty())
        return column(db,
                      QStringLiteral("SELECT name FROM pragma_index_info('%1') ORDER BY seqno").arg(unique));
    return column(
        db, QStringLiteral("SELECT name FROM pragma_table_info('%1') WHERE pk > 0 ORDER BY pk").arg(table));
}

// The CHECK constraints, name and condition, without the table name their names start with.
Texts checks(const QSqlDatabase& db, const QString& table) {
    const QString sql =
        Sql::scalar(db, "SELECT sql FROM sqlite_master WHERE type = 'table' AND name = :t", {{":t", table}})
            .toString();
    Texts found;
    const QRegularExpression constraint(
        QStringLiteral("CONSTRAINT \"%1\\.([^\"]*)\" (CHECK \\(.*\\)),?$").arg(table),
        QRegularExpression::MultilineOption);
    for (const auto& m : constraint.globalMatch(sql))
        found.push_back((m.captured(1) + " " + m.captured(2)).toStdString());
    return found;
}

TEST_F(Schema, ReplicasAreExactlyTheTwentyNineExchangedTables) {
    Texts expected;
    for (const char* t : ReplicatedTables)
        expected.push_back(std::string("REP_") + t);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected.size(), 29u);
    EXPECT_EQ(
        column(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name LIKE 'REP\\_%' ESCAPE '\\' "
                   "ORDER BY name"),
        expected);
}

class SchemaReplica : public Schema, public ::testing::WithParamInterface<const char*> {};

TEST_P(SchemaReplica, HasTheLiveTablesColumnsKeyAndChecks) {
    const QString live = QString::fromLatin1(GetParam());
    const QString replica = "REP_" + live;
    const Texts liveColumns = columnLayout(db, live);
    ASSERT_FALSE(liveColumns.empty());
    EXPECT_EQ(columnLayout(db, replica), liveColumns);

    const Texts key = documentedKey(db, live);
    EXPECT_FALSE(key.empty());
    EXPECT_EQ(documentedKey(db, replica), key);
    EXPECT_EQ(column(db, QStringLiteral("SELECT name FROM pragma_table_info('%1') WHERE pk > 0 ORDER BY pk")
                             .arg(replica)),
              key);

    const Texts liveChecks = checks(db, live);
    EXPECT_EQ(liveChecks.size(), liveColumns.size());
    EXPECT_EQ(checks(db, replica), liveChecks);
}

INSTANTIATE_TEST_SUITE_P(Schema, SchemaReplica, ::testing::ValuesIn(ReplicatedTables),
                         [](const auto& info) { return std::string(info.param); });

// --- indexes --------------------------------------------------------------------------------------

QString planOf(const QSqlDatabase& db, const QString& sql) {
    QSqlQuery query = Sql::exec(db, "EXPLAIN QUERY PLAN " + sql);
    QStringList steps;
    while (query.next())
        steps << query.value(QStringLiteral("detail")).toString();
    return steps.join(" ; ");
}

bool usesIndex(const QString& plan) {
    return (plan.contains("USING INDEX") || plan.contains("USING COVERING INDEX")) && !plan.contains("SCAN");
}

TEST_F(Schema, CrossKeyLookupsUseAnIndex) {
    const QString product = "WHERE MarcaProd = 'M' AND ModeloProd = 'X' AND Importado = 0";
    const QString company = "WHERE CodigoPais = 'BR' AND IdEmpresa = '1'";
    const QStringList statements = {
        "SELECT SiglaCertificador, NumCertif FROM EMP_CERT " + company,
        "SELECT * FROM EMP_CERT " + company,
        "SELECT NumCertif FROM REP_EMP_CERT " + company,
        "SELECT * FROM SERVICO " + company,
        "SELECT * FROM TIPO " + product,
        "SELECT * FROM LOTE " + product,
        "SELECT * FROM UNIDADE " + product,
        "SELECT * FROM REP_TIPO " + product,
        "SELECT * FROM REP_LOTE " + product,
        "SELECT * FROM REP_UNIDADE " + product,
        "SELECT * FROM EMPRESA WHERE CGC = '12345678000199' COLLATE NOCASE",
        "SELECT * FROM CLASSE_P WHERE NomClasseProd = 'Brinquedos'",
    };
    for (const QString& sql : statements) {
        const QString plan = planOf(db, sql);
        EXPECT_TRUE(usesIndex(plan)) << sql.toStdString() << " -> " << plan.toStdString();
    }
}

TEST_F(Schema, EveryTableWithCertificatesIsSearchedByCertificateThroughAnIndex) {
    const Texts tables =
        column(db, "SELECT m.name FROM sqlite_master m WHERE m.type = 'table' AND "
                   "EXISTS (SELECT 1 FROM pragma_table_info(m.name) WHERE name = 'NumCertif') "
                   "ORDER BY 1");
    // The 24 tables of a certificate and its lines, their replicas, and the import's work table.
    EXPECT_EQ(tables.size(), 49u);
    for (const std::string& table : tables) {
        const QString plan = planOf(db, QStringLiteral("DELETE FROM %1 WHERE SiglaCertificador = 'OCC' AND "
                                                       "NumCertif = 'C-1'")
                                            .arg(QString::fromStdString(table)));
        EXPECT_TRUE(usesIndex(plan)) << table << " -> " << plan.toStdString();
    }
}

// --- event numbers --------------------------------------------------------------------------------

class EventSequenceTest : public Schema {};

TEST_F(EventSequenceTest, EmptyTableStartsAtOne) {
    for (const QString& table : EventSequence::eventTables())
        EXPECT_EQ(EventSequence::next(db, table, "OCC", "C1"), 1) << table.toStdString();
}

TEST_F(EventSequenceTest, EventsOfDifferentCertificatesGetConsecutiveNumbers) {
    certificate("C1", false);
    certificate("C2", false);
    const int first = EventSequence::next(db, "STATUS_C", "OCC", "C1");
    event("STATUS_C", "C1", first);
    const int second = EventSequence::next(db, "Status_c", "OCC", "C2");
    event("STATUS_C", "C2", second);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(EventSequence::next(db, "STATUS_C", "OCC", "C1"), 3);
    // Each table counts for itself.
    EXPECT_EQ(EventSequence::next(db, "STATUS_T", "OCC", "C1"), 1);
}

TEST_F(EventSequenceTest, TakesTheHighestNumberNotTheCount) {
    event("STATUS_C", "C1", 40);
    event("STATUS_C", "C2", 7);
    EXPECT_EQ(EventSequence::next(db, "STATUS_C", "OCC", "C2"), 41);
    event("STATUS_C", "C2", 32766);
    EXPECT_EQ(EventSequence::next(db, "STATUS_C", "OCC", "C1"), 32767);
}

// Past the table's ceiling a certificate numbers its own events: one more than its highest, then
// the first number it does not use.
struct PastCeilingCase {
    const char* name;
    std::vector<int> numbersOfC1; // the table's 32767 belongs to another certificate unless listed
    int expected;
};

class EventSequencePastCeiling : public Schema, public ::testing::WithParamInterface<PastCeilingCase> {};

TEST_P(EventSequencePastCeiling, NumbersWithinTheCertificate) {
    event("STATUS_C", "OUTRO", 32767);
    for (int n : GetParam().numbersOfC1)
        event("STATUS_C", "C1", n);
    EXPECT_EQ(EventSequence::next(db, "STATUS_C", "OCC", "C1"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, EventSequencePastCeiling,
                         ::testing::Values(PastCeilingCase{"NewCertificateStartsAtOne", {}, 1},
                                           PastCeilingCase{"OneMoreThanItsHighest", {5, 40, 12}, 41},
                                           PastCeilingCase{"ItsHighestJustBelowTheCeiling", {32766}, 32767},
                                           PastCeilingCase{
                                               "HoldsTheCeilingTakesTheFirstGap", {1, 2, 4, 32767}, 3},
                                           PastCeilingCase{"HoldsTheCeilingWithoutOne", {2, 3, 32767}, 1},
                                           PastCeilingCase{"IgnoresNumbersBelowOne", {-4, 0, 1, 32767}, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EventSequenceTest, RefusesOnlyACertificateThatUsedEveryNumber) {
    Sql::exec(db, "WITH RECURSIVE n(v) AS (SELECT 1 UNION ALL SELECT v + 1 FROM n WHERE v < 32767) "
                  "INSERT INTO STATUS_C (SiglaCertificador, NumCertif, SeqEvento, Evento) "
                  "SELECT 'OCC', 'CHEIO', v, 'INC' FROM n");
    try {
        EventSequence::next(db, "status_c", "OCC", "CHEIO");
        FAIL() << "a certificate holding every number got another one";
    } catch (const DbError& e) {
        EXPECT_EQ(
            e.message().toStdString(),
            "A tabela de eventos STATUS_C atingiu o limite de 32767 eventos; o evento não foi gravado.");
        EXPECT_FALSE(e.isKeyViolation());
    }
    // Every other certificate still gets numbers.
    EXPECT_EQ(EventSequence::next(db, "STATUS_C", "OCC", "OUTRO"), 1);
    EXPECT_EQ(EventSequence::next(db, "STATUS_C", "XYZ", "CHEIO"), 1);
}

// A run of inserts counted in memory hands out exactly what the table would, up to and past the
// ceiling, when every number is inserted.
TEST_F(EventSequenceTest, NumberingMatchesTheTableThroughTheCeiling) {
    event("STATUS_C", "C1", 32764);
    event("STATUS_C", "C2", 5);
    EventSequence::Numbering numbering;
    const std::vector<std::pair<const char*, int>> expected = {{"C1", 32765}, {"C2", 32766}, {"C1", 32767},
                                                               {"C2", 32767}, {"C1", 1},     {"C2", 1}};
    for (const auto& [cert, number] : expected) {
        SCOPED_TRACE(cert);
        EXPECT_EQ(EventSequence::next(db, "STATUS_C", "OCC", cert), number);
        EXPECT_EQ(numbering.next(db, "status_c", "OCC", cert), number);
        event("STATUS_C", cert, number);
    }
    EXPECT_EQ(numbering.next(db, "STATUS_T", "OCC", "C1"), 1); // each table counts for itself
    EXPECT_THROW(numbering.next(db, "CERTIFIC", "OCC", "C1"), DbError);
}

TEST_F(EventSequenceTest, RefusesAnythingButAnEventTable) {
    for (const char* name : {"CERTIFIC", "REP_STATUS_C", "", "STATUS_C; DROP TABLE CERTIFIC", "STATUS_C --"})
        EXPECT_THROW(EventSequence::next(db, QString::fromUtf8(name), "OCC", "C1"), DbError) << name;
    EXPECT_EQ(column(db, "SELECT count(*) FROM CERTIFIC"), Texts{"0"});
}

TEST_F(EventSequenceTest, HighestNumberIsReadThroughAnIndex) {
    for (const QString& table : EventSequence::eventTables()) {
        const QString plan = planOf(db, QStringLiteral("SELECT max(SeqEvento) FROM %1").arg(table));
        EXPECT_TRUE(usesIndex(plan)) << table.toStdString() << " -> " << plan.toStdString();
    }
}

} // namespace
