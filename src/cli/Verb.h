#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>

struct CommandLine;
class Session;
class TerminalPrompts;
struct Permissions;

// One operation of the companion, e.g. "batch prepare" or "reference install".
struct Verb {
    QString name;         // "list", "prepare", "install", ...
    QString usage;        // the line after "tarvendix-cli [--home DIR] --user LOGIN <group> "
    QString description;  // what --help shows
    QStringList options;  // the options it takes
    QStringList valued{}; // those of them that take a value ("--local DIR")
    QString argument{};   // the name of its one word after the verb ("VERSION"), empty when none
    // A permission of its own instead of its group's (the reports of users or of batches).
    QString permission{};
    bool Permissions::*allowed = nullptr;
};

// A family of verbs under one word ("batch", "reference"), the permission that opens it and how
// its verbs run.
struct VerbGroup {
    QString name;
    QString permission;         // what the refusal and --help call it
    bool Permissions::*allowed; // the user's permission that opens it
    const QList<Verb>& (*verbs)();
    // The options' problem beyond unknown ones (a required choice missing), or empty.
    QString (*checkOptions)(const Verb& verb, const CommandLine& line);
    // Runs the verb for the logged-in user; returns the exit status. Messages go to stderr,
    // results to stdout.
    int (*run)(Session& session, TerminalPrompts& prompts, const Verb& verb, const CommandLine& line,
               const std::atomic_bool& interromper);

    const Verb* find(const QString& verbName) const;
    // "list, prepare, cancel ou clear"
    QString verbNames() const;
};
