#pragma once

#include <QString>
#include <atomic>

struct CommandLine;
class Session;
class TerminalPrompts;
struct SharedBatchState;

// "batch result": the verdict on the delivered batch, fetched from the authority's FTP server
// (--fetch) or typed as the confirmation code (--code CODE [--remarks TEXT]), processed by the same
// operations as "Recebe Resultado Automático" and "Recebe Resultado Manual".
namespace ResultCommands {

inline const QString Fetch = QStringLiteral("--fetch");
inline const QString Code = QStringLiteral("--code");
inline const QString Remarks = QStringLiteral("--remarks");

// The options' problem (neither or both of --fetch and --code, remarks with --fetch), or empty.
QString checkOptions(const CommandLine& line);

int run(Session& session, TerminalPrompts& prompts, SharedBatchState& state, const CommandLine& line,
        const std::atomic_bool& interromper);

} // namespace ResultCommands
