#include "CliFixture.h"

namespace {

TEST_F(Cli, HelpForTheProgramAndForEachVerb) {
    const Outcome general = raw({"--help"});
    EXPECT_EQ(general.status, 0);
    for (const char* verb :
         {"batch list", "batch prepare --partial|--complete", "batch cancel", "batch clear"})
        EXPECT_TRUE(general.out.contains(QString::fromUtf8(verb))) << general.out;
    for (const char* verb : {"list", "prepare", "cancel", "clear"}) {
        const Outcome help = raw({"batch", QString::fromUtf8(verb), "--help"});
        EXPECT_EQ(help.status, 0) << verb;
        EXPECT_TRUE(help.out.contains(QStringLiteral("batch %1").arg(QString::fromUtf8(verb)))) << help.out;
        EXPECT_TRUE(help.out.contains("Controle de Remessas")) << help.out;
    }
}

struct UsageCase {
    const char* name;
    QStringList arguments;
    const char* message;
};

class CliUsage : public Cli, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(CliUsage, IsAUsageError) {
    const Outcome run = cli(GetParam().arguments);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(GetParam().message))) << run.err;
    EXPECT_TRUE(run.out.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliUsage,
    ::testing::Values(
        UsageCase{"NoVerb", {}, "Falta o verbo."},
        UsageCase{"UnknownVerb", {"envia"}, "Verbo desconhecido: envia"},
        UsageCase{"UnknownBatchVerb", {"batch", "send"}, "Operação desconhecida: batch send"},
        UsageCase{"NoBatchType", {"batch", "prepare"}, "--partial ou --complete"},
        UsageCase{
            "BothBatchTypes", {"batch", "prepare", "--partial", "--complete"}, "--partial ou --complete"},
        UsageCase{"UnknownOption", {"batch", "list", "--all"}, "Opção desconhecida para batch list: --all"},
        UsageCase{"MissingValue", {"batch", "list", "--user"}, "A opção --user precisa de um valor."},
        UsageCase{
            "NoReferenceVerb", {"reference"}, "Falta a operação de reference (list, install ou reinstall)."},
        UsageCase{"UnknownReferenceVerb", {"reference", "update"}, "Operação desconhecida: reference update"},
        UsageCase{"NoOrigin", {"reference", "install"}, "--ftp ou --local DIR"},
        UsageCase{
            "BothOrigins", {"reference", "install", "--ftp", "--local", "/tmp"}, "--ftp ou --local DIR"},
        UsageCase{"LocalWithoutDirectory",
                  {"reference", "install", "--local"},
                  "A opção --local precisa de um valor."},
        UsageCase{"OptionOfAnotherVerb",
                  {"reference", "list", "--ftp"},
                  "Opção desconhecida para reference list: --ftp"},
        UsageCase{
            "NoVersion", {"reference", "reinstall"}, "Falta o argumento VERSION de reference reinstall."},
        UsageCase{"TwoVersions",
                  {"reference", "reinstall", "2026010101", "2026010102"},
                  "Operação desconhecida: reference reinstall 2026010101 2026010102"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Cli, TheUserMustBeGiven) {
    const Outcome run = cli({"batch", "list"}, "");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains("Falta o usuário (--user LOGIN).")) << run.err;
}

TEST_F(Cli, AWrongPasswordIsRefused) {
    const Outcome run = cli({"batch", "list"}, "maria", "errada");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("Login e/ou senha inválidos.  Acesso negado ao sistema.")) << run.err;
    const Outcome unknown = cli({"batch", "list"}, "ninguem", "segredo");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, run.err);
}

TEST_F(Cli, WithoutAPasswordAndWithoutATerminalNothingIsAsked) {
    const Outcome run = cli({"batch", "list"}, "maria", "");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("Entre com login e senha para acessar o sistema.")) << run.err;
}

