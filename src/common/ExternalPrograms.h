#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// External programs (the archivers) are looked up beside the program first, then on PATH, and
// started with an argument list, never through a shell, so blanks and quotes in paths are harmless.
namespace ExternalPrograms {

// Full path of the program, or an empty string when it is nowhere to be found.
QString find(const QString& name);

struct Result {
    bool started = false;    // the program could be started at all
    bool normalExit = false; // it ended by itself (not crashed or killed)
    int exitCode = -1;
    QByteArray output; // standard output and error, merged
    bool succeeded() const { return started && normalExit && exitCode == 0; }
};

// Runs the program and waits for it while the window keeps repainting.
Result runAndWait(const QString& program, const QStringList& arguments, const QString& workingDirectory = {});

} // namespace ExternalPrograms
