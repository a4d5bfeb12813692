#include "ResultCommands.h"

#include "BatchCommands.h"
#include "BatchControl.h"
#include "BuscaResultado.h"
#include "CommandLine.h"
#include "Formats.h"
#include "ResultadoRemessa.h"
#include "Session.h"
#include "SharedBatchState.h"
#include "TerminalPrompts.h"

namespace ResultCommands {

namespace {

void sayAll(const QStringList& lines) {
    for (const QString& line : lines)
        TerminalPrompts::say(line);
}

int fetch(Session& session, SharedBatchState& state, const QString& arquivo,
          const std::atomic_bool& interromper) {
    TerminalPrompts::say(QStringLiteral("Recupera Informações Sobre Resultado..."));
    const FtpAddress address = SeparaEnderecoFTP(state.EndKavorelResult);
    const FtpEndpoint endpoint{address.host, address.port.toInt(), state.LoginFTP, state.SenhaFTP};
    BuscaResultado busca(state.Usuario, state.DirLocalSincr);
    busca.setAvisos({[](const QString& linha) { TerminalPrompts::say(linha); },
                     [](const QString& nome) { TerminalPrompts::say(QStringLiteral("Arquivo: ") + nome); },
                     [&busca, &interromper](qint64, qint64) {
                         if (interromper && !busca.interrompido())
                             busca.interrompe();
                     },
                     [] { TerminalPrompts::say(QStringLiteral("Transferindo Arquivo...")); }});
    const BuscaResultado::Resultado resultado = busca.busca(endpoint, address.directory, arquivo);
    if (resultado.desfecho == BuscaResultado::Desfecho::Interrompido || interromper) {
        TerminalPrompts::say(QStringLiteral("Transferência interrompida."));
        return Refused;
    }
    if (resultado.desfecho != BuscaResultado::Desfecho::Obtido)
        return Refused;

    ResultadoRemessa operacao(session, state);
    if (ResultadoRemessa::vereditoDe(resultado.arquivo) == ResultadoRemessa::Aceita)
        TerminalPrompts::say(ResultadoRemessa::textoSincronizando());
    const ResultadoRemessa::Desfecho desfecho = operacao.processaAutomatico(arquivo, resultado.caminho);
    sayAll(desfecho.log);
    if (!desfecho.ok) {
        TerminalPrompts::say(desfecho.mensagem);
        return Refused;
    }
    if (desfecho.veredito == ResultadoRemessa::Recusada)
        TerminalPrompts::say(desfecho.LbSincroniza);
    return Done;
}

int manual(Session& session, TerminalPrompts& prompts, SharedBatchState& state, const QString& arquivo,
           const CommandLine& line) {
    ResultadoRemessa operacao(session, state);
    const ResultadoRemessa::Codigo codigo = operacao.verificaCodigo(line.values.value(Code), arquivo);
    if (!codigo.valido) {
        TerminalPrompts::say(ResultadoRemessa::tituloSenhaInvalida() + QStringLiteral(": ") +
                             ResultadoRemessa::textoSenhaInvalida());
        return Refused;
    }
    if (!prompts.confirm(QStringLiteral("Confirma Resultado Informado? ") +
                             ResultadoRemessa::textoConfirmacao(codigo.veredito),
                         QStringLiteral("Confirma Resultado Manual")))
        return Refused;
    QStringList observacoes;
    if (const QString remarks = line.values.value(Remarks); !remarks.isEmpty())
        observacoes = remarks.split(QLatin1Char('\n'));
    if (codigo.veredito == ResultadoRemessa::Aceita)
        TerminalPrompts::say(ResultadoRemessa::textoSincronizando());
    const ResultadoRemessa::Desfecho desfecho =
        operacao.processaManual(arquivo, codigo.veredito, observacoes);
    sayAll(desfecho.log);
    if (!desfecho.ok) {
        TerminalPrompts::say(desfecho.mensagem);
        return Refused;
    }
    TerminalPrompts::say(desfecho.LbSincroniza);
    return Done;
}

} // namespace

QString checkOptions(const CommandLine& line) {
    const bool fetch = line.options.contains(Fetch);
    const bool code = line.options.contains(Code);
    if (fetch == code)
        return QStringLiteral("Escolha o modo de recebimento: --fetch ou --code SENHA.");
    if (fetch && line.options.contains(Remarks))
        return QStringLiteral("--remarks acompanha somente --code.");
    return {};
}

int run(Session& session, TerminalPrompts& prompts, SharedBatchState& state, const CommandLine& line,
        const std::atomic_bool& interromper) {
    // What BtRecebe does: the selected batch becomes the current one.
    const std::optional<BatchCommands::CurrentBatch> batch = BatchCommands::latestBatchFor(
        session, state, &BatchButtons::BtRecebe, QStringLiteral("A remessa %1 não aguarda resultado (%2)."));
    if (!batch)
        return Refused;
    const QString& arquivo = batch->arquivo;
    TerminalPrompts::say(QStringLiteral("Número da Remessa: ") + batch->row.NumeroRemessa);
    TerminalPrompts::say(QStringLiteral("Arquivo Enviado ao Kavorel: ") + arquivo);
    if (line.options.contains(Fetch))
        return fetch(session, state, arquivo, interromper);
    return manual(session, prompts, state, arquivo, line);
}

} // namespace ResultCommands
