// tarvendix-cli: the headless companion of Tarvendix. It runs the same operations as the screens,
// on the same libraries, for automation and for checking a whole flow without a display.

#include "BatchCommands.h"
#include "CliLogin.h"
#include "Clock.h"
#include "CommandLine.h"
#include "Database.h"
#include "DbError.h"
#include "Session.h"
#include "TDMCapaSistema.h"
#include "TerminalPrompts.h"
#include "VerificaConfiguracao.h"

#include <QCoreApplication>
#include <QTextStream>
#include <atomic>
#include <csignal>

namespace {

std::atomic_bool interrupted{false};

void onInterrupt(int) {
    // A second Ctrl+C ends the program at once.
    if (interrupted.exchange(true))
        std::_Exit(Refused);
}

const QString Synopsis = QStringLiteral("tarvendix-cli [--home DIR] --user LOGIN VERB ...");

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
    for (const BatchCommands::Verb& verb : BatchCommands::verbs())
        text += QStringLiteral("  batch %1\n").arg(verb.usage);
    text += QStringLiteral(
        "\nSaída: 0 feito; 1 recusado ou falhou; 2 erro de uso. As mensagens vão para stderr.");
    return text;
}

QString verbHelp(const BatchCommands::Verb& verb) {
    return QStringLiteral("Uso: tarvendix-cli [--home DIR] --user LOGIN batch %1\n\n%2\n\n"
                          "Exige a permissão de Controle de Remessas.")
        .arg(verb.usage, verb.description);
}

void printOut(const QString& text) {
    QTextStream(stdout) << text << Qt::endl;
}

int usage(const QString& problem) {
    TerminalPrompts::say(problem);
    TerminalPrompts::say(QStringLiteral("Uso: %1 (veja tarvendix-cli --help)").arg(Synopsis));
    return Usage;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tarvendix"));

    QString error;
    const std::optional<CommandLine> line = CommandLine::parse(app.arguments().mid(1), &error);
    if (!line)
        return usage(error);
    if (line->words.isEmpty()) {
        if (line->help) {
            printOut(generalHelp());
            return Done;
        }
        return usage(QStringLiteral("Falta o verbo."));
    }
    if (line->words.first() != QLatin1String("batch"))
        return usage(QStringLiteral("Verbo desconhecido: %1").arg(line->words.first()));
    if (line->words.size() == 1) {
        if (line->help) {
            printOut(generalHelp());
            return Done;
        }
        return usage(QStringLiteral("Falta a operação de batch (list, prepare, cancel ou clear)."));
    }
    const BatchCommands::Verb* verb = BatchCommands::find(line->words[1]);
    if (!verb || line->words.size() > 2)
        return usage(
            QStringLiteral("Operação desconhecida: batch %1").arg(line->words.mid(1).join(QLatin1Char(' '))));
    if (line->help) {
        printOut(verbHelp(*verb));
        return Done;
    }
    if (const QString problem = BatchCommands::checkOptions(*verb, line->options); !problem.isEmpty())
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
        if (const QString refused = CliLogin::login(session, line->user); !refused.isEmpty()) {
            TerminalPrompts::say(refused);
        } else if (!session.user().permissions.AcContRemessas) {
            TerminalPrompts::say(
                QStringLiteral("Acesso negado: o usuário %1 não tem permissão para o Controle de "
                               "Remessas.")
                    .arg(session.user().SiglaUsu));
        } else {
            TDMCapaSistema capaSistema(session);
            if (VerificaConfiguracao(capaSistema, prompts))
                status = BatchCommands::run(session, prompts, *verb, line->options, interrupted);
        }
    } catch (const DbError& failure) {
        TerminalPrompts::say(failure.message());
        status = Refused;
    }
    Database::close(session.connectionName());
    return status;
}