TEST_F(Cli, AUserWithoutTheBatchPermissionIsRefused) {
    const Outcome run = cli({"batch", "prepare", "--partial"}, "joao", "outra");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("não tem permissão para o Controle de Remessas")) << run.err;
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM CONTROLE").toInt(), 0);
}

TEST_F(Cli, AMissingDatabaseIsNeverCreated) {
    QTemporaryDir empty;
    const Outcome run = raw({"--home", empty.path(), "--user", "maria", "batch", "list"}, "segredo");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("não foi encontrado")) << run.err;
    EXPECT_FALSE(QFileInfo::exists(empty.path() + "/CapaCertific.db"));
}

TEST_F(Cli, ABatchFromPreparationToCancellation) {
    certificado("C-1", true);
    const Outcome list0 = cli({"batch", "list"});
    EXPECT_EQ(list0.status, 0);
    EXPECT_TRUE(list0.err.contains("Nenhuma remessa registrada.")) << list0.err;

    const Outcome prepared = cli({"batch", "prepare", "--partial"});
    ASSERT_EQ(prepared.status, 0) << prepared.err;
    const QString archive = prepared.out.trimmed();
    const QString number = QDate::currentDate().toString("yyyyMMdd") + "01";
    EXPECT_EQ(archive, transf() + "OC-OCC" + number + ".zip");
    EXPECT_TRUE(QFileInfo::exists(archive));
    EXPECT_TRUE(prepared.err.contains("Preparação Ocorrida com Sucesso.")) << prepared.err;
    EXPECT_TRUE(prepared.err.contains("Número da remessa: " + number)) << prepared.err;
    // A line per table, not on a terminal.
    EXPECT_TRUE(prepared.err.contains("[ 1/29] Verificando tabela de Empresa: 1 linha(s)")) << prepared.err;
    EXPECT_TRUE(prepared.err.contains("[29/29] Verificando tabela de configuração")) << prepared.err;
    EXPECT_EQ(prepared.err.count("Verificando tabela"), 29);
    EXPECT_EQ(entriesOf(archive).size(), 29); // every table but the empty SIGNATARIOS, and Sistema.db

    const Outcome list1 = cli({"batch", "list", "--events"});
    EXPECT_EQ(list1.status, 0);
    EXPECT_TRUE(list1.out.startsWith(number + "  C  Aguardando Transferência")) << list1.out;
    EXPECT_TRUE(list1.out.contains("Remessa Preparada")) << list1.out;

    // One batch in progress at a time.
    const Outcome again = cli({"batch", "prepare", "--partial"});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains("está em andamento")) << again.err;

    // Not confirmed, not cancelled.
    const Outcome unconfirmed = cli({"batch", "cancel"});
    EXPECT_EQ(unconfirmed.status, 1);
    EXPECT_TRUE(unconfirmed.err.contains("Tem certeza que deseja cancelar a remessa?")) << unconfirmed.err;
    EXPECT_EQ(lastEvent(), "PR");

    const Outcome cancelled = cli({"batch", "cancel", "--yes"});
    EXPECT_EQ(cancelled.status, 0) << cancelled.err;
    EXPECT_EQ(lastEvent(), "NO");
    EXPECT_FALSE(QFileInfo::exists(archive));
    EXPECT_EQ(Sql::scalar(db, "SELECT Obs FROM CONTROLE WHERE Evento = 'NO'").toString(),
              "Remessa Cancelada pelo Usuário");

    // Nothing left to cancel.
    const Outcome twice = cli({"batch", "cancel", "--yes"});
    EXPECT_EQ(twice.status, 1);
}

