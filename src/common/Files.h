#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

// File and path routines. Directories are held with a trailing "/".

// Linux has no short (8.3) names and arguments reach the archivers as a list, so the short form of
// an existing path is the path itself; empty when the path does not exist.
QString NomeCurto(const QString& path);

// Every component of a Linux path is already spelt as stored on disk (names are case-sensitive),
// so the path comes back unchanged.
QString NomeLongo(const QString& path);

// Deletes every file of the directory whose name matches the mask, ignoring case; failures are ignored.
void ApagaArquivos(const QString& directory, const QString& mask);

// Size in bytes of the file (or of the first file, by name, that matches a mask); -1 when none exists.
qint64 TamanhoArquivo(const QString& fileName);

// True when the name holds a wildcard ("*", "?" or "[").
bool hasWildcards(const QString& name);

// Absolute paths of the files (hidden ones included) of the directory whose names match the mask,
// ignoring case as the users' masks always did ("*.db" takes "X.DB"); sorted by name.
QStringList filesMatching(const QString& directory, const QString& mask);

// True when both paths name the same file or directory (same device and inode), links followed.
bool sameFile(const QString& a, const QString& b);

// Forces a file's data, or a directory's entries, onto the disk (fsync); false when it cannot.
bool syncToDisk(const QString& path);

// Copies a file in blocks into `partial` and renames it to `target` only when complete: every write
// checked, the size compared and, with `syncToDisk`, the data forced onto the medium (removable media
// are pulled out). A failed or interrupted copy leaves neither file behind. Progress is reported
// after each block as (bytes copied, total). The error texts are the users' own: "Erro ao abrir
// arquivo", "Erro ao criar arquivo", "Erro ao ler arquivo", "Erro ao gravar arquivo".
struct BlockCopy {
    QString error; // empty when the copy is complete or was interrupted
    bool interrupted = false;
};
BlockCopy copyInBlocks(const QString& source, const QString& target, const QString& partial,
                       const std::atomic<bool>& interrupt,
                       const std::function<void(qint64, qint64)>& progress, bool syncToDisk);
