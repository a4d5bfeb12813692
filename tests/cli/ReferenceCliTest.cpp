// The "reference" verbs, run as users run them: real packages written by the project's Paradox
// writer, a real FTP server, the real executable.

#include "Archiver.h"
#include "Backups.h"
#include "CliFixture.h"
#include "DamagedParadox.h"
#include "EngineServices.h"
#include "PacoteReferencia.h"
#include "SampleReference.h"
#include "TestServers.h"
#include "Versoes.h"

#include <QSqlRecord>
#include <QTemporaryDir>
#include <algorithm>

namespace {

class ReferenceCli : public Cli {
protected:
    void SetUp() override {
        Cli::SetUp();
        loadSampleReference(db, "OCC");
        sourceDb = Database::open(sourceDir.filePath("autoridade.db"), QStringLiteral("autoridade"));
        loadSampleReference(sourceDb, "OCC");
    }
    void TearDown() override {
        sourceDb = QSqlDatabase();
        Database::close(QStringLiteral("autoridade"));
        Cli::TearDown();
    }

    QString reception() const { return home.path() + QStringLiteral("Aux/"); }
    // The authority's package of the source database, in `directory`.
    void package(const QString& numero, const QString& directory, const QStringList& tables = {"PAIS"}) {
        escrevePacoteReferencia(sourceDb, prompts, directory, numero, tables, ParadoxTable::SenhaTabelas);
    }
    void onSource(const QString& sql) { Sql::exec(sourceDb, sql); }
    QString pais(const QString& codigo) const {
        return Sql::scalar(db,
                           QStringLiteral("SELECT NomePais FROM PAIS WHERE CodigoPais = '%1'").arg(codigo))
            .toString();
    }
    int installations() const { return Sql::scalar(db, "SELECT count(*) FROM CONTROLE_AUX").toInt(); }
    // The reference tables and the history, to compare before and after.
    QString snapshot() const {
        QStringList all;
        for (const QString& table : Versoes::tabelasReferencia() + QStringList{"CONTROLE_AUX"}) {
            QSqlQuery q = Sql::exec(db, QStringLiteral("SELECT * FROM %1").arg(table));
            while (q.next()) {
                QString row = table + ':';
                for (int i = 0; i < q.record().count(); ++i)
                    row += q.value(i).toString() + '|';
                all << row;
            }
        }
        all.sort();
        return all.join('\n');
    }

