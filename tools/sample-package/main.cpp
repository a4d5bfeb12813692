// tarvendix-sample-package: writes the invented sample reference-table package
// "OC-TAB-<version>.zip" for trying the version screens without the authority's server. The rows
// are the sample reference data (scripts/sample-reference.sql) with the sample package's changes
// (scripts/sample-reference-package.sql), written with the program's own Paradox writer, the
// tables protected with the installation's table password as the authority may do.
//
//   tarvendix-sample-package OUTPUT-DIR ACRONYM VERSION

#include "Database.h"
#include "DbError.h"
#include "PacoteReferencia.h"
#include "ParadoxTable.h"
#include "Prompts.h"
#include "Versoes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <sqlite3.h>

namespace {

// Every box as its text on stderr; nothing is ever asked.
class StderrPrompts : public Prompts {
public:
    PromptAnswer show(PromptKind, const QString& caption, const QString& text) override {
        QTextStream(stderr) << (caption.isEmpty() ? text : caption + QStringLiteral(": ") + text) << Qt::endl;
        return PromptAnswer::No;
    }
    QString chooseDirectory(const QString&, const QString&) override { return {}; }
    QString chooseOpenFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseSaveFile(const QString&, const QString&, const QString&) override { return {}; }
};

void runScript(const QSqlDatabase& db, const QString& file, const QString& sigla, const QString& versao) {
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("%1 não foi encontrado").arg(file));
    const QString sql = QString::fromUtf8(source.readAll())
                            .replace(QStringLiteral("{SIGLA}"), sigla)
                            .replace(QStringLiteral("{VERSAO}"), versao);
    char* message = nullptr;
    if (sqlite3_exec(Database::handle(db), sql.toUtf8().constData(), nullptr, nullptr, &message) !=
        SQLITE_OK) {
        const QString text = QString::fromUtf8(message);
        sqlite3_free(message);
        throw DbError(QStringLiteral("%1: %2").arg(file, text));
    }
}

int fail(const QString& text) {
    QTextStream(stderr) << text << Qt::endl;
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 3)
        return fail(QStringLiteral("Uso: tarvendix-sample-package OUTPUT-DIR ACRONYM VERSION"));
    const QString output = args[0];
    const QString sigla = args[1];
    const QString versao = args[2];
    if (!QRegularExpression(QStringLiteral("^[A-Z0-9]{1,8}$")).match(sigla).hasMatch())
        return fail(
            QStringLiteral("A sigla do certificador deve ter de 1 a 8 letras maiúsculas ou algarismos."));
    if (!Versoes::nomeDeVersao(Versoes::nomeArquivo(versao)))
        return fail(QStringLiteral("A versão deve ter 10 algarismos: AAAAMMDDNN."));
    if (!QDir(output).exists())
        return fail(QStringLiteral("O diretório %1 não existe.").arg(output));

    QTemporaryDir work;
    const QString connection = QStringLiteral("amostra");
    int status = 0;
    try {
        const QSqlDatabase db = Database::open(work.filePath(QStringLiteral("amostra.db")), connection);
        const QString scripts = QStringLiteral(TARVENDIX_SOURCE_DIR "/scripts/");
        runScript(db, scripts + QStringLiteral("sample-reference.sql"), sigla, versao);
        runScript(db, scripts + QStringLiteral("sample-reference-package.sql"), sigla, versao);
        StderrPrompts prompts;
        const QString archive = escrevePacoteReferencia(
            db, prompts, output, versao, Versoes::tabelasReferencia(), ParadoxTable::SenhaTabelas);
        QTextStream(stdout) << QFileInfo(archive).absoluteFilePath() << Qt::endl;
    } catch (const DbError& error) {
        status = fail(error.message());
    }
    Database::close(connection);
    return status;
}
