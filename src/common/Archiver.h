#pragma once

#include "ExternalPrograms.h"

#include <QString>
#include <QStringList>

class Prompts;

// Packing and unpacking with the Info-ZIP programs "zip" and "unzip", found beside the program or on
// PATH. The boxes keep the program names the users know ("Zip.exe", "UnZip.exe").

// Runs the program with the argument list and waits for it (the window keeps painting, with the
// hourglass cursor). True when it was started and ended by itself with exit code 0; the details go to
// *result when given. There is no window-show code: the archivers have no window here.
bool ExecutaEAguarda(const QString& program, const QStringList& arguments,
                     ExternalPrograms::Result* result = nullptr);

// Moves the files into a new archive, storing no directories ("zip -m -j"). Each entry is a file name
// or a mask of file names (masks ignore case, "*.db" takes "X.DB"); relative names are taken from the
// base directory. Every file and every mask must exist or match, otherwise nothing is packed. An
// existing archive is replaced only once the new one is complete, so a failure destroys nothing.
// Shows "O arquivo Zip.exe não foi encontrado." or "Ocorreu um erro na criação do arquivo." and
// returns false on failure.
bool CompactaArquivos(Prompts& prompts, const QStringList& files, const QString& archive);

// Unpacks the archive into the directory, overwriting files already there. The archive is tested
// first, entries that would land outside the directory (absolute, "..") or links refuse the whole
// archive, and the files are unpacked into an empty directory beside the destination before being
// moved in, so a damaged or hostile archive writes nothing into the destination.
// Shows "O arquivo UnZip.exe não foi encontrado." or "Ocorreu um erro na extração do arquivo." and
// returns false on failure.
bool DescompactaArquivo(Prompts& prompts, const QString& archive, const QString& directory);

// Unpacks the archive into an empty directory of the caller's (a fresh temporary one, discarded on
// failure): with nothing there to overwrite, no test beforehand and no move afterwards are needed,
// and unzip's own exit status decides (a damaged entry fails the whole unpacking). Entries that
// would land outside the directory, and links, refuse the archive. Shows the same boxes as
// DescompactaArquivo and returns false on failure.
bool DescompactaEmDiretorioVazio(Prompts& prompts, const QString& archive, const QString& directory);

// The entry names of an archive as stored (unzip -Z1), without showing anything; false when the
// unpacking program is missing or cannot read the archive.
bool ConteudoArquivo(const QString& archive, QStringList& entries);

// True when an entry name of an archive stays inside the directory it is unpacked into.
bool isSafeArchiveEntry(const QString& entry);
