#include "Versoes.h"
#include "Archiver.h"
#include "AtualizaVersao.h"
#include "Clock.h"
#include "DamagedParadox.h"
#include "Database.h"
#include "EngineServices.h"
#include "InstalaVersao.h"
#include "PacoteReferencia.h"
#include "ParadoxTable.h"
#include "SampleReference.h"
#include "ScriptedPrompts.h"
#include "Sql.h"
#include "TestHome.h"
#include "TestServers.h"
#include "VersoesFixture.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// ---- choosing the newest archive ----

struct NewestCase {
    const char* name;
    QStringList listed;
    QString installed; // version number, empty for none
    QString expected;  // the archive chosen, empty for none
};

class NewestVersion : public ::testing::TestWithParam<NewestCase> {};

TEST_P(NewestVersion, IsChosenByDateThenSequence) {
    const NewestCase& c = GetParam();
    const QString reference =
        Versoes::nomeArquivo(c.installed.isEmpty() ? Versoes::NenhumaVersao : c.installed);
    const QString best = Versoes::maisNova(reference, c.listed);
    EXPECT_EQ((best == reference ? QString() : best).toStdString(), c.expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewestVersion,
    ::testing::Values(
        NewestCase{"AnyWellFormedBeatsNone", {"OC-TAB-2020010101.zip"}, "", "OC-TAB-2020010101.zip"},
        NewestCase{"NewestOfSeveral",
                   {"OC-TAB-2024010101.zip", "OC-TAB-2025063001.zip", "OC-TAB-2025010101.zip"},
                   "2023121201",
                   "OC-TAB-2025063001.zip"},
        NewestCase{"SameDateHigherSequence",
                   {"OC-TAB-2025063001.zip", "OC-TAB-2025063002.zip"},
                   "",
                   "OC-TAB-2025063002.zip"},
        NewestCase{"EqualVersionsFirstListedStays",
                   {"OC-TAB-2025063001.zip", "oc-tab-2025063001.ZIP"},
                   "",
                   "OC-TAB-2025063001.zip"},
        NewestCase{"CaseOfPrefixAndExtensionIgnored", {"oc-tab-2025063001.ZIP"}, "", "oc-tab-2025063001.ZIP"},
        NewestCase{"OlderThanInstalledNeverChosen", {"OC-TAB-2024010101.zip"}, "2025010101", ""},
        NewestCase{"SameAsInstalledNeverChosen", {"OC-TAB-2025010101.zip"}, "2025010101", ""},
        NewestCase{"TwentyAndTwentyTwoCharactersNeverChosen",
                   {"OC-TAB-202601010.zip", "OC-TAB-20260101011.zip"},
                   "",
                   ""},
        NewestCase{"NonNumericDateNeverChosen", {"OC-TAB-2026AB0101.zip", "OC-TAB-2026-10101.zip"}, "", ""},
        NewestCase{"SameStemNotZipNeverChosen", {"OC-TAB-2026010101.txt", "OC-TAB-2026010101.zi_"}, "", ""},
        NewestCase{"OtherPrefixesNeverChosen", {"OC-TAX-2026010101.zip", "OT-TAB-2026010101.zip"}, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VersaoMaisNova, ComparesYearMonthDayAndSequenceAsNumbers) {
    EXPECT_TRUE(Versoes::VersaoMaisNova("OC-TAB-2025123199.zip", "OC-TAB-2026010100.zip"));
    EXPECT_TRUE(Versoes::VersaoMaisNova("OC-TAB-2026010109.zip", "OC-TAB-2026010110.zip"));
    EXPECT_FALSE(Versoes::VersaoMaisNova("OC-TAB-2026010110.zip", "OC-TAB-2026010109.zip"));
    EXPECT_FALSE(Versoes::VersaoMaisNova("OC-TAB-20260101x0.zip", "OC-TAB-2027010101.zip"));
}

// ---- installing ----

using InstalaVersaoTest = VersoesFixture;

TEST_F(InstalaVersaoTest, ReplacesPresentKeysAddsNewOnesKeepsTheRestAndRecordsTheVersion) {
    onSource("UPDATE PAIS SET NomePais = 'Brasil (versão 2)' WHERE CodigoPais = 'BR'");
    onSource("INSERT INTO PAIS (CodigoPais, NomePais) VALUES ('PT', 'Portugal')");
    onSource("DELETE FROM PAIS WHERE CodigoPais = 'AR'"); // absent from the package: stays here
    onSource("INSERT INTO CREDENCIAMENTO (SiglaCertificador, IdClasseCertif, IdClasseProd) VALUES ('OCC1', "
             "'COMP', 300)");
    package("2026030101", {"PAIS", "CREDENCIAMENTO"});
    Sql::exec(db, "UPDATE UF SET NomeUF = 'Mudado aqui' WHERE SiglaUF = 'SP'");
    // A table file lying in the reception directory is not part of the package: never merged.
    EngineServices::createParadoxFromTable(sourceDb, "UF", reception, "UF.DB");
    EngineServices::appendQueryToParadox(sourceDb, "SELECT * FROM UF", {}, QDir(reception).filePath("UF.DB"));

    QString why;
    ASSERT_TRUE(InstalaVersao(db, clock, prompts, reception, "OC-TAB-2026030101.zip", "2026030101", &why))
        << why.toStdString();

    EXPECT_EQ(count("SELECT NomePais FROM PAIS WHERE CodigoPais = 'BR'"), "Brasil (versão 2)");
    EXPECT_EQ(count("SELECT NomePais FROM PAIS WHERE CodigoPais = 'PT'"), "Portugal");
    EXPECT_EQ(count("SELECT NomePais FROM PAIS WHERE CodigoPais = 'AR'"), "Argentina");
    EXPECT_EQ(count("SELECT count(*) FROM CREDENCIAMENTO WHERE IdClasseProd = 300"), "1");
    EXPECT_EQ(count("SELECT NomeUF FROM UF WHERE SiglaUF = 'SP'"), "Mudado aqui");
    EXPECT_EQ(count("SELECT NumeroVersao || ' ' || NomeArquivo FROM CONTROLE_AUX"),
              "2026030101 OC-TAB-2026030101.zip");
    EXPECT_EQ(Versoes::versaoInstalada(db).numero, "2026030101");
    // The archive stays for a later re-installation; nothing unpacked is left behind.
    EXPECT_EQ(QDir(reception).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{"OC-TAB-2026030101.zip", "UF.DB"}));
    EXPECT_TRUE(prompts.shown().isEmpty());
}

TEST_F(InstalaVersaoTest, APackageFailingOnItsNinthTableChangesNothing) {
    onSource("UPDATE PAIS SET NomePais = 'Mudou' WHERE CodigoPais = 'BR'");
    onSource("UPDATE CLASSE_C SET NomClasseCertif = 'Mudou'");
    QTemporaryDir work;
    QStringList files;
    for (const QString& table : Versoes::tabelasReferencia()) {
        if (table == "CREDENCIAMENTO_SERV")
            continue;
        files << EngineServices::createParadoxFromTable(sourceDb, table, work.path(), table + ".DB");
        EngineServices::appendQueryToParadox(sourceDb, "SELECT * FROM " + table, {}, files.last());
    }
    // The ninth table carries a row without its key.
    ParadoxTable broken =
        ParadoxTable::create(QDir(work.path()).filePath("CREDENCIAMENTO_SERV.DB"),
                             EngineServices::paradoxFieldsOf(sourceDb, "CREDENCIAMENTO_SERV"));
    broken.appendRow({QVariant(), "SERV", 10});
    broken.close();
    files << QDir(work.path()).filePath("CREDENCIAMENTO_SERV.DB");
    ASSERT_TRUE(CompactaArquivos(prompts, files, QDir(reception).filePath("OC-TAB-2026030201.zip")));
    const QString before = snapshot();

    EXPECT_FALSE(InstalaVersao(db, clock, prompts, reception, "OC-TAB-2026030201.zip", "2026030201"));

    EXPECT_EQ(snapshot().toStdString(), before.toStdString());
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].text, "Ocorreu um Erro na Atualização.\nEntre em contato com o suporte.");
    EXPECT_EQ(QDir(reception).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"OC-TAB-2026030201.zip"});
}

