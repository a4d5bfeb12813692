#include "Backups.h"
#include "CliFixture.h"
#include "ImportFixture.h"

namespace {

// An installation of the certifier "OCC1" whose users log in: "ana" keeps the register and approves,
// "rui" only controls batches.
class ImportCli : public ImportFixture {
protected:
    void SetUp() override {
        ImportFixture::SetUp();
        UsuLocalTable::setSenha(db, "admin", Senhas::embaralha("adm123"));
        Usuario ana{"ana", "OCC1", "Ana", Senhas::embaralha("segredo"), {}};
        ana.permissions.AcManBase = true;
        ana.permissions.AcAprovCertific = true;
        UsuLocalTable::insert(db, ana);
        Usuario rui{"rui", "OCC1", "Rui", Senhas::embaralha("outra"), {}};
        rui.permissions.AcContRemessas = true;
        UsuLocalTable::insert(db, rui);
    }
    Outcome import(const QString& user, const QString& password, const QString& directory) {
        return runCompanion({"--home", home.path(), "--user", user, "import", directory}, password);
    }
};

QStringList completeFile(const QString& num) {
    return Txt::certific(num) + Txt::empresa() + Txt::empCert(num) + Txt::produto() + Txt::tipo(num) +
           Txt::docNormTipo(num);
}

TEST_F(ImportCli, ImportsEveryFileOfTheDirectoryAndSaysHowEachWent) {
    escreve(Nome1, completeFile("C1"));
    escreve(Nome2, completeFile("C2") + QStringList{"[EMPRESA]", "linha que não é um registro"});

    const Outcome run = import("ana", "segredo", dir());

    EXPECT_EQ(run.status, 1) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(Nome1 + ": importado")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(Nome2 + ": falhou (ERRO")) << run.out.toStdString();
    // The first file's certificate is in, complete and approved; nothing of the second.
    EXPECT_EQ(linhasSql("SELECT NumCertif, Completo, Aprovado FROM CERTIFIC"), QStringList{"C1|1|1"});
    EXPECT_TRUE(QFile::exists(QDir(dir()).filePath("ERRO" + Nome2)));
}

TEST_F(ImportCli, ASingleGoodFileEndsWithZero) {
    escreve(Nome1, completeFile("C1"));
    const Outcome run = import("ana", "segredo", dir());
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(conta("CERTIFIC"), 1);
}

// The import rewrites the register: a copy first, and without one no file is read.
TEST_F(ImportCli, AnImportIsPrecededByACopyAndStopsWithoutOne) {
    escreve(Nome1, completeFile("C1"));
    {
        QFile conf(home.path() + "tarvendix.conf");
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write("[copias]\nDiretorio=bloqueado\n");
        QFile blocker(home.path() + "bloqueado");
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    const Outcome stopped = import("ana", "segredo", dir());
    EXPECT_EQ(stopped.status, 1);
    EXPECT_TRUE(stopped.err.contains("A operação não foi iniciada")) << stopped.err.toStdString();
    EXPECT_TRUE(stopped.out.contains(Nome1 + ": recusado")) << stopped.out.toStdString();
    EXPECT_EQ(conta("CERTIFIC"), 0);

    QFile::remove(home.path() + "tarvendix.conf");
    const Outcome run = import("ana", "segredo", dir());
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(conta("CERTIFIC"), 1);
    const QList<Backups::Copy> copies = Backups::list(Backups::settingsFor(home.path() + "CapaCertific.db"));
    ASSERT_FALSE(copies.isEmpty());
    EXPECT_EQ(copies[0].reason, Backups::Importacao);
}

TEST_F(ImportCli, RefusesAUserWithoutTheRegisterAndAnEmptyOrMissingDirectory) {
    escreve(Nome1, completeFile("C1"));
    const Outcome refused = import("rui", "outra", dir());
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("Acesso negado")) << refused.err.toStdString();
    EXPECT_EQ(conta("CERTIFIC"), 0);

    QTemporaryDir empty;
    const Outcome nothing = import("ana", "segredo", empty.path());
    EXPECT_EQ(nothing.status, 1);
    EXPECT_TRUE(nothing.err.contains("Nenhum arquivo TX-*.txt")) << nothing.err.toStdString();

    const Outcome missing = import("ana", "segredo", QDir(dir()).filePath("nao-existe"));
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.err.contains("não foi encontrado")) << missing.err.toStdString();
}

} // namespace
