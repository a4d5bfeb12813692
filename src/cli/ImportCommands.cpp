#include "ImportCommands.h"

#include "CommandLine.h"
#include "ImportacaoConsole.h"
#include "Session.h"
#include "TerminalPrompts.h"

#include <QDir>
#include <QTextStream>

namespace ImportCommands {

namespace {

const QList<Verb>& verbs() {
    // The group is its own verb: "import DIR".
    static const QList<Verb> all{
        {QString(),
         QStringLiteral("DIR"),
         QStringLiteral(
             "Importa, um por um e na ordem dos nomes, os arquivos \"TX-\" do diretório DIR, como "
             "\"Importa dados Arquivo TXT\": cada arquivo numa transação; um arquivo com erro não "
             "grava nada e deixa os seus arquivos de erro no diretório. Mostra o resultado de cada "
             "arquivo. Saída 0 quando todos foram importados, 1 quando algum falhou ou foi "
             "recusado, ou quando o diretório não tem arquivos de importação."),
         {},
         {},
         QStringLiteral("DIR")},
    };
    return all;
}

QString checkOptions(const Verb&, const CommandLine& line) {
    const QString directory = line.words.value(1);
    if (!QDir(directory).exists())
        return QStringLiteral("O diretório %1 não foi encontrado.").arg(directory);
    return {};
}

int run(Session& session, TerminalPrompts& prompts, const Verb&, const CommandLine& line,
        const std::atomic_bool&) {
    ImportacaoTxt::Parametros parametros;
    parametros.db = session.database();
    parametros.clock = &session.clock();
    parametros.prompts = &prompts;
    parametros.usuario = session.user().SiglaUsu;
    parametros.podeAprovar = session.user().permissions.AcAprovCertific;
    const QString directory = QDir(line.words.value(1)).absolutePath();
    if (ImportacaoTxt::arquivosDoDiretorio(directory).isEmpty()) {
        TerminalPrompts::say(
            QStringLiteral("Nenhum arquivo %1 em %2.").arg(ImportacaoTxt::MascaraArquivos, directory));
        return Refused;
    }
    QTextStream out(stdout);
    const int status = importaDiretorio(parametros, directory, out);
    out.flush();
    return status == 0 ? Done : Refused;
}

} // namespace

const VerbGroup& group() {
    static const VerbGroup import{QStringLiteral("import"),
                                  QStringLiteral("a Manutenção da Base de Dados"),
                                  &Permissions::AcManBase,
                                  verbs,
                                  checkOptions,
                                  run};
    return import;
}

} // namespace ImportCommands
