#include "BackupCommands.h"

#include "Backups.h"
#include "Clock.h"
#include "CommandLine.h"
#include "Database.h"
#include "DbError.h"
#include "Paths.h"
#include "Session.h"
#include "TerminalPrompts.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>

namespace BackupCommands {

namespace {

const QString To = QStringLiteral("--to");
const QString Yes = QStringLiteral("--yes");

const QList<Verb>& backupVerbs() {
    static const QList<Verb> all{
        {QString(),
         QStringLiteral("[--to FILE]"),
         QStringLiteral(
             "Faz agora uma cópia de segurança do banco de dados, verificada com \"PRAGMA "
             "integrity_check\", no diretório de cópias (só as mais recentes são guardadas; "
             "veja [copias] em tarvendix.conf), como \"Fazer cópia agora\". Mostra o nome da cópia.\n\n"
             "  --to FILE  grava a cópia em FILE (que não pode existir), fora do diretório de cópias."),
         {To},
         {To}},
        {QStringLiteral("list"),
         QStringLiteral("list"),
         QStringLiteral("Lista as cópias do diretório de cópias, da mais recente à mais antiga: data e hora, "
                        "tamanho em bytes, motivo e nome do arquivo, separados por tabulação."),
         {}},
    };
    return all;
}

const QList<Verb>& restoreVerbs() {
    static const QList<Verb> all{
        {QString(),
         QStringLiteral("FILE [--yes]"),
         QStringLiteral("Substitui o banco de dados pela cópia FILE (um caminho, ou o nome de uma cópia do "
                        "diretório de cópias), como \"Restaurar cópia...\". A cópia é verificada antes; o "
                        "banco de dados atual é antes copiado (motivo \"restauracao\"). Não use enquanto o "
                        "programa estiver aberto.\n\n"
                        "  --yes      responde \"Sim\" à confirmação."),
         {Yes},
         {},
         QStringLiteral("FILE")},
    };
    return all;
}

QString checkBackup(const Verb& verb, const CommandLine& line) {
    if (verb.name.isEmpty() && line.values.contains(To) && QFileInfo::exists(line.values.value(To)))
        return QStringLiteral("O arquivo %1 já existe.").arg(line.values.value(To));
    return {};
}

// A path, or the name of a copy in the directory of copies.
QString copyNamed(const QString& argument, const Backups::Settings& settings) {
    if (QFileInfo(argument).isFile())
        return QFileInfo(argument).absoluteFilePath();
    if (QFileInfo(settings.directory + argument).isFile())
        return settings.directory + argument;
    return {};
}

QString checkRestore(const Verb&, const CommandLine&) {
    // The copy is looked up when the verb runs: the directory of copies depends on --home.
    return {};
}

int runBackup(Session& session, TerminalPrompts&, const Verb& verb, const CommandLine& line,
              const std::atomic_bool&) {
    const QString file = Paths::databaseFile();
    const Backups::Settings settings = Backups::settingsFor(file);
    QTextStream out(stdout);
    if (verb.name == QLatin1String("list")) {
        for (const Backups::Copy& copy : Backups::list(settings))
            out << copy.when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) << '\t' << copy.size << '\t'
                << copy.reason << '\t' << QFileInfo(copy.file).fileName() << '\n';
        return Done;
    }
    try {
        QString made;
        if (line.values.contains(To)) {
            made = QFileInfo(line.values.value(To)).absoluteFilePath();
            Backups::copyTo(file, made);
        } else {
            made = Backups::make(file, Backups::Manual, session.clock().now(), settings);
        }
        out << QDir::toNativeSeparators(made) << '\n';
        return Done;
    } catch (const DbError& failure) {
        TerminalPrompts::say(failure.message());
        return Refused;
    }
}

int runRestore(Session& session, TerminalPrompts& prompts, const Verb&, const CommandLine& line,
               const std::atomic_bool&) {
    const QString file = Paths::databaseFile();
    const Backups::Settings settings = Backups::settingsFor(file);
    const QString copy = copyNamed(line.words.value(1), settings);
    if (copy.isEmpty()) {
        TerminalPrompts::say(QStringLiteral("A cópia %1 não foi encontrada.").arg(line.words.value(1)));
        return Refused;
    }
    prompts.setAssumeYes(line.options.contains(Yes));
    if (!prompts.confirm(
            QStringLiteral("Substituir o banco de dados %1 pela cópia %2? O banco de dados atual "
                           "será antes copiado.")
                .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(copy))))
        return Refused;
    Database::close(session.connectionName());
    try {
        const QString kept = Backups::restore(copy, file, session.clock().now(), settings);
        TerminalPrompts::say(QStringLiteral("Cópia restaurada. O banco de dados anterior foi guardado em %1.")
                                 .arg(QDir::toNativeSeparators(kept)));
        return Done;
    } catch (const DbError& failure) {
        TerminalPrompts::say(failure.message());
        return Refused;
    }
}

} // namespace

const VerbGroup& backupGroup() {
    // Any user of the program may make a copy.
    static const VerbGroup backup{QStringLiteral("backup"),
                                  QStringLiteral("fazer cópias"),
                                  nullptr,
                                  backupVerbs,
                                  checkBackup,
                                  runBackup};
    return backup;
}

const VerbGroup& restoreGroup() {
    static const VerbGroup restore{QStringLiteral("restore"),
                                   QStringLiteral("a Configuração do Certificador"),
                                   &Permissions::AcConfigOCC,
                                   restoreVerbs,
                                   checkRestore,
                                   runRestore};
    return restore;
}

} // namespace BackupCommands
