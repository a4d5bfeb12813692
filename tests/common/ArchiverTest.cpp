#include "Archiver.h"
#include "ScriptedPrompts.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString zipNotFound = QString::fromUtf8("O arquivo Zip.exe não foi encontrado.");
const QString unzipNotFound = QString::fromUtf8("O arquivo UnZip.exe não foi encontrado.");
const QString packFailed = QString::fromUtf8("Ocorreu um erro na criação do arquivo.");
const QString unpackFailed = QString::fromUtf8("Ocorreu um erro na extração do arquivo.");

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Runs a tool directly (not through the code under test) and returns its exit code.
int run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return -1;
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QStringList entriesOf(const QString& archive) {
    QByteArray output;
    EXPECT_EQ(run("unzip", {"-Z1", archive}, &output), 0) << archive.toStdString();
    QStringList names = QString::fromLocal8Bit(output).split('\n', Qt::SkipEmptyParts);
    names.sort();
    return names;
}

// Everything under the directory, hidden files included, as sorted relative paths.
QStringList treeOf(const QString& directory) {
    QStringList all;
    const QDir root(directory);
    QDirIterator it(directory, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        all << root.relativeFilePath(it.next());
    all.sort();
    return all;
}

// Builds an archive with arbitrary entry names, as a hostile package would carry.
void craftArchive(const QString& archive, const QStringList& names, bool symlinkFirst = false) {
    QString script = "import sys, zipfile, stat\n"
                     "z = zipfile.ZipFile(sys.argv[1], 'w')\n";
    if (symlinkFirst)
        script += "i = zipfile.ZipInfo(sys.argv[2]); i.create_system = 3\n"
                  "i.external_attr = (stat.S_IFLNK | 0o777) << 16\n"
                  "z.writestr(i, sys.argv[3])\n"
                  "names = sys.argv[4:]\n";
    else
        script += "names = sys.argv[2:]\n";
    script += "for n in names: z.writestr(n, 'conteudo de ' + n)\n"
              "z.close()\n";
    ASSERT_EQ(run("/usr/bin/python3", QStringList{"-c", script, archive} + names), 0);
}

// Empties PATH for the life of the object, so neither archiver can be found.
class NoArchiversOnPath {
public:
    NoArchiversOnPath() : previous_(qgetenv("PATH")) { qputenv("PATH", empty_.path().toLocal8Bit()); }
    ~NoArchiversOnPath() { qputenv("PATH", previous_); }

private:
    QTemporaryDir empty_;
    QByteArray previous_;
};

class ArchiverTest : public testing::Test {
protected:
    QString path(const QString& relative) const { return dir_.filePath(relative); }

    QTemporaryDir dir_;
    ScriptedPrompts prompts_;
};

TEST_F(ArchiverTest, MovesFilesIntoTheArchiveWithoutTheirDirectories) {
    writeFile(path("trabalho/sub/A_I.DB"), "tabela a");
    writeFile(path("trabalho/Sistema.db"), "versao");

    ASSERT_TRUE(CompactaArquivos(prompts_, {path("trabalho/sub/A_I.DB"), path("trabalho/Sistema.db")},
                                 path("saida/OC-TESTE2024030501.zip")))
        << prompts_.lastText().toStdString();

    EXPECT_TRUE(prompts_.shown().isEmpty());
    EXPECT_EQ(entriesOf(path("saida/OC-TESTE2024030501.zip")), (QStringList{"A_I.DB", "Sistema.db"}));
    EXPECT_FALSE(QFile::exists(path("trabalho/sub/A_I.DB")));
    EXPECT_FALSE(QFile::exists(path("trabalho/Sistema.db")));
    EXPECT_EQ(treeOf(path("saida")), QStringList{"OC-TESTE2024030501.zip"}); // no work files left
}

TEST_F(ArchiverTest, ReplacesAnExistingArchive) {
    writeFile(path("velho.txt"), "velho");
    ASSERT_TRUE(CompactaArquivos(prompts_, {path("velho.txt")}, path("pacote.zip")));
    writeFile(path("novo.txt"), "novo");

    ASSERT_TRUE(CompactaArquivos(prompts_, {path("novo.txt")}, path("pacote.zip")));

    EXPECT_EQ(entriesOf(path("pacote.zip")), QStringList{"novo.txt"});
    EXPECT_TRUE(prompts_.shown().isEmpty());
}

TEST_F(ArchiverTest, MasksIgnoreCaseAndTakeTheRealNames) {
    for (const char* name : {"X.DB", "Sistema.db", "T_A.Db", "notas.txt"})
        writeFile(path(QString("remessa/") + name), name);

    ASSERT_TRUE(CompactaArquivos(prompts_, {path("remessa/*.db")}, path("pacote.zip")));

    EXPECT_EQ(entriesOf(path("pacote.zip")), (QStringList{"Sistema.db", "T_A.Db", "X.DB"}));
    EXPECT_EQ(treeOf(path("remessa")), QStringList{"notas.txt"});
}

TEST_F(ArchiverTest, AMissingInputPacksNothingAndKeepsTheOldArchive) {
    writeFile(path("antigo.txt"), "antigo");
    ASSERT_TRUE(CompactaArquivos(prompts_, {path("antigo.txt")}, path("pacote.zip")));
    writeFile(path("presente.txt"), "presente");

    EXPECT_FALSE(CompactaArquivos(prompts_, {path("presente.txt"), path("ausente.txt")}, path("pacote.zip")));
    EXPECT_EQ(prompts_.lastText(), packFailed);
    EXPECT_EQ(prompts_.shown().last().kind, PromptKind::Error);
    EXPECT_EQ(readFile(path("presente.txt")), "presente");
    EXPECT_EQ(entriesOf(path("pacote.zip")), QStringList{"antigo.txt"});

    prompts_.clear();
    EXPECT_FALSE(CompactaArquivos(prompts_, {path("presente.txt"), path("*.db")}, path("outro.zip")));
    EXPECT_EQ(prompts_.texts(), QStringList{packFailed});
    EXPECT_FALSE(QFile::exists(path("outro.zip")));
    EXPECT_TRUE(QFile::exists(path("presente.txt")));
}

TEST_F(ArchiverTest, PathsWithBlanksPackAndUnpack) {
    writeFile(path("pasta com brancos/um arquivo.txt"), "um");
    writeFile(path("pasta com brancos/outro 'nome'.txt"), "dois");

    ASSERT_TRUE(CompactaArquivos(prompts_, {path("pasta com brancos/*.txt")}, path("meu pacote.zip")));
    ASSERT_TRUE(DescompactaArquivo(prompts_, path("meu pacote.zip"), path("destino com brancos/")));

    EXPECT_TRUE(prompts_.shown().isEmpty()) << prompts_.lastText().toStdString();
    EXPECT_EQ(readFile(path("destino com brancos/um arquivo.txt")), "um");
    EXPECT_EQ(readFile(path("destino com brancos/outro 'nome'.txt")), "dois");
    EXPECT_TRUE(QFile::exists(path("meu pacote.zip")));
}

TEST_F(ArchiverTest, UnpackingOverwritesAndKeepsOtherFiles) {
    writeFile(path("fonte/Sistema.db"), "nova versao");
    ASSERT_TRUE(CompactaArquivos(prompts_, {path("fonte/Sistema.db")}, path("pacote.zip")));
    writeFile(path("destino/Sistema.db"), "versao antiga, mais longa");
    writeFile(path("destino/outro.db"), "fica");

    ASSERT_TRUE(DescompactaArquivo(prompts_, path("pacote.zip"), path("destino")));

    EXPECT_EQ(readFile(path("destino/Sistema.db")), "nova versao");
    EXPECT_EQ(readFile(path("destino/outro.db")), "fica");
    // The unpacking directory beside the destination is gone.
    EXPECT_EQ(treeOf(dir_.path()),
              (QStringList{"destino", "destino/Sistema.db", "destino/outro.db", "fonte", "pacote.zip"}));
}

TEST_F(ArchiverTest, UnpackingKeepsSubdirectoriesOfTheArchive) {
    craftArchive(path("pacote.zip"), {"tabelas/", "tabelas/PAIS.DB", "leia.txt"});
    writeFile(path("destino/tabelas/PAIS.DB"), "antiga");

    ASSERT_TRUE(DescompactaArquivo(prompts_, path("pacote.zip"), path("destino/")));

    EXPECT_EQ(readFile(path("destino/tabelas/PAIS.DB")), "conteudo de tabelas/PAIS.DB");
    EXPECT_EQ(readFile(path("destino/leia.txt")), "conteudo de leia.txt");
}

class HostileEntryTest : public ArchiverTest, public testing::WithParamInterface<const char*> {};

TEST_P(HostileEntryTest, IsRefusedAndNothingIsWritten) {
    QString hostile = QString::fromUtf8(GetParam());
    hostile.replace("<abs>", dir_.path());
    craftArchive(path("pacote.zip"), {"inocente.txt", hostile});
    writeFile(path("destino/existente.txt"), "intacto");

    EXPECT_FALSE(DescompactaArquivo(prompts_, path("pacote.zip"), path("destino/")));

    EXPECT_EQ(prompts_.texts(), QStringList{unpackFailed});
    EXPECT_EQ(treeOf(dir_.path()), (QStringList{"destino", "destino/existente.txt", "pacote.zip"}));
    EXPECT_EQ(readFile(path("destino/existente.txt")), "intacto");
}

INSTANTIATE_TEST_SUITE_P(Names, HostileEntryTest,
                         testing::Values("../evil.txt", "sub/../../evil.txt", "..\\evil.txt",
                                         "<abs>/evil.txt", "C:/evil.txt"));

TEST_F(ArchiverTest, ALinkInsideAnArchiveIsRefused) {
    QTemporaryDir outside;
    // The link entry takes its name and its target from the first two names.
    craftArchive(path("pacote.zip"), {"link", outside.path(), "link/evil.txt"}, true);
    craftArchive(path("so-link.zip"), {"link", outside.path()}, true);

    EXPECT_FALSE(DescompactaArquivo(prompts_, path("pacote.zip"), path("destino")));
    EXPECT_FALSE(DescompactaArquivo(prompts_, path("so-link.zip"), path("destino")));

    EXPECT_EQ(prompts_.texts(), (QStringList{unpackFailed, unpackFailed}));
    EXPECT_TRUE(treeOf(outside.path()).isEmpty());
    EXPECT_TRUE(treeOf(path("destino")).isEmpty());
}

TEST_F(ArchiverTest, ACorruptArchiveFails) {
    const QByteArray marker = "DADOS-DA-TABELA-0123456789-DADOS-DA-TABELA";
    writeFile(path("fonte/T_I.DB"), marker);
    ASSERT_EQ(run("zip", {"-q", "-0", "-j", path("armazenado.zip"), path("fonte/T_I.DB")}), 0);
    QByteArray bytes = readFile(path("armazenado.zip"));
    const qsizetype at = bytes.indexOf(marker);
    ASSERT_GE(at, 0);
    bytes[at + 20] = 'X'; // the stored data no longer matches its CRC
    writeFile(path("corrompido.zip"), bytes);
    writeFile(path("truncado.zip"), readFile(path("armazenado.zip")).left(bytes.size() / 2));
    writeFile(path("destino/T_I.DB"), "anterior");

    for (const char* archive : {"corrompido.zip", "truncado.zip", "inexistente.zip"}) {
        prompts_.clear();
        EXPECT_FALSE(DescompactaArquivo(prompts_, path(archive), path("destino"))) << archive;
        EXPECT_EQ(prompts_.texts(), QStringList{unpackFailed}) << archive;
        EXPECT_EQ(prompts_.shown().last().kind, PromptKind::Error);
        EXPECT_EQ(readFile(path("destino/T_I.DB")), "anterior") << archive;
    }
    EXPECT_EQ(treeOf(path("destino")), QStringList{"T_I.DB"});
}

TEST_F(ArchiverTest, MissingArchiversShowTheirBoxAndDestroyNothing) {
    writeFile(path("dados.db"), "dados");
    ASSERT_TRUE(CompactaArquivos(prompts_, {path("dados.db")}, path("pacote.zip")));
    writeFile(path("novo.db"), "novo");
    writeFile(path("destino/dados.db"), "antes");
    {
        NoArchiversOnPath noPath;
        ASSERT_TRUE(ExternalPrograms::find("zip").isEmpty()) << "a zip lies beside the test program";
        EXPECT_FALSE(CompactaArquivos(prompts_, {path("novo.db")}, path("pacote.zip")));
        EXPECT_FALSE(DescompactaArquivo(prompts_, path("pacote.zip"), path("destino")));
    }
    ASSERT_EQ(prompts_.shown().size(), 2);
    EXPECT_EQ(prompts_.shown()[0].kind, PromptKind::Error);
    EXPECT_EQ(prompts_.shown()[0].text, zipNotFound);
    EXPECT_EQ(prompts_.shown()[1].kind, PromptKind::Error);
    EXPECT_EQ(prompts_.shown()[1].text, unzipNotFound);
    EXPECT_EQ(entriesOf(path("pacote.zip")), QStringList{"dados.db"});
    EXPECT_EQ(readFile(path("novo.db")), "novo");
    EXPECT_EQ(readFile(path("destino/dados.db")), "antes");
}

TEST(ExecutaEAguarda, ReportsExitStatus) {
    ExternalPrograms::Result result;
    EXPECT_TRUE(ExecutaEAguarda("sh", {"-c", "echo feito"}, &result));
    EXPECT_EQ(result.output, "feito\n");
    EXPECT_FALSE(ExecutaEAguarda("sh", {"-c", "exit 3"}, &result));
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_FALSE(ExecutaEAguarda("/nao/existe/programa", {}, &result));
    EXPECT_FALSE(result.started);
}

TEST(isSafeArchiveEntry, AcceptsOnlyNamesInsideTheDestination) {
    for (const char* name : {"Sistema.db", "sub/T_I.DB", "sub/", "a..b.txt", "..nome", "x/.../y"})
        EXPECT_TRUE(isSafeArchiveEntry(name)) << name;
    for (const char* name :
         {"", "..", "../x", "a/../../x", "a/..", "/etc/passwd", "\\x", "..\\x", "c:x", "D:\\x"})
        EXPECT_FALSE(isSafeArchiveEntry(name)) << name;
}

} // namespace
