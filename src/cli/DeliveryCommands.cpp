#include "DeliveryCommands.h"

#include "CommandLine.h"
#include "EnvioTXT.h"
#include "GravaDisquete.h"
#include "Session.h"
#include "SharedBatchState.h"
#include "TerminalPrompts.h"
#include "TransferenciaRemota.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <chrono>
#include <exception>
#include <thread>

namespace DeliveryCommands {

namespace {

void out(const QString& line) {
    QTextStream stream(stdout);
    stream << line << Qt::endl;
}

// Runs the work on a thread of its own and passes Ctrl+C on to the operation meanwhile.
template <typename Operation>
std::function<void(const std::function<void()>&)> runner(Operation& operation,
                                                         const std::atomic_bool& interromper) {
    return [&operation, &interromper](const std::function<void()>& work) {
        std::atomic_bool done{false};
        std::exception_ptr failure;
        // An error on the worker is taken to this thread, where the verb reports it.
        std::thread worker([&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
            done = true;
        });
        bool passed = false;
        while (!done) {
            if (interromper && !passed) {
                operation.interrompe();
                passed = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        worker.join();
        if (failure)
            std::rethrow_exception(failure);
    };
}

} // namespace

QString optionsHelp() {
    return QStringLiteral(
        "  --ftp      envia por FTP ao diretório do \"Endereço Kavorel para Envio de Remessas\".\n"
        "  --email    envia como anexo pelo servidor de E-MAIL (SMTP) configurado.\n"
        "  --copy DIR grava uma cópia no diretório DIR (disquete ou outra mídia removível).\n"
        "O andamento sai em stderr; o destino do arquivo entregue, em stdout.");
}

QString checkMode(const CommandLine& line) {
    const int chosen = int(line.options.contains(Ftp)) + int(line.options.contains(Email)) +
                       int(line.options.contains(Copy));
    if (chosen != 1)
        return QStringLiteral("Escolha o modo de transferência: --ftp, --email ou --copy DIR.");
    if (line.options.contains(Copy) && line.values.value(Copy).isEmpty())
        return QStringLiteral("Falta o diretório de --copy DIR.");
    return {};
}

int deliver(Session& session, SharedBatchState& state, const QString& diretorio, const QString& nomeArquivo,
            const CommandLine& line, const std::atomic_bool& interromper) {
    if (line.options.contains(Copy)) {
        const QString destino = QDir(line.values.value(Copy)).absolutePath();
        GravaDisquete gravacao(session, state, diretorio, nomeArquivo, destino);
        const GravaDisquete::Desfecho desfecho = gravacao.executa(runner(gravacao, interromper));
        if (desfecho == GravaDisquete::Desfecho::NaoIniciada)
            return Refused;
        TerminalPrompts::say(gravacao.resultado());
        if (desfecho != GravaDisquete::Desfecho::Sucesso)
            return Refused;
        out(gravacao.caminhoDestino());
        return Done;
    }
    const ModoEntrega modo = line.options.contains(Ftp) ? ModoEntrega::Ftp : ModoEntrega::Email;
    TransferenciaRemota transferencia(session, state, modo, diretorio, nomeArquivo);
    transferencia.setAvisos({[](const QString& linha) { TerminalPrompts::say(linha); }, {}, {}});
    const TransferenciaRemota::Desfecho desfecho = transferencia.executa(runner(transferencia, interromper));
    if (desfecho != TransferenciaRemota::Desfecho::Sucesso)
        return Refused;
    if (modo == ModoEntrega::Ftp) {
        // The URL the file went to: an absolute directory shows as "%2F" after the host.
        const auto destino = TransferenciaRemota::destinoFtp(state.EndKavorelEnvio, {}, {});
        out(FtpClient::urlOf(destino.endpoint, destino.diretorio, transferencia.entrega().nomeEnviado()));
    } else {
        out(transferencia.entrega().caminhoEnviado());
    }
    return Done;
}

namespace {

const QList<Verb>& txtVerbs() {
    static const QList<Verb> list{
        {QStringLiteral("send"),
         QStringLiteral("send FILE --ftp|--email|--copy DIR"),
         QStringLiteral(
             "Envia ao Kavorel o arquivo TXT FILE (\"TX-\" + sigla do certificador + \"*.txt\"), como "
             "\"Envio de Arquivo TXT\": o arquivo vai compactado no zip do mesmo nome, é registrado "
             "como enviado e só então sai do diretório; um arquivo já registrado não é enviado de "
             "novo.\n") +
             optionsHelp(),
         {Ftp, Email, Copy},
         {Copy},
         QStringLiteral("FILE")},
    };
    return list;
}

QString txtCheck(const Verb&, const CommandLine& line) {
    if (const QString problem = checkMode(line); !problem.isEmpty())
        return problem;
    const QString file = line.words.value(2);
    if (!QFileInfo(file).isFile())
        return QStringLiteral("O arquivo %1 não foi encontrado.").arg(file);
    return {};
}

int txtRun(Session& session, TerminalPrompts&, const Verb&, const CommandLine& line,
           const std::atomic_bool& interromper) {
    const QFileInfo file(line.words.value(2));
    SharedBatchState state;
    state.load(session.database(), session.user());
    if (!EnvioTXT::ehElegivel(file.fileName(), state.SiglaCertificador)) {
        TerminalPrompts::say(QStringLiteral("O arquivo %1 não é um arquivo TXT deste certificador (%2).")
                                 .arg(file.fileName(), EnvioTXT::mascara(state.SiglaCertificador)));
        return Refused;
    }
    if (const QString problem = EnvioTXT::problemaEnvio(session.database(), file.fileName());
        !problem.isEmpty()) {
        TerminalPrompts::say(problem);
        return Refused;
    }
    EnvioTXT::carregaEstado(state, session.database(), session.user(), file.absolutePath());
    return deliver(session, state, state.DirLocalTransf, file.fileName(), line, interromper);
}

} // namespace

const VerbGroup& txtGroup() {
    static const VerbGroup txt{QStringLiteral("txt"),
                               QStringLiteral("o Controle de Remessas"),
                               &Permissions::AcContRemessas,
                               txtVerbs,
                               txtCheck,
                               txtRun};
    return txt;
}

} // namespace DeliveryCommands
