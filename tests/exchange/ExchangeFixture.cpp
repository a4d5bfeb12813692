#include "ExchangeFixture.h"

#include "ChangeJournal.h"
#include "TabelaRemessa.h"

#include <QDateTime>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlRecord>

void ExchangeFixture::SetUp() {
    db = home.openDatabase();
    for (const char* dir : {"Sincr", "Transf", "Aux"})
        ASSERT_TRUE(QDir().mkpath(home.path() + QString::fromUtf8(dir)));
    Sql::execute(
        db,
        QStringLiteral("INSERT INTO CONFIG_LOCAL (SiglaCertificador, NomeOCC, DirLocalSincr, DirLocalTransf, "
                       "DirLocalRecepAux, EndSMTPPort) VALUES ('OCC', 'Organismo', :s, :t, :a, '2525')"),
        {{QStringLiteral(":s"), home.path() + QStringLiteral("Sincr")},
         {QStringLiteral(":t"), home.path() + QStringLiteral("Transf")},
         {QStringLiteral(":a"), home.path() + QStringLiteral("Aux")}});
    Sql::execute(db, QStringLiteral("UPDATE USU_LOCAL SET SiglaCertificador = 'OCC'"));
    session.setUser(LoggedUser{QStringLiteral("maria"), QStringLiteral("OCC"), Permissions::all()});
    state.load(db, session.user());
}

