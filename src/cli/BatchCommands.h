#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>

class Session;
class TerminalPrompts;

// The "batch" verbs of the companion, over the same operations as the batch screens.
namespace BatchCommands {

struct Verb {
    QString name;        // "list", "prepare", "cancel", "clear"
    QString usage;       // the line after "tarvendix-cli [--home DIR] --user LOGIN batch "
    QString description; // what --help shows
    QStringList options; // the options it takes
};

const QList<Verb>& verbs();
const Verb* find(const QString& name);

// The options' problem (unknown option, a required choice missing), or empty.
QString checkOptions(const Verb& verb, const QStringList& options);

// Runs the verb for the logged-in user; returns the exit status. Messages go to stderr, results
// (lists, counts, the archive made) to stdout.
int run(Session& session, TerminalPrompts& prompts, const Verb& verb, const QStringList& options,
        const std::atomic_bool& interromper);

} // namespace BatchCommands
