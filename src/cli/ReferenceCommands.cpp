#include "ReferenceCommands.h"

#include "AtualizaVersao.h"
#include "CommandLine.h"
#include "ConfigLocal.h"
#include "Formats.h"
#include "InstalaVersao.h"
#include "Session.h"
#include "TerminalPrompts.h"
#include "Versoes.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <chrono>
#include <exception>
#include <thread>

namespace ReferenceCommands {

namespace {

const QString Ftp = QStringLiteral("--ftp");
const QString Local = QStringLiteral("--local");

void out(const QString& line) {
    QTextStream stream(stdout);
    stream << line << Qt::endl;
}

QString dataHora(const QDateTime& moment) {
    return moment.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
}

int list(Session& session) {
    const QSqlDatabase db = session.database();
    const Versoes::VersaoInstalada installed = Versoes::versaoInstalada(db);
    if (!installed.existe()) {
        TerminalPrompts::say(QStringLiteral("Nenhuma versão das tabelas auxiliares foi instalada."));
        return Done;
    }
    out(QStringLiteral("Número da Versão: %1").arg(installed.numero));
    out(QStringLiteral("Arquivo da Versão: %1").arg(installed.arquivo));
    out(QString());
    out(QStringLiteral("Histórico de Atualizações de Versão"));
    out(QStringLiteral("%1  %2  %3")
            .arg(QStringLiteral("Data/Hora"), -19)
            .arg(QStringLiteral("Versão Instalada"), -16)
            .arg(QStringLiteral("Arquivo da Versão")));
    for (const Versoes::Instalacao& row : Versoes::historico(db))
        out(QStringLiteral("%1  %2  %3")
                .arg(dataHora(row.dataHora), -19)
                .arg(row.numero, -16)
                .arg(row.arquivo));
    return Done;
}

// The installation of an archive already in the reception directory, as both screens end.
int instala(Session& session, const QString& recepcao, const QString& arquivo, const QString& numero,
            const QString& textoSucesso) {
    TerminalPrompts::say(QStringLiteral("Atualizando tabelas para a nova versão... Aguarde."));
    QString detalhe;
    if (!InstalaVersao(session.database(), session.clock(), session.prompts(), recepcao, arquivo, numero,
                       &detalhe)) {
        if (!detalhe.isEmpty())
            TerminalPrompts::say(detalhe);
        return Refused;
    }
    TerminalPrompts::say(textoSucesso);
    out(numero);
    return Done;
}

// Runs the search on a worker, passing on an interruption (Ctrl+C) as the screen's button would.
AtualizaVersao::Resultado busca(AtualizaVersao& operation,
                                const std::function<AtualizaVersao::Resultado()>& work,
                                const std::atomic_bool& interromper) {
    AtualizaVersao::Resultado result;
    std::atomic_bool done{false};
    std::exception_ptr failure;
    // An error on the worker is taken to this thread, where the verb reports it.
    std::thread worker([&] {
        try {
            result = work();
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
    });
    bool asked = false;
    while (!done) {
        if (interromper && !asked) {
            operation.interrompe();
            asked = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
    return result;
}

int install(Session& session, const CommandLine& line, const std::atomic_bool& interromper) {
    const QSqlDatabase db = session.database();
    const ConfigLocal config = ConfigLocalTable::load(db).value_or(ConfigLocal{});
    const QString recepcao = config.DirLocalRecepAux;
    if (const QString problem = Versoes::problemaRecepcao(recepcao); !problem.isEmpty()) {
        TerminalPrompts::say(problem);
        return Refused;
    }
    const bool internet = line.options.contains(Ftp);
    const QString directory = line.values.value(Local);
    if (!internet && !QFileInfo(directory).isDir()) {
        TerminalPrompts::say(QStringLiteral("O diretório \"%1\" não foi encontrado.").arg(directory));
        return Refused;
    }

    AtualizaVersao operation(recepcao, Versoes::versaoInstalada(db).numero);
    operation.setAvisos({[](const QString& arquivo, const QString& versao) {
                             TerminalPrompts::say(QStringLiteral("Arquivo: %1").arg(arquivo));
                             TerminalPrompts::say(QStringLiteral("Versão encontrada: %1").arg(versao));
                             TerminalPrompts::say(QStringLiteral("Transferindo arquivo com nova versão..."));
                         },
                         {},
                         {}});
    TerminalPrompts::say(QStringLiteral("Procura por versão mais atualizada...."));
    AtualizaVersao::Resultado result;
    if (internet) {
        const FtpAddress address = SeparaEnderecoFTP(config.EndKavorelOrigAux);
        const FtpEndpoint endpoint{address.host, address.port.toInt(), config.LoginFTP, config.SenhaFTP};
        result = busca(
            operation, [&] { return operation.pelaInternet(endpoint, address.directory); }, interromper);
    } else {
        result = busca(
            operation, [&] { return operation.doDiretorio(directory); }, interromper);
    }
    switch (result.desfecho) {
    case AtualizaVersao::Desfecho::Obtida:
        return instala(session, recepcao, result.arquivo, result.versao,
                       QStringLiteral("A nova versão foi instalada sem problemas."));
    case AtualizaVersao::Desfecho::NenhumaMaisNova:
        // Being up to date is no failure: nothing was asked that could not be done.
        TerminalPrompts::say(result.texto);
        return Done;
    case AtualizaVersao::Desfecho::Falhou:
    case AtualizaVersao::Desfecho::Interrompida:
        TerminalPrompts::say(result.texto);
        return Refused;
    }
    return Refused;
}

int reinstall(Session& session, const CommandLine& line) {
    const QSqlDatabase db = session.database();
    const QString numero = line.words.value(2);
    const QList<Versoes::Instalacao> installed = Versoes::porVersao(db);
    const auto row = std::find_if(installed.begin(), installed.end(),
                                  [&](const Versoes::Instalacao& each) { return each.numero == numero; });
    if (row == installed.end()) {
        TerminalPrompts::say(
            QStringLiteral("A versão %1 não está no histórico de atualizações de versão.").arg(numero));
        return Refused;
    }
    const QString recepcao = ConfigLocalTable::load(db).value_or(ConfigLocal{}).DirLocalRecepAux;
    if (!Versoes::arquivoNaRecepcao(recepcao, row->arquivo)) {
        TerminalPrompts::say(QStringLiteral("O arquivo da versão anterior não foi encontrado."));
        return Refused;
    }
    return instala(session, recepcao, row->arquivo, row->numero,
                   QStringLiteral("A versão anterior foi instalada sem problemas."));
}

const QList<Verb>& verbs() {
    static const QList<Verb> list{
        {QStringLiteral("list"),
         QStringLiteral("list"),
         QStringLiteral(
             "Mostra a versão atual das tabelas auxiliares e o histórico de atualizações de versão, "
             "a mais recente primeiro: data/hora, versão instalada e arquivo da versão."),
         {}},
        {QStringLiteral("install"),
         QStringLiteral("install --ftp|--local DIR"),
         QStringLiteral(
             "Procura a versão mais nova das tabelas auxiliares, transfere o seu arquivo \"OC-TAB-...zip\" "
             "para "
             "o Diretório Local de Recepção de Tabelas Auxiliares e a instala.\n"
             "  --ftp        no Endereço Kavorel para Busca de Novas Versões (Login e Senha FTP das "
             "configurações).\n"
             "  --local DIR  nos arquivos do diretório DIR.\n"
             "Sem versão mais nova, diz isso e termina com 0. A versão instalada sai em stdout."),
         {Ftp, Local},
         {Local}},
        {QStringLiteral("reinstall"),
         QStringLiteral("reinstall VERSION"),
         QStringLiteral(
             "Instala de novo uma versão do histórico (mais antiga ou não) a partir do seu arquivo, "
             "que deve estar ainda no Diretório Local de Recepção de Tabelas Auxiliares."),
         {},
         {},
         QStringLiteral("VERSION")},
    };
    return list;
}

QString checkOptions(const Verb& verb, const CommandLine& line) {
    if (verb.name == QLatin1String("install") && line.options.contains(Ftp) == line.options.contains(Local))
        return QStringLiteral("Escolha a origem da versão: --ftp ou --local DIR.");
    return {};
}

int run(Session& session, TerminalPrompts&, const Verb& verb, const CommandLine& line,
        const std::atomic_bool& interromper) {
    if (verb.name == QLatin1String("list"))
        return list(session);
    if (verb.name == QLatin1String("install"))
        return install(session, line, interromper);
    return reinstall(session, line);
}

} // namespace

const VerbGroup& group() {
    static const VerbGroup reference{QStringLiteral("reference"),
                                     QStringLiteral("a Atualização de Tabelas Kavorel"),
                                     &Permissions::AcAtualTabAux,
                                     verbs,
                                     checkOptions,
                                     run};
    return reference;
}

} // namespace ReferenceCommands
