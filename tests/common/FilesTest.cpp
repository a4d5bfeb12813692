#include "Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
}

TEST(NomeCurto, IsTheExistingPathItself) {
    QTemporaryDir dir;
    const QString file = dir.filePath("nome com brancos.txt");
    writeFile(file, "x");
    EXPECT_EQ(NomeCurto(file), file);
    EXPECT_EQ(NomeCurto(dir.path() + "/"), dir.path() + "/");
    EXPECT_TRUE(NomeCurto(dir.filePath("nao existe.txt")).isEmpty());
}

TEST(NomeLongo, KeepsThePath) {
    QTemporaryDir dir;
    writeFile(dir.filePath("Arquivo.TXT"), "x");
    EXPECT_EQ(NomeLongo(dir.filePath("Arquivo.TXT")), dir.filePath("Arquivo.TXT"));
    EXPECT_EQ(NomeLongo(dir.filePath("falta/Arquivo.TXT")), dir.filePath("falta/Arquivo.TXT"));
}

TEST(ApagaArquivos, DeletesTheMatchingFilesIgnoringCase) {
    QTemporaryDir dir;
    const QString base = dir.path() + "/";
    for (const char* name : {"A_I.DB", "b_e.db", "Sistema.Db", ".oculto.db", "notas.txt", "db"})
        writeFile(base + name, "x");
    QDir(base).mkdir("sub.db");
    writeFile(base + "sub.db/dentro.db", "x");

    ApagaArquivos(base, "*.db");

    const QStringList left =
        QDir(base).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    EXPECT_EQ(left, (QStringList{"db", "notas.txt", "sub.db"}));
    EXPECT_TRUE(QFile::exists(base + "sub.db/dentro.db"));
    ApagaArquivos(base + "nao existe/", "*.*"); // nothing to do, nothing thrown
}

TEST(TamanhoArquivo, SizeOrMinusOne) {
    QTemporaryDir dir;
    writeFile(dir.filePath("cinco.bin"), "12345");
    writeFile(dir.filePath("vazio.bin"), "");
    EXPECT_EQ(TamanhoArquivo(dir.filePath("cinco.bin")), 5);
    EXPECT_EQ(TamanhoArquivo(dir.filePath("vazio.bin")), 0);
    EXPECT_EQ(TamanhoArquivo(dir.filePath("falta.bin")), -1);
    EXPECT_EQ(TamanhoArquivo(dir.path()), -1);
    // A mask gives the first file by name.
    EXPECT_EQ(TamanhoArquivo(dir.filePath("C*.BIN")), 5);
    EXPECT_EQ(TamanhoArquivo(dir.filePath("*.zip")), -1);
}

TEST(TamanhoArquivo, RelativeNamesAreTakenFromTheCurrentDirectory) {
    QTemporaryDir dir;
    writeFile(dir.filePath("tres.txt"), "abc");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const qint64 size = TamanhoArquivo("tres.txt");
    QDir::setCurrent(previous);
    EXPECT_EQ(size, 3);
}

} // namespace