void ExchangeFixture::insertFull(const QString& table, const Row& values, const QString& tag) {
    static const QRegularExpression varchar(QStringLiteral("^VARCHAR\\((\\d+)\\)$"));
    QSqlQuery info =
        Sql::exec(db, QStringLiteral("SELECT name, type FROM pragma_table_info(:t) ORDER BY cid"),
                  {{QStringLiteral(":t"), table}});
    QStringList names;
    QStringList marks;
    QVariantList bound;
    while (info.next()) {
        const QString name = info.value(0).toString();
        const QString type = info.value(1).toString();
        QVariant value;
        const auto given = std::find_if(values.keyValueBegin(), values.keyValueEnd(), [&](const auto& pair) {
            return pair.first.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (given != values.keyValueEnd()) {
            value = given->second;
        } else if (const auto match = varchar.match(type); match.hasMatch()) {
            value = (name + QLatin1Char('-') + tag).left(match.captured(1).toInt());
        } else if (type == QLatin1String("DATETIME")) {
            value = QDateTime(QDate(2023, 7, 14), QTime(8, 30, 15, 250));
        } else if (type == QLatin1String("BOOLEAN")) {
            value = true;
        } else {
            value = 1;
        }
        names << name;
        marks << QStringLiteral("?");
        bound << value;
    }
    ASSERT_FALSE(names.isEmpty()) << table;
    QSqlQuery insert(db);
    ASSERT_TRUE(
        insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                           .arg(table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")))));
    for (int i = 0; i < bound.size(); ++i)
        insert.bindValue(i, bound[i]);
    ASSERT_TRUE(insert.exec()) << table << ": " << insert.lastError().text();
}

void ExchangeFixture::certificado(const QString& numero, bool aprovado, const QString& empresa,
                                  const QString& marca) {
    const Row cert{{"SiglaCertificador", "OCC"}, {"NumCertif", numero}};
    Row company = {{"CodigoPais", "BR"}, {"IdEmpresa", empresa}};
    Row product = {{"MarcaProd", marca}, {"ModeloProd", "Modelo"}, {"Importado", 0}};
    const Row docs{{"IdClasseCertif", "CC"}, {"IdClasseProd", 110}, {"IdClasseServ", 5}, {"IdDocNorm", 7}};
    const Row lines{{"NumLote", "L1"}, {"NumSerieProd", "S1"}, {"SeqEvento", 1}};
    const auto merged = [](std::initializer_list<Row> parts) {
        Row all;
        for (const Row& part : parts)
            all.insert(part);
        return all;
    };
    if (Sql::scalar(db, QStringLiteral("SELECT count(*) FROM EMPRESA WHERE IdEmpresa = :e"),
                    {{QStringLiteral(":e"), empresa}})
            .toInt() == 0)
        insertFull(QStringLiteral("EMPRESA"), company);
    if (Sql::scalar(db, QStringLiteral("SELECT count(*) FROM PRODUTO WHERE MarcaProd = :m"),
                    {{QStringLiteral(":m"), marca}})
            .toInt() == 0)
        insertFull(QStringLiteral("PRODUTO"), product);
    insertFull(QStringLiteral("CERTIFIC"), merged({cert, {{"Aprovado", aprovado}}}));
    // Event numbers run over a whole table: each certificate takes the next one.
    const int seq = Sql::scalar(db, QStringLiteral("SELECT count(*) FROM CERTIFIC")).toInt();
    const Row everything = merged({cert, company, product, docs, lines, {{"SeqEvento", seq}}});
    for (const char* table : {"EMP_CERT",
                              "EVENTO_EMP",
                              "STATUS_C",
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
                              "STATUS_DNS"})
        insertFull(QString::fromUtf8(table), everything);
}

void ExchangeFixture::aprova(const QString& numero, bool aprovado) {
    Sql::execute(db, QStringLiteral("UPDATE CERTIFIC SET Aprovado = :a WHERE NumCertif = :n"),
                 {{QStringLiteral(":a"), aprovado}, {QStringLiteral(":n"), numero}});
}

void ExchangeFixture::nivelaReplicas() {
    for (const TabelaRemessa& tabela : TabelasRemessa()) {
        Sql::execute(db, QStringLiteral("DELETE FROM %1").arg(tabela.replica()));
        Sql::execute(
            db, QStringLiteral("INSERT INTO %1 SELECT * FROM %2").arg(tabela.replica(), tabela.tabela()));
    }
    Sql::execute(db, QStringLiteral("DELETE FROM %1").arg(ChangeJournal::Tabela));
}

void ExchangeFixture::evento(const QString& numero, const QString& codigo, const QString& tipo,
                             int segundosAtras) {
    Sql::execute(
        db,
        QStringLiteral("INSERT INTO CONTROLE (DataHoraEvento, NumeroRemessa, TipoRemessa, Evento, Usuario) "
                       "VALUES (:d, :n, :t, :e, 'ana')"),
        {{QStringLiteral(":d"), clock.now().addSecs(-segundosAtras)},
         {QStringLiteral(":n"), numero},
         {QStringLiteral(":t"), tipo},
         {QStringLiteral(":e"), codigo}});
}

PreparationResult ExchangeFixture::prepara(const QString& tipo, bool confirmada,
                                           const PreparationProgressFn& progresso) {
    BatchControl control(session, state);
    control.atualizaListaRemessas();
    PreparaRemessa operation(session, state);
    return operation.run(tipo, control.numeroAnterior(), confirmada, interromper, progresso);
}

namespace {

int run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

QStringList ExchangeFixture::entriesOf(const QString& archive) {
    QByteArray output;
    EXPECT_EQ(run(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive}, &output), 0) << archive;
    QStringList entries = QString::fromUtf8(output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    entries.sort();
    return entries;
}

QString ExchangeFixture::unpack(const QString& archive) {
    static int count = 0;
    const QString target = home.path() + QStringLiteral("unpacked%1/").arg(++count);
    EXPECT_TRUE(QDir().mkpath(target));
    EXPECT_EQ(run(QStringLiteral("unzip"), {QStringLiteral("-q"), archive, QStringLiteral("-d"), target}), 0);
    return target;
}

QString ExchangeFixture::textOf(const QVariant& value) {
    if (value.isNull())
        return QStringLiteral("<null>");
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
    default:
        // Paradox keeps an empty text as NULL.
        return value.toString().isEmpty() ? QStringLiteral("<null>") : value.toString();
    }
}

QList<QStringList> ExchangeFixture::paradoxRows(const QString& path) {
    QList<QStringList> rows;
    for (const ParadoxRow& row : ParadoxTable::open(path).readAll()) {
        QStringList texts;
        for (const QVariant& value : row)
            texts << textOf(value);
        rows << texts;
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

QList<QStringList> ExchangeFixture::sqlRows(const QString& sql) const {
    QList<QStringList> rows;
    QSqlQuery query = Sql::exec(db, sql);
    while (query.next()) {
        QStringList texts;
        for (int i = 0; i < query.record().count(); ++i)
            texts << textOf(query.value(i));
        rows << texts;
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

QStringList ExchangeFixture::transferFiles() const {
    QStringList names =
        QDir(transf()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    return names;
}

QList<ParadoxField> expectedFieldsOf(const QSqlDatabase& db, const QString& table) {
    static const QRegularExpression varchar(QStringLiteral("^VARCHAR\\((\\d+)\\)$"));
    QSqlQuery info =
        Sql::exec(db, QStringLiteral("SELECT name, type FROM pragma_table_info(:t) ORDER BY cid"),
                  {{QStringLiteral(":t"), table}});
    QList<ParadoxField> fields;
    while (info.next()) {
        const QString name = info.value(0).toString();
        const QString type = info.value(1).toString();
        if (const auto match = varchar.match(type); match.hasMatch())
            fields << ParadoxField::alpha(name, match.captured(1).toInt());
        else if (type == QLatin1String("SMALLINT"))
            fields << ParadoxField::of(name, ParadoxField::Short);
        else if (type == QLatin1String("INTEGER"))
            fields << ParadoxField::of(name, ParadoxField::Long);
        else if (type == QLatin1String("BOOLEAN"))
            fields << ParadoxField::of(name, ParadoxField::Logical);
        else if (type == QLatin1String("DATETIME"))
            fields << ParadoxField::of(name, ParadoxField::Timestamp);
        else
            ADD_FAILURE() << table << "." << name << " has type " << type;
    }
    return fields;
}