// A package's tables come over FTP or on removable media: a table whose header does not agree with
// its file is refused, naming it, and the tables merged before it are rolled back.
TEST_F(InstalaVersaoTest, APackageWithADamagedTableIsRefusedAndChangesNothing) {
    onSource("UPDATE PAIS SET NomePais = 'Mudou' WHERE CodigoPais = 'BR'");
    onSource("UPDATE UF SET NomeUF = 'Mudou' WHERE SiglaUF = 'SP'");
    struct Case {
        const char* name;
        std::function<void(const QString&)> damage;
        QString inDetail;
    };
    const Case cases[] = {
        {"record count near 2^31", DamagedParadox::forgeHugeRecordCount,
         "UF.DB: o arquivo não é uma tabela Paradox válida: o cabeçalho indica 2147483632 registros"},
        {"record size below the fields",
         [](const QString& path) { DamagedParadox::putLe16(path, DamagedParadox::RecordSize, 4); },
         "UF.DB: o arquivo não é uma tabela Paradox válida: os campos somam"},
    };
    int number = 0;
    for (const Case& c : cases) {
        const QString numero = QStringLiteral("202603040%1").arg(++number);
        const QString arquivo = Versoes::nomeArquivo(numero);
        QTemporaryDir work;
        QStringList files;
        for (const QString table : {"PAIS", "UF"}) {
            files << EngineServices::createParadoxFromTable(sourceDb, table, work.path(), table + ".DB",
                                                            ParadoxTable::SenhaTabelas);
            EngineServices::appendQueryToParadox(sourceDb, "SELECT * FROM " + table, {}, files.last());
        }
        c.damage(files.last());
        ASSERT_TRUE(CompactaArquivos(prompts, files, QDir(reception).filePath(arquivo)));
        const QString before = snapshot();
        prompts.clear();

        QString why;
        EXPECT_FALSE(InstalaVersao(db, clock, prompts, reception, arquivo, numero, &why)) << c.name;

        EXPECT_TRUE(why.contains(c.inDetail)) << c.name << ": " << why.toStdString();
        // PAIS, merged before UF, is rolled back with the rest.
        EXPECT_EQ(snapshot().toStdString(), before.toStdString()) << c.name;
        ASSERT_EQ(prompts.shown().size(), 1) << c.name;
        EXPECT_EQ(prompts.shown()[0].text,
                  "Ocorreu um Erro na Atualização.\nEntre em contato com o suporte.");
        EXPECT_EQ(QDir(reception).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{arquivo})
            << c.name;
        QFile::remove(QDir(reception).filePath(arquivo));
    }
}