TEST_F(Cli, ATransferDirectorySetToTheBaseDirectoryLeavesTheRegisterIntact) {
    certificado("C-1", true);
    const int certificados = Sql::scalar(db, "SELECT count(*) FROM CERTIFIC").toInt();
    Sql::execute(db, "UPDATE CONFIG_LOCAL SET DirLocalTransf = :d", {{":d", home.path()}});

    const Outcome run = cli({"batch", "prepare", "--partial"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("Diretório Local de Transferência de Remessas")) << run.err;
    EXPECT_TRUE(run.err.contains("banco de dados")) << run.err;
    ASSERT_TRUE(QFileInfo::exists(home.path() + "CapaCertific.db"));
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM CERTIFIC").toInt(), certificados);
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM CONTROLE").toInt(), 0);

    // The register still opens for the next run.
    const Outcome list = cli({"batch", "list"});
    EXPECT_EQ(list.status, 0) << list.err;
}

TEST_F(Cli, PreviewCompleteBatchAndClearing) {
    certificado("C-1", true);
    nivelaReplicas();
    Sql::execute(db, "UPDATE CERTIFIC SET Observacoes = 'nova'");

    const Outcome preview = cli({"batch", "prepare", "--partial", "--preview"});
    ASSERT_EQ(preview.status, 0) << preview.err;
    EXPECT_TRUE(preview.out.contains(QRegularExpression("Certific +0 +1 +0\\n"))) << preview.out;
    EXPECT_TRUE(preview.out.contains(QRegularExpression("Total +0 +1 +0\\n"))) << preview.out;
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM CONTROLE").toInt(), 0);
    EXPECT_TRUE(transferFiles().isEmpty());

    const Outcome unconfirmed = cli({"batch", "prepare", "--complete"});
    EXPECT_EQ(unconfirmed.status, 1);
    EXPECT_TRUE(
        unconfirmed.err.contains("Uma remessa completa deve ser preparada sob a supervisão do Kavorel."))
        << unconfirmed.err;
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM CONTROLE").toInt(), 0);

    const Outcome complete = cli({"batch", "prepare", "--complete", "--yes"});
    ASSERT_EQ(complete.status, 0) << complete.err;
    EXPECT_TRUE(QFileInfo(complete.out.trimmed()).fileName().startsWith("OT-OCC")) << complete.out;

    const Outcome clear = cli({"batch", "clear", "--yes"});
    EXPECT_EQ(clear.status, 0) << clear.err;
    // The complete batch is in progress: its events stay.
    EXPECT_TRUE(clear.err.contains("mantidos os eventos da remessa")) << clear.err;
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM CONTROLE").toInt(), 1);
}

TEST_F(Cli, ASignalInterruptsThePreparation) {
    certificado("C-1", true);
    // Enough rows behind the first tables that the run is still going when the signal arrives.
    Sql::execute(db, "INSERT INTO STATUS_C (SiglaCertificador, NumCertif, SeqEvento, Evento, Justificativa) "
                     "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 299999) "
                     "SELECT 'OCC', 'X' || (i / 30000), i % 30000 + 1, 'ALT', 'x' FROM n");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TARVENDIX_PASSWORD", "segredo");
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TARVENDIX_CLI),
                  {"--home", home.path(), "--user", "maria", "batch", "prepare", "--partial"});
    process.closeWriteChannel();
    process.setReadChannel(QProcess::StandardError);
    QByteArray err;
    while (!err.contains("[ 1/29]") && process.waitForReadyRead(30000))
        err += process.readAllStandardError();
    ASSERT_TRUE(err.contains("[ 1/29]")) << err.toStdString();
    process.terminate(); // SIGTERM, answered like Ctrl+C
    ASSERT_TRUE(process.waitForFinished(30000));
    err += process.readAllStandardError();
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(err.contains("Preparação Interrompida pelo Usuário.")) << err.toStdString();
    EXPECT_TRUE(transferFiles().filter(".zip").isEmpty()) << transferFiles().join(",");
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM CONTROLE").toInt(), 0);
}

TEST_F(Cli, NothingToSendIsReportedAsNotDone) {
    certificado("C-1", true);
    nivelaReplicas();
    const Outcome run = cli({"batch", "prepare", "--partial"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("Nenhuma tabela nova foi criada!")) << run.err;
    EXPECT_TRUE(run.out.isEmpty());
}

} // namespace