    QTemporaryDir sourceDir;
    QTemporaryDir media; // a local directory the packages are brought in
    QSqlDatabase sourceDb;
};

TEST_F(ReferenceCli, HelpForEachReferenceVerb) {
    const Outcome general = raw({"--help"});
    for (const char* usage :
         {"reference list", "reference install --ftp|--local DIR", "reference reinstall VERSION"})
        EXPECT_TRUE(general.out.contains(QString::fromUtf8(usage))) << general.out;
    for (const char* verb : {"list", "install", "reinstall"}) {
        const Outcome help = raw({"reference", QString::fromUtf8(verb), "--help"});
        EXPECT_EQ(help.status, 0) << verb;
        EXPECT_TRUE(help.out.contains(QStringLiteral("reference %1").arg(QString::fromUtf8(verb))))
            << help.out;
        EXPECT_TRUE(help.out.contains("Atualização de Tabelas Kavorel")) << help.out;
    }
}

TEST_F(ReferenceCli, AUserWithoutThePermissionIsRefused) {
    package("2026031501", media.path());
    const QString before = snapshot();
    for (const QStringList& arguments :
         {QStringList{"reference", "list"}, QStringList{"reference", "install", "--local", media.path()},
          QStringList{"reference", "reinstall", "2026031501"}}) {
        const Outcome run = cli(arguments, "maria", "segredo");
        EXPECT_EQ(run.status, 1) << arguments.join(' ');
        EXPECT_TRUE(run.err.contains(
            "Acesso negado: o usuário maria não tem permissão para a Atualização de Tabelas Kavorel."))
            << run.err;
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(QFileInfo::exists(reception() + "OC-TAB-2026031501.zip"));
}

TEST_F(ReferenceCli, FromALocalDirectoryTheNewestIsInstalledListedAndAnEarlierOneReinstalled) {
    const Outcome none = cli({"reference", "list"}, "joao", "outra");
    EXPECT_EQ(none.status, 0);
    EXPECT_TRUE(none.err.contains("Nenhuma versão das tabelas auxiliares foi instalada.")) << none.err;

    onSource("UPDATE PAIS SET NomePais = 'Brasil (março)' WHERE CodigoPais = 'BR'");
    package("2026031501", media.path());
    onSource("UPDATE PAIS SET NomePais = 'Brasil (fevereiro)' WHERE CodigoPais = 'BR'");
    package("2026020101", media.path());

    const Outcome first = cli({"reference", "install", "--local", media.path()}, "joao", "outra");
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out.trimmed(), "2026031501");
    EXPECT_TRUE(first.err.contains("Versão encontrada: 2026031501")) << first.err;
    EXPECT_TRUE(first.err.contains("A nova versão foi instalada sem problemas.")) << first.err;
    EXPECT_EQ(pais("BR"), "Brasil (março)");
    EXPECT_TRUE(QFileInfo::exists(reception() + "OC-TAB-2026031501.zip"));

    const Outcome again = cli({"reference", "install", "--local=" + media.path()}, "joao", "outra");
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_TRUE(again.err.contains("Não foi encontrado arquivo de atualização mais atual")) << again.err;
    EXPECT_TRUE(again.out.isEmpty());
    EXPECT_EQ(installations(), 1);

    // A newer version adds a country; re-installing March's leaves it and puts back March's name.
    onSource("UPDATE PAIS SET NomePais = 'Brasil (abril)' WHERE CodigoPais = 'BR'");
    onSource("INSERT INTO PAIS (CodigoPais, NomePais, UsuResp) VALUES ('PT', 'Portugal', 'AMOSTRA')");
    package("2026040101", media.path());
    ASSERT_EQ(cli({"reference", "install", "--local", media.path()}, "joao", "outra").status, 0);
    EXPECT_EQ(pais("BR"), "Brasil (abril)");

    const Outcome back = cli({"reference", "reinstall", "2026031501"}, "joao", "outra");
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_TRUE(back.err.contains("A versão anterior foi instalada sem problemas.")) << back.err;
    EXPECT_EQ(pais("BR"), "Brasil (março)");
    EXPECT_EQ(pais("PT"), "Portugal");

    const Outcome list = cli({"reference", "list"}, "joao", "outra");
    ASSERT_EQ(list.status, 0) << list.err;
    const QStringList lines = list.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 7) << list.out;
    EXPECT_EQ(lines[0], "Número da Versão: 2026031501");
    EXPECT_EQ(lines[1], "Arquivo da Versão: OC-TAB-2026031501.zip");
    EXPECT_EQ(lines[2], "Histórico de Atualizações de Versão");
    // Newest installation first: the re-installation, April's, March's.
    const QStringList order{"2026031501", "2026040101", "2026031501"};
    for (int i = 0; i < 3; ++i) {
        const QStringList fields = lines[4 + i].split(' ', Qt::SkipEmptyParts);
        ASSERT_EQ(fields.size(), 4) << lines[4 + i];
        EXPECT_EQ(fields[2], order[i]);
        EXPECT_EQ(fields[3], Versoes::nomeArquivo(order[i]));
    }
}

TEST_F(ReferenceCli, ReinstallingAVersionWhoseArchiveIsGoneOrThatWasNeverInstalledChangesNothing) {
    package("2026031501", media.path());
    ASSERT_EQ(cli({"reference", "install", "--local", media.path()}, "joao", "outra").status, 0);
    ASSERT_TRUE(QFile::remove(reception() + "OC-TAB-2026031501.zip"));
    const QString before = snapshot();

    const Outcome gone = cli({"reference", "reinstall", "2026031501"}, "joao", "outra");
    EXPECT_EQ(gone.status, 1);
    EXPECT_TRUE(gone.err.contains("O arquivo da versão anterior não foi encontrado.")) << gone.err;
    const Outcome never = cli({"reference", "reinstall", "2025010101"}, "joao", "outra");
    EXPECT_EQ(never.status, 1);
    EXPECT_TRUE(never.err.contains("A versão 2025010101 não está no histórico")) << never.err;
    EXPECT_EQ(snapshot(), before);
}