TEST_F(InstalaVersaoTest, AnArchiveWithoutTablesOrDamagedInstallsNothing) {
    QFile damaged(QDir(reception).filePath("OC-TAB-2026030301.zip"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("isto não é um zip");
    damaged.close();
    const QString before = snapshot();
    EXPECT_FALSE(InstalaVersao(db, clock, prompts, reception, "OC-TAB-2026030301.zip", "2026030301"));
    EXPECT_FALSE(InstalaVersao(db, clock, prompts, reception, "OC-TAB-2099010101.zip", "2099010101"));
    EXPECT_EQ(snapshot().toStdString(), before.toStdString());
}

TEST_F(InstalaVersaoTest, ReinstallingAnOlderVersionKeepsRowsAddedByNewerOnes) {
    onSource("UPDATE PAIS SET NomePais = 'Brasil v1' WHERE CodigoPais = 'BR'");
    package("2026010101", {"PAIS"});
    onSource("UPDATE PAIS SET NomePais = 'Brasil v2' WHERE CodigoPais = 'BR'");
    onSource("INSERT INTO PAIS (CodigoPais, NomePais) VALUES ('PT', 'Portugal')");
    package("2026020101", {"PAIS"});
    ASSERT_TRUE(InstalaVersao(db, clock, prompts, reception, "OC-TAB-2026010101.zip", "2026010101"));
    clock.advanceSeconds(60);
    ASSERT_TRUE(InstalaVersao(db, clock, prompts, reception, "OC-TAB-2026020101.zip", "2026020101"));
    clock.advanceSeconds(60);
    ASSERT_TRUE(InstalaVersao(db, clock, prompts, reception, "OC-TAB-2026010101.zip", "2026010101"));

    EXPECT_EQ(count("SELECT NomePais FROM PAIS WHERE CodigoPais = 'BR'"), "Brasil v1");
    EXPECT_EQ(count("SELECT NomePais FROM PAIS WHERE CodigoPais = 'PT'"), "Portugal");
    EXPECT_EQ(Versoes::versaoInstalada(db).numero, "2026010101");
    QStringList history;
    for (const Versoes::Instalacao& row : Versoes::historico(db))
        history << row.numero;
    EXPECT_EQ(history, (QStringList{"2026010101", "2026020101", "2026010101"}));
    QStringList byVersion;
    for (const Versoes::Instalacao& row : Versoes::porVersao(db))
        byVersion << row.numero;
    EXPECT_EQ(byVersion.first(), "2026020101");
}

// ---- fetching from the server and from a directory ----

class AtualizaVersaoTest : public VersoesFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.started()) << server.error().toStdString();
        ASSERT_TRUE(QDir(server.root()).mkpath("tabelas"));
    }
    FtpEndpoint endpoint() const {
        return {"127.0.0.1", server.port(), FtpTestServer::user(), FtpTestServer::password()};
    }

    FtpTestServer server;
};

