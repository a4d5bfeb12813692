#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// What a power cut leaves of the files under `home` after a run of the companion under the write
// shim (WriteShim.cpp) with TARVENDIX_SHIM_UNDO=undoLog, started at `start`:
// - a write the shim saw and no fsync of its file followed is undone (bytes and size as before);
// - a file changed since `start` by a writer the shim does not see (another program's stdio, a
//   kernel copy) and never fsynced afterwards loses its contents: it is left empty;
// - creations, renames and deletions are taken to have reached the disk.
// Returns one line per file touched, for the failure messages.
QStringList simulatePowerCut(const QString& home, const QString& undoLog, const QDateTime& start);
