#pragma once

#include "Verb.h"

#include <atomic>

struct SharedBatchState;

// Delivering a batch archive or a text file from the companion, over the same operations as the
// delivery screens: "--ftp" (the authority's FTP server), "--email" (the certifier's SMTP server) or
// "--copy DIR" (a directory, e.g. removable media).
namespace DeliveryCommands {

inline const QString Ftp = QStringLiteral("--ftp");
inline const QString Email = QStringLiteral("--email");
inline const QString Copy = QStringLiteral("--copy");

// The options of a delivery verb, for its description.
QString optionsHelp();
// Exactly one mode must be chosen; empty when the line is sound.
QString checkMode(const CommandLine& line);

// Delivers `nomeArquivo` of `diretorio` in the chosen mode: the log goes to stderr as it grows,
// the delivered file's destination to stdout. Ctrl+C interrupts (an FTP upload only until the
// connection is up, as on screen). Returns the exit status.
int deliver(Session& session, SharedBatchState& state, const QString& diretorio, const QString& nomeArquivo,
            const CommandLine& line, const std::atomic_bool& interromper);

// The "txt" verbs: "txt send FILE --ftp|--email|--copy DIR".
const VerbGroup& txtGroup();

} // namespace DeliveryCommands