TEST_F(AtualizaVersaoTest, FindsTheNewestOnTheServerFetchesAndInstallsIt) {
    onSource("UPDATE PAIS SET NomePais = 'Brasil novo' WHERE CodigoPais = 'BR'");
    const QString served = server.pathOf("tabelas");
    package("2026031502", {"PAIS"}, served);
    package("2026031501", {"PAIS"}, served);
    package("2025120101", {"PAIS"}, served);
    QFile::copy(QDir(served).filePath("OC-TAB-2026031502.zip"),
                QDir(served).filePath("OC-TAB-2026031502.txt"));
    QFile::copy(QDir(served).filePath("OC-TAB-2026031502.zip"),
                QDir(served).filePath("OC-TAB-20260315031.zip"));

    AtualizaVersao update(reception, "2026010101");
    QString found;
    qint64 lastDone = 0;
    update.setAvisos({[&](const QString& arquivo, const QString&) { found = arquivo; },
                      [&](qint64 done, qint64) { lastDone = done; },
                      {}});
    const AtualizaVersao::Resultado result = update.pelaInternet(endpoint(), "tabelas");

    ASSERT_EQ(result.desfecho, AtualizaVersao::Desfecho::Obtida) << result.texto.toStdString();
    EXPECT_EQ(result.arquivo, "OC-TAB-2026031502.zip");
    EXPECT_EQ(result.versao, "2026031502");
    EXPECT_EQ(found, result.arquivo);
    EXPECT_EQ(lastDone, QFileInfo(QDir(served).filePath(result.arquivo)).size());
    ASSERT_TRUE(InstalaVersao(db, clock, prompts, reception, result.arquivo, result.versao));
    EXPECT_EQ(count("SELECT NomePais FROM PAIS WHERE CodigoPais = 'BR'"), "Brasil novo");
}

TEST_F(AtualizaVersaoTest, NothingNewerSaysSoAndFetchesNothing) {
    package("2025120101", {"PAIS"}, server.pathOf("tabelas"));
    AtualizaVersao update(reception, "2026010101");
    const AtualizaVersao::Resultado viaFtp = update.pelaInternet(endpoint(), "tabelas");
    EXPECT_EQ(viaFtp.desfecho, AtualizaVersao::Desfecho::NenhumaMaisNova);
    EXPECT_EQ(viaFtp.texto, "Não foi encontrado arquivo de atualização mais atual.");
    const AtualizaVersao::Resultado local = update.doDiretorio(server.pathOf("tabelas"));
    EXPECT_EQ(local.texto, "Não foi encontrado arquivo de atualização mais atual");
    EXPECT_TRUE(QDir(reception).isEmpty());
}

TEST_F(AtualizaVersaoTest, AWrongDirectoryOrPasswordIsToldAndFetchesNothing) {
    AtualizaVersao update(reception, {});
    EXPECT_EQ(update.pelaInternet(endpoint(), "nao-existe").texto, "Erro na troca de diretório.");
    FtpEndpoint wrong = endpoint();
    wrong.password = "errada";
    EXPECT_EQ(update.pelaInternet(wrong, "tabelas").texto,
              "Erro ao tentar conectar. Verifique as configurações do Sistema");
    EXPECT_TRUE(QDir(reception).isEmpty());
}

TEST_F(AtualizaVersaoTest, CopiesFromALocalDirectoryAndSkipsTheCopyWhenItIsTheReceptionItself) {
    QTemporaryDir media;
    package("2026040101", {"PAIS"}, media.path());
    AtualizaVersao update(reception, {});
    AtualizaVersao::Resultado result = update.doDiretorio(media.path());
    ASSERT_EQ(result.desfecho, AtualizaVersao::Desfecho::Obtida) << result.texto.toStdString();
    const QByteArray original = [&] {
        QFile f(QDir(media.path()).filePath("OC-TAB-2026040101.zip"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    QFile copied(QDir(reception).filePath("OC-TAB-2026040101.zip"));
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), original);
    copied.close();

    // The reception directory chosen as the source: the archive must survive whole.
    result = AtualizaVersao(reception, {}).doDiretorio(reception);
    ASSERT_EQ(result.desfecho, AtualizaVersao::Desfecho::Obtida);
    EXPECT_EQ(QFileInfo(copied.fileName()).size(), original.size());
    EXPECT_TRUE(InstalaVersao(db, clock, prompts, reception, result.arquivo, result.versao));
}

TEST_F(AtualizaVersaoTest, AnInterruptedCopyLeavesNothingInTheReceptionDirectory) {
    QTemporaryDir media;
    QFile big(QDir(media.path()).filePath("OC-TAB-2026050101.zip"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(200000, 'x'));
    big.close();
    AtualizaVersao update(reception, {});
    update.setAvisos({{},
                      [&](qint64 done, qint64) {
                          if (done >= 8192 * 3)
                              update.interrompe();
                      },
                      {}});
    const AtualizaVersao::Resultado result = update.doDiretorio(media.path());
    EXPECT_EQ(result.desfecho, AtualizaVersao::Desfecho::Interrompida);
    EXPECT_EQ(result.texto, "Foi encontrado arquivo mais atual, mas houve interrupção na transferência.");
    EXPECT_TRUE(QDir(reception).isEmpty());

    AtualizaVersao before(reception, {});
    before.interrompe();
    EXPECT_EQ(before.doDiretorio(media.path()).texto, "Transferência interrompida.");
}

} // namespace
