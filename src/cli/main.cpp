// tarvendix-cli: the headless companion of Tarvendix. It runs the same operations as the screens,
// on the same libraries, for automation and for checking a whole flow without a display.

#include "BackupCommands.h"
#include "Backups.h"
#include "BatchCommands.h"
#include "CliHelp.h"
#include "CliLogin.h"
#include "Clock.h"
#include "CommandLine.h"
#include "Database.h"
#include "DbError.h"
#include "DeliveryCommands.h"
#include "ImportCommands.h"
#include "LocalTime.h"
#include "Paths.h"
#include "ReferenceCommands.h"
#include "ReportCommands.h"
#include "Session.h"
#include "TDMCapaSistema.h"
#include "TerminalPrompts.h"
#include "VerificaConfiguracao.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>

namespace {

std::atomic_bool interrupted{false};

void onInterrupt(int) {
    // A second Ctrl+C ends the program at once.
    if (interrupted.exchange(true))
        std::_Exit(Refused);
}

// The options that take a value, of every verb.
QStringList valuedOptions() {
    QStringList all;
    for (const VerbGroup* group : CliHelp::groups())
        for (const Verb& verb : group->verbs())
            for (const QString& option : verb.valued)
                if (!all.contains(option))
                    all << option;
    return all;
}

// Reports paint text, which needs a GUI application for its fonts; it runs on the offscreen
// platform, so no display is needed.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    bool reports = false;
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "report") == 0)
            reports = true;
    if (!reports)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

// The problem of the verb's words and options, or empty.
QString checkVerb(const VerbGroup& group, const Verb& verb, const CommandLine& line) {
    for (const QString& option : line.options)
        if (!verb.options.contains(option))
            return QStringLiteral("Opção desconhecida para %1: %2")
                .arg(verb.name.isEmpty() ? group.name : group.name + QLatin1Char(' ') + verb.name, option);
    const bool direct = verb.name.isEmpty();
    if (!verb.argument.isEmpty() && line.words.size() < (direct ? 2 : 3))
        return QStringLiteral("Falta o argumento %1 de %2 %3.").arg(verb.argument, group.name, verb.name);
    return group.checkOptions(verb, line);
}

void printOut(const QString& text) {
    QTextStream(stdout) << text << Qt::endl;
}

int usage(const QString& problem) {
    TerminalPrompts::say(problem);
    TerminalPrompts::say(QStringLiteral("Uso: %1 (veja tarvendix-cli --help)").arg(CliHelp::synopsis()));
    return Usage;
}

// Qt's own diagnostics (such as the offscreen platform's note on XDG_RUNTIME_DIR) are not the
// companion's messages: a script reading stderr, or the journal of a scheduled run, would take them
// for its own. Only a critical or fatal one still goes out, as Qt would print it.
void quietQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fputs(qPrintable(qFormatLogMessage(type, context, message) + QLatin1Char('\n')), stderr);
}

// The hidden options that print what the build installs beside the program (the manual page and the
// bash completion), and --version: answered before any database is looked at.
std::optional<QString> selfDescription(const CommandLine& line) {
    if (!line.words.isEmpty() || line.help)
        return std::nullopt;
    if (line.options == QStringList{QStringLiteral("--version")})
        return CliHelp::versionText();
    if (line.options == QStringList{QStringLiteral("--man")})
        return CliHelp::manualPage();
    if (line.options == QStringList{QStringLiteral("--bash-completion")})
        return CliHelp::bashCompletion();
    return std::nullopt;
}

int run(int argc, char** argv) {
    pinLocalTimeZone();
    qInstallMessageHandler(quietQtMessages);
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tarvendix"));

    QString error;
    const std::optional<CommandLine> line =
        CommandLine::parse(QCoreApplication::arguments().mid(1), &error, valuedOptions());
    if (!line)
        return usage(error);
    if (const std::optional<QString> text = selfDescription(*line)) {
        printOut(text->endsWith(QLatin1Char('\n')) ? text->chopped(1) : *text);
        return Done;
    }
    if (line->words.isEmpty()) {
        if (line->help) {
            printOut(CliHelp::generalHelp());
            return Done;
        }
        return usage(QStringLiteral("Falta o verbo."));
    }
    const VerbGroup* group = CliHelp::findGroup(line->words.first());
    if (!group)
        return usage(QStringLiteral("Verbo desconhecido: %1").arg(line->words.first()));
    // A group of one unnamed verb is a verb itself ("import DIR"); so is the bare word of a group
    // whose unnamed verb stands beside named ones ("backup" beside "backup list").
    const bool direct = (group->verbs().size() == 1 && group->verbs().first().name.isEmpty()) ||
                        (line->words.size() == 1 && group->find(QString()));
    const bool whole = direct && group->find(QString())->argument.isEmpty();
    if (line->words.size() == 1 && !(direct && (line->help || whole))) {
        if (line->help) {
            printOut(CliHelp::generalHelp());
            return Done;
        }
        if (direct)
            return usage(QStringLiteral("Falta o argumento %1 de %2.")
                             .arg(group->verbs().first().argument, group->name));
        return usage(QStringLiteral("Falta a operação de %1 (%2).").arg(group->name, group->verbNames()));
    }
    const Verb* verb = direct ? group->find(QString()) : group->find(line->words[1]);
    if (!verb || line->words.size() > (direct ? 1 : 2) + (verb->argument.isEmpty() ? 0 : 1))
        return usage(QStringLiteral("Operação desconhecida: %1").arg(line->words.join(QLatin1Char(' '))));
    if (line->help) {
        printOut(CliHelp::verbHelp(*group, *verb));
        return Done;
    }
    if (const QString problem = checkVerb(*group, *verb, *line); !problem.isEmpty())
        return usage(problem);
    if (line->user.isEmpty())
        return usage(QStringLiteral("Falta o usuário (--user LOGIN)."));
    if (!line->home.isEmpty())
        qputenv("TARVENDIX_HOME", line->home.toLocal8Bit());

    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);

    SystemClock clock;
    TerminalPrompts prompts;
    Session session(Database::ConnectionName, clock, prompts);
    int status = Refused;
    try {
        bool Permissions::*const needed = verb->allowed ? verb->allowed : group->allowed;
        // Before anything opens the file: a damaged database is offered its newest good copy (which
        // "restore --yes" accepts) and is otherwise left alone; a newer one is refused.
        TerminalPrompts startPrompts(group == &BackupCommands::restoreGroup() &&
                                     line->options.contains(QStringLiteral("--yes")));
        if (!Backups::startupCheck(Paths::databaseFile(), startPrompts, clock.now())) {
            status = Refused;
        } else if (const QString refused = CliLogin::login(session, line->user); !refused.isEmpty()) {
            TerminalPrompts::say(refused);
        } else if (needed && !(session.user().permissions.*needed)) {
            TerminalPrompts::say(
                QStringLiteral("Acesso negado: o usuário %1 não tem permissão para %2.")
                    .arg(session.user().SiglaUsu, verb->allowed ? verb->permission : group->permission));
        } else {
            TDMCapaSistema capaSistema(session);
            if (VerificaConfiguracao(capaSistema, prompts))
                status = group->run(session, prompts, *verb, *line, interrupted);
        }
    } catch (...) {
        // A refusal (a DbError) or anything unforeseen ends the verb with its message, never with
        // an abort.
        TerminalPrompts::say(messageOfError(std::current_exception()));
        status = Refused;
    }
    Database::close(session.connectionName());
    return status;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (...) {
        TerminalPrompts::say(messageOfError(std::current_exception()));
        return Refused;
    }
}
