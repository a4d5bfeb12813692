#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// Exit status of the companion.
enum ExitStatus { Done = 0, Refused = 1, Usage = 2 };

// tarvendix-cli [--home DIR] --user LOGIN VERB ... [--help]
struct CommandLine {
    QString home;        // --home DIR (or --home=DIR): the base directory, as TARVENDIX_HOME would set it
    QString user;        // --user LOGIN (or --user=LOGIN)
    bool help = false;   // --help or -h anywhere
    QStringList words;   // the verb and its words, e.g. {"batch", "prepare"}
    QStringList options; // the verb's options, e.g. {"--partial", "--preview"}
    QMap<QString, QString> values; // the values of the options that take one, e.g. {"--local", "/mnt"}

    // Reads the arguments (without the program name); `valued` names the options that take a
    // value ("--local DIR" or "--local=DIR"). An error text when they cannot be read.
    static std::optional<CommandLine> parse(const QStringList& arguments, QString* error,
                                            const QStringList& valued = {});
};