// An installation rewrites the reference tables: a copy first, and without one nothing is installed.
TEST_F(ReferenceCli, AnInstallationIsPrecededByACopyAndStopsWithoutOne) {
    onSource("UPDATE PAIS SET NomePais = 'Brasil (março)' WHERE CodigoPais = 'BR'");
    package("2026031501", media.path());
    const QString before = pais("BR");
    blockCopies();
    const Outcome stopped = cli({"reference", "install", "--local", media.path()}, "joao", "outra");
    EXPECT_EQ(stopped.status, 1);
    EXPECT_TRUE(stopped.err.contains("A operação não foi iniciada")) << stopped.err;
    EXPECT_EQ(pais("BR"), before);
    EXPECT_EQ(installations(), 0);

    blockCopies(false);
    const Outcome installed = cli({"reference", "install", "--local", media.path()}, "joao", "outra");
    ASSERT_EQ(installed.status, 0) << installed.err;
    EXPECT_EQ(pais("BR"), "Brasil (março)");
    const QList<Backups::Copy> copies = Backups::list(Backups::settingsFor(home.path() + "CapaCertific.db"));
    ASSERT_FALSE(copies.isEmpty());
    EXPECT_EQ(copies[0].reason, Backups::Referencia);
}

TEST_F(ReferenceCli, AMissingLocalDirectoryIsRefused) {
    const Outcome run = cli({"reference", "install", "--local", media.filePath("nada")}, "joao", "outra");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("não foi encontrado")) << run.err;
    EXPECT_EQ(installations(), 0);
}

// The sample package a newcomer makes (scripts/make-sample-reference-package runs this tool)
// installs into an installation whose reference tables are still empty.
TEST_F(ReferenceCli, TheSamplePackageInstalls) {
    QStringList tables = Versoes::tabelasReferencia();
    std::reverse(tables.begin(), tables.end());
    for (const QString& table : tables)
        Sql::exec(db, QStringLiteral("DELETE FROM %1").arg(table));

    QProcess tool;
    tool.start(QStringLiteral(TARVENDIX_SAMPLE_PACKAGE), {media.path(), "OCC", "2026010101"});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QString archive = QDir(media.path()).filePath("OC-TAB-2026010101.zip");
    EXPECT_EQ(QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed(), archive);

    const Outcome run = cli({"reference", "install", "--local", media.path()}, "joao", "outra");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.trimmed(), "2026010101");
    // The sample rows, with the package's own changes.
    EXPECT_EQ(pais("ZZ"), "País de amostra (pacote 2026010101)");
    EXPECT_EQ(pais("BR"), "Brasil");
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM UF").toInt(), 27);
    EXPECT_EQ(Sql::scalar(db, "SELECT NomClasseProd FROM CLASSE_P WHERE IdClasseProd = 120").toString(),
              "Refrigeradores e congeladores (amostra)");
    EXPECT_EQ(Sql::scalar(db, "SELECT NomeTitulo FROM DOC_NORMATIVOS WHERE IdDocNorm = 1010").toString(),
              "Portaria 999/2026 - Extintores (amostra)");
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM CREDENCIAMENTO WHERE SiglaCertificador = 'OCC' AND "
                              "IdClasseProd = 300")
                  .toInt(),
              1);
}

