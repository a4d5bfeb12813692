#pragma once

#include "Prompts.h"

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace fuzz {

QByteArray bytesOf(const uint8_t* data, size_t size);

// An input made of several texts: the parts between zero bytes, at most `count` of them (the last
// one keeps any further zero bytes).
QList<QByteArray> parts(const QByteArray& bytes, int count);

// Ends the process with the message when a promise of the reader does not hold.
void check(bool holds, const char* what);

// A directory of the process's own, removed at exit, for readers that take a file.
QString scratchDirectory();
// Writes the bytes into the file of that name in the scratch directory; returns its path.
QString writeScratchFile(const QString& name, const QByteArray& bytes);

// A database in memory with the program's schema and its SQL functions, opened once per process
// under the connection name.
QSqlDatabase memoryDatabase(const QString& connectionName);

// Answers every box with its first button and every chooser with nothing.
class SilentPrompts : public Prompts {
public:
    PromptAnswer show(PromptKind kind, const QString&, const QString&) override;
    QString chooseDirectory(const QString&, const QString&) override { return {}; }
    QString chooseOpenFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseSaveFile(const QString&, const QString&, const QString&) override { return {}; }
};

} // namespace fuzz
