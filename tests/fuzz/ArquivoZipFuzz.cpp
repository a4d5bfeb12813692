#include "FuzzEntries.h"
#include "FuzzSupport.h"

#include "Archiver.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

// Every file and directory under `directory` lies inside it and none is a link.
bool soArquivosDentro(const QString& directory) {
    const QString raiz = QFileInfo(directory).canonicalFilePath();
    QDirIterator it(directory, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        if (info.isSymLink() || !info.canonicalFilePath().startsWith(raiz + QLatin1Char('/')))
            return false;
    }
    return true;
}

} // namespace

// An archive as a reference package or a batch result arrives: its entry names listed and checked
// before anything is unpacked, then unpacked into a directory of its own. Whatever the archive
// holds, nothing may land outside that directory, and nothing outside it may change.
int fuzzOneArquivoZip(const uint8_t* data, size_t size) {
    const QString arquivo =
        fuzz::writeScratchFile(QStringLiteral("OC-TAB-2015112501.zip"), fuzz::bytesOf(data, size));
    QStringList entradas;
    if (ConteudoArquivo(arquivo, entradas)) {
        for (const QString& entrada : entradas)
            isSafeArchiveEntry(entrada);
    }
    QDir pasta(fuzz::scratchDirectory());
    const QString destino = pasta.filePath(QStringLiteral("destino"));
    QDir(destino).removeRecursively();
    fuzz::check(pasta.mkpath(QStringLiteral("destino/dentro")), "cannot make the destination");
    fuzz::SilentPrompts avisos;
    // Into an empty directory: whatever it unpacked stays inside, with no link among it (on a
    // failure the caller discards the directory).
    const QString vazio = QDir(destino).filePath(QStringLiteral("dentro"));
    if (DescompactaEmDiretorioVazio(avisos, arquivo, vazio))
        fuzz::check(soArquivosDentro(vazio), "an entry landed outside the directory or as a link");
    fuzz::check(QDir(destino).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot) ==
                    QStringList{QStringLiteral("dentro")},
                "the unpacking wrote beside its directory");

    // Into a directory with a file already there: a refused archive changes nothing in it.
    const QString ocupado = QDir(destino).filePath(QStringLiteral("ocupado"));
    fuzz::check(pasta.mkpath(QStringLiteral("destino/ocupado")), "cannot make the destination");
    const QString presente = QDir(ocupado).filePath(QStringLiteral("presente.txt"));
    {
        QFile arquivoPresente(presente);
        fuzz::check(arquivoPresente.open(QIODevice::WriteOnly) && arquivoPresente.write("antes") == 5,
                    "cannot write the file already there");
    }
    if (DescompactaArquivo(avisos, arquivo, ocupado)) {
        fuzz::check(soArquivosDentro(ocupado), "an entry landed outside the directory or as a link");
    } else {
        QFile arquivoPresente(presente);
        fuzz::check(QDir(ocupado).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot) ==
                            QStringList{QStringLiteral("presente.txt")} &&
                        arquivoPresente.open(QIODevice::ReadOnly) && arquivoPresente.readAll() == "antes",
                    "a refused archive changed the destination");
    }
    fuzz::check(QDir(destino).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot) ==
                    (QStringList{QStringLiteral("dentro"), QStringLiteral("ocupado")}),
                "the unpacking left something beside its directory");
    QDir(destino).removeRecursively();
    return 0;
}