TEST_F(ReferenceCli, TheSamplePackageToolRefusesBadArguments) {
    const QList<QStringList> cases{{media.path(), "occ", "2026010101"},
                                   {media.path(), "OCC", "20260101"},
                                   {media.filePath("nada"), "OCC", "2026010101"},
                                   {media.path(), "OCC"}};
    for (const QStringList& arguments : cases) {
        QProcess tool;
        tool.start(QStringLiteral(TARVENDIX_SAMPLE_PACKAGE), arguments);
        ASSERT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitCode(), 1) << arguments.join(' ').toStdString();
    }
    EXPECT_TRUE(QDir(media.path()).isEmpty());
}

class ReferenceCliFtp : public ReferenceCli {
protected:
    void SetUp() override {
        ReferenceCli::SetUp();
        ASSERT_TRUE(server.started()) << server.error().toStdString();
        ASSERT_TRUE(QDir().mkpath(server.pathOf("tabelas")));
        configure(FtpTestServer::password());
    }
    void configure(const QString& password) {
        Sql::execute(db, "UPDATE CONFIG_LOCAL SET EndKavorelOrigAux = :a, LoginFTP = :l, SenhaFTP = :s",
                     {{":a", QStringLiteral("127.0.0.1:%1/tabelas").arg(server.port())},
                      {":l", FtpTestServer::user()},
                      {":s", password}});
    }

    FtpTestServer server;
};

TEST_F(ReferenceCliFtp, TheNewestOnTheServerIsFetchedAndInstalled) {
    onSource("UPDATE PAIS SET NomePais = 'Brasil do servidor' WHERE CodigoPais = 'BR'");
    package("2026031502", server.pathOf("tabelas"));
    package("2026031501", server.pathOf("tabelas"));
    const Outcome run = cli({"reference", "install", "--ftp"}, "joao", "outra");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.trimmed(), "2026031502");
    EXPECT_TRUE(run.err.contains("A nova versão foi instalada sem problemas.")) << run.err;
    EXPECT_EQ(pais("BR"), "Brasil do servidor");
    EXPECT_TRUE(QFileInfo::exists(reception() + "OC-TAB-2026031502.zip"));
    EXPECT_EQ(Versoes::versaoInstalada(db).numero, "2026031502");

    const Outcome again = cli({"reference", "install", "--ftp"}, "joao", "outra");
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_TRUE(again.err.contains("Não foi encontrado arquivo de atualização mais atual.")) << again.err;
    EXPECT_EQ(installations(), 1);
}

TEST_F(ReferenceCliFtp, ARefusedLoginInstallsNothing) {
    package("2026031502", server.pathOf("tabelas"));
    configure("errada");
    const QString before = snapshot();
    const Outcome run = cli({"reference", "install", "--ftp"}, "joao", "outra");
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.err.contains("instalada sem problemas")) << run.err;
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(snapshot(), before);
}

// A package from outside whose table header does not agree with the file: the companion refuses
// it with the table's name and status 1, and installs nothing.
TEST_F(ReferenceCli, APackageWithADamagedTableIsRefusedAndNothingIsInstalled) {
    onSource("UPDATE PAIS SET NomePais = 'Brasil (avariado)' WHERE CodigoPais = 'BR'");
    QTemporaryDir work;
    const QString table = EngineServices::createParadoxFromTable(sourceDb, "PAIS", work.path(), "PAIS.DB",
                                                                 ParadoxTable::SenhaTabelas);
    EngineServices::appendQueryToParadox(sourceDb, "SELECT * FROM PAIS", {}, table);
    DamagedParadox::forgeHugeRecordCount(table);
    ASSERT_TRUE(
        CompactaArquivos(prompts, {table}, QDir(media.path()).filePath(Versoes::nomeArquivo("2026031501"))));
    const QString before = snapshot();

    const Outcome run = cli({"reference", "install", "--local", media.path()}, "joao", "outra");

    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_TRUE(run.err.contains("PAIS.DB: o arquivo não é uma tabela Paradox válida: o cabeçalho indica "
                                 "2147483632 registros"))
        << run.err;
    EXPECT_TRUE(run.err.contains("Ocorreu um Erro na Atualização.")) << run.err;
    EXPECT_TRUE(run.out.isEmpty()) << run.out;
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(installations(), 0);
}

} // namespace
