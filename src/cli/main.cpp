// tarvendix-cli: the headless companion of Tarvendix. It runs the same operations as the screens,
// on the same libraries, for automation and for checking a whole flow without a display.

#include "BackupCommands.h"
#include "Backups.h"
#include "BatchCommands.h"
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
#include <memory>

namespace {

std::atomic_bool interrupted{false};

void onInterrupt(int) {
    // A second Ctrl+C ends the program at once.
    if (interrupted.exchange(true))
        std::_Exit(Refused);
}

const QString Synopsis = QStringLiteral("tarvendix-cli [--home DIR] --user LOGIN VERB ...");

const QList<const VerbGroup*>& groups() {
    static const QList<const VerbGroup*> all{&BatchCommands::group(),        &ReferenceCommands::group(),
                                             &ImportCommands::group(),       &DeliveryCommands::txtGroup(),
                                             &ReportCommands::group(),       &BackupCommands::backupGroup(),
                                             &BackupCommands::restoreGroup()};
    return all;
}

const VerbGroup* findGroup(const QString& name) {
    for (const VerbGroup* group : groups())
        if (group->name == name)
            return group;
    return nullptr;
}

// The options that take a value, of every verb.
QStringList valuedOptions() {
    QStringList all;
    for (const VerbGroup* group : groups())
        for (const Verb& verb : group->verbs())
            for (const QString& option : verb.valued)
                if (!all.contains(option))
                    all << option;
    return all;
}

QString generalHelp() {
    QString text =
        QStringLiteral("Uso: %1\n\n"
                       "Executa, sem janelas, as mesmas operações do programa Tarvendix.\n\n"
                       "  --home DIR     diretório base (o do banco de dados CapaCertific.db); o padrão é o "
                       "do programa,\n"
                       "                 ou TARVENDIX_HOME quando definido\n"
                       "  --user LOGIN   usuário; a senha vem de TARVENDIX_PASSWORD ou é pedida no terminal\n"
                       "  --help         esta ajuda; depois de um verbo, a ajuda do verbo\n\n"
                       "Verbos:\n")
            .arg(Synopsis);
    for (const VerbGroup* group : groups())
        for (const Verb& verb : group->verbs())
            text += QStringLiteral("  %1 %2\n").arg(group->name, verb.usage);
    text += QStringLiteral(
        "\nSaída: 0 feito; 1 recusado ou falhou; 2 erro de uso. As mensagens vão para stderr.");
    return text;
}

QString verbHelp(const VerbGroup& group, const Verb& verb) {
    if (!verb.allowed && !group.allowed)
        return QStringLiteral("Uso: tarvendix-cli [--home DIR] --user LOGIN %1 %2\n\n%3\n\n"
                              "Qualquer usuário do programa pode usá-lo.")
            .arg(group.name, verb.usage, verb.description);
    return QStringLiteral("Uso: tarvendix-cli [--home DIR] --user LOGIN %1 %2\n\n%3\n\n"
                          "Exige a permissão para %4.")
        .arg(group.name, verb.usage, verb.description, verb.allowed ? verb.permission : group.permission);
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
    TerminalPrompts::say(QStringLiteral("Uso: %1 (veja tarvendix-cli --help)").arg(Synopsis));
    return Usage;
}

int run(int argc, char** argv) {
    pinLocalTimeZone();
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tarvendix"));

    QString error;
    const std::optional<CommandLine> line =
        CommandLine::parse(QCoreApplication::arguments().mid(1), &error, valuedOptions());
    if (!line)
        return usage(error);
    if (line->words.isEmpty()) {
        if (line->help) {
            printOut(generalHelp());
            return Done;
        }
        return usage(QStringLiteral("Falta o verbo."));
    }
    const VerbGroup* group = findGroup(line->words.first());
    if (!group)
        return usage(QStringLiteral("Verbo desconhecido: %1").arg(line->words.first()));
    // A group of one unnamed verb is a verb itself ("import DIR"); so is the bare word of a group
    // whose unnamed verb stands beside named ones ("backup" beside "backup list").
    const bool direct = (group->verbs().size() == 1 && group->verbs().first().name.isEmpty()) ||
                        (line->words.size() == 1 && group->find(QString()));
    const bool whole = direct && group->find(QString())->argument.isEmpty();
    if (line->words.size() == 1 && !(direct && (line->help || whole))) {
        if (line->help) {
            printOut(generalHelp());
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
        printOut(verbHelp(*group, *verb));
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
