#include "BatchCommands.h"

#include "BatchControl.h"
#include "CommandLine.h"
#include "DeliveryCommands.h"
#include "PreparaRemessa.h"
#include "ResultCommands.h"
#include "Session.h"
#include "SharedBatchState.h"
#include "TerminalPrompts.h"

#include <QDir>
#include <QTextStream>
#include <cstdio>

namespace BatchCommands {

namespace {

const QString Partial = QStringLiteral("--partial");
const QString Complete = QStringLiteral("--complete");
const QString Full = QStringLiteral("--full");
const QString Preview = QStringLiteral("--preview");
const QString Yes = QStringLiteral("--yes");
const QString Events = QStringLiteral("--events");

void out(const QString& line) {
    QTextStream stream(stdout);
    stream << line << Qt::endl;
}

// A line per table on stderr when it is not a terminal (logs, scripts); one line kept up to date
// on a terminal.
class ProgressPrinter {
public:
    explicit ProgressPrinter(int stepsPerTable)
        : stepsPerTable_(stepsPerTable), terminal_(TerminalPrompts::errorIsTerminal()) {}
    ~ProgressPrinter() {
        if (terminal_ && open_)
            std::fputc('\n', stderr);
    }

    void operator()(const PreparationProgress& p) {
        if (p.fase != PreparationProgress::Fase::Tabelas)
            return;
        if (p.passoConcluido)
            rows_ += p.linhas;
        if (terminal_) {
            const QByteArray line = QStringLiteral("\r[%1/%2] %3 - %4\x1b[K")
                                        .arg(p.passo, 2)
                                        .arg(p.maximo)
                                        .arg(p.Rotulo, p.operacao)
                                        .toLocal8Bit();
            std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
            std::fflush(stderr);
            open_ = true;
        } else if (p.passoConcluido && p.passo % stepsPerTable_ == 0) {
            TerminalPrompts::say(QStringLiteral("[%1/%2] %3: %4 linha(s)")
                                     .arg(p.passo / stepsPerTable_, 2)
                                     .arg(p.maximo / stepsPerTable_)
                                     .arg(p.Rotulo)
                                     .arg(rows_));
            rows_ = 0;
        }
    }

private:
    int stepsPerTable_;
    bool terminal_;
    bool open_ = false;
    qint64 rows_ = 0;
};

QString tipoDe(const QStringList& options) {
    return options.contains(Complete) ? BatchTypes::Completa : BatchTypes::Parcial;
}

int list(Session& session, SharedBatchState& state, const QStringList& options) {
    BatchControl control(session, state);
    const QList<BatchListRow> rows = control.atualizaListaRemessas();
    if (rows.isEmpty()) {
        TerminalPrompts::say(QStringLiteral("Nenhuma remessa registrada."));
        return Done;
    }
    for (const BatchListRow& row : rows) {
        out(QStringLiteral("%1  %2  %3  %4")
                .arg(row.NumeroRemessa, row.TipoRemessa.isEmpty() ? QStringLiteral("-") : row.TipoRemessa)
                .arg(row.Status, -24)
                .arg(BatchTypes::nomeArquivo(row.TipoRemessa, state.SiglaCertificador, row.NumeroRemessa))
                .trimmed());
        if (!options.contains(Events))
            continue;
        for (const BatchEventRow& event : control.eventos(row.NumeroRemessa))
            out(QStringLiteral("    %1  %2  %3  %4")
                    .arg(event.DataHoraEvento.toString(QStringLiteral("dd/MM/yy hh:mm:ss")))
                    .arg(event.DscEvento, -22)
                    .arg(event.Usuario, -10)
                    .arg(event.Obs)
                    .trimmed());
    }
    return Done;
}

int preview(Session& session, SharedBatchState& state, const QString& tipo, bool full,
            const std::atomic_bool& interromper) {
    PreparaRemessa operation(session, state);
    operation.setComparacaoCompleta(full);
    ProgressPrinter printer(tipo == BatchTypes::Completa ? 1 : 3);
    const PreviewResult result = operation.previa(tipo, interromper, std::ref(printer));
    if (result.interrompida) {
        TerminalPrompts::say(QStringLiteral("Prévia interrompida pelo usuário."));
        return Refused;
    }
    if (!result.erro.isEmpty()) {
        TerminalPrompts::say(result.erro);
        return Refused;
    }
    out(QStringLiteral("%1 %2 %3 %4")
            .arg(QStringLiteral("Tabela"), -24)
            .arg(QStringLiteral("Inclusões"), 10)
            .arg(QStringLiteral("Alterações"), 11)
            .arg(QStringLiteral("Exclusões"), 10));
    qint64 inclusoes = 0, alteracoes = 0, exclusoes = 0;
    for (const PreviewRow& row : result.tabelas) {
        out(QStringLiteral("%1 %2 %3 %4")
                .arg(row.Nome, -24)
                .arg(row.inclusoes, 10)
                .arg(row.alteracoes, 11)
                .arg(row.exclusoes, 10));
        inclusoes += row.inclusoes;
        alteracoes += row.alteracoes;
        exclusoes += row.exclusoes;
    }
    out(QStringLiteral("%1 %2 %3 %4")
            .arg(QStringLiteral("Total"), -24)
            .arg(inclusoes, 10)
            .arg(alteracoes, 11)
            .arg(exclusoes, 10));
    return Done;
}

int prepare(Session& session, SharedBatchState& state, TerminalPrompts& prompts, const QStringList& options,
            const std::atomic_bool& interromper) {
    const QString tipo = tipoDe(options);
    if (options.contains(Preview))
        return preview(session, state, tipo, options.contains(Full), interromper);

    BatchControl control(session, state);
    control.atualizaListaRemessas();
    const std::optional<BatchListRow> latest = control.ultimaRemessa();
    if (!control.botoes(latest).BtPrepara) {
        TerminalPrompts::say(
            QStringLiteral("A remessa %1 está em andamento (%2): ela precisa ser finalizada ou "
                           "cancelada antes de uma nova remessa ser preparada.")
                .arg(latest->NumeroRemessa, latest->Status));
        return Refused;
    }
    PreparaRemessa operation(session, state);
    operation.setComparacaoCompleta(options.contains(Full));
    if (tipo == BatchTypes::Completa && !prompts.confirm(PreparaRemessa::textoConfirmacaoCompleta(),
                                                         PreparaRemessa::tituloConfirmacaoCompleta()))
        return Refused;

    PreparationResult result;
    {
        ProgressPrinter printer(tipo == BatchTypes::Completa ? 1 : 3);
        result = operation.run(tipo, control.numeroAnterior(), true, interromper, std::ref(printer));
    }
    switch (result.status) {
    case PreparationResult::Status::Sucesso:
        TerminalPrompts::say(result.EdResultado);
        TerminalPrompts::say(QStringLiteral("Número da remessa: %1").arg(result.numeroRemessa));
        TerminalPrompts::say(QStringLiteral("Arquivo criado para transferência: %1").arg(result.arquivo));
        if (!result.aviso.isEmpty())
            prompts.show(PromptKind::Warning, QStringLiteral("Preparação de Remessas"), result.aviso);
        out(QDir(state.DirLocalTransf).filePath(result.arquivo));
        return Done;
    case PreparationResult::Status::NadaAEnviar:
    case PreparationResult::Status::Recusada:
        prompts.show(PromptKind::Information, result.titulo, result.mensagem);
        return Refused;
    case PreparationResult::Status::Interrompida:
        TerminalPrompts::say(result.EdResultado);
        return Refused;
    case PreparationResult::Status::Erro:
        if (!result.mensagem.isEmpty())
            prompts.show(PromptKind::Error, result.titulo, result.mensagem);
        TerminalPrompts::say(result.EdResultado);
        return Refused;
    }
    return Refused;
}

int cancel(Session& session, SharedBatchState& state, TerminalPrompts& prompts) {
    BatchControl control(session, state);
    control.atualizaListaRemessas();
    const std::optional<BatchListRow> latest = control.ultimaRemessa();
    if (!latest) {
        TerminalPrompts::say(QStringLiteral("Nenhuma remessa registrada."));
        return Refused;
    }
    if (!control.botoes(latest).BtCancela) {
        TerminalPrompts::say(control.cancelaRemessa(*latest, false).message);
        return Refused;
    }
    if (!prompts.confirm(BatchControl::confirmacaoCancelamento()))
        return Refused;
    const BatchControl::Outcome outcome = control.cancelaRemessa(*latest, true);
    if (!outcome.done) {
        TerminalPrompts::say(outcome.message);
        return Refused;
    }
    TerminalPrompts::say(
        QStringLiteral("Remessa %1: %2").arg(latest->NumeroRemessa, BatchControl::obsCancelamento()));
    return Done;
}

// Delivers the latest batch, which must be prepared and not yet delivered.
int deliver(Session& session, SharedBatchState& state, const CommandLine& line,
            const std::atomic_bool& interromper) {
    const std::optional<CurrentBatch> batch =
        latestBatchFor(session, state, &BatchButtons::BtTransfere,
                       QStringLiteral("A remessa %1 não está aguardando transferência (%2)."));
    if (!batch)
        return Refused;
    return DeliveryCommands::deliver(session, state, state.DirLocalTransf, batch->arquivo, line, interromper);
}

int clear(Session& session, SharedBatchState& state, TerminalPrompts& prompts) {
    BatchControl control(session, state);
    control.atualizaListaRemessas();
    // The screen selects the batch with the most recent event when the list is rebuilt.
    const std::optional<BatchListRow> latest = control.ultimaRemessa();
    if (!prompts.confirm(BatchControl::confirmacaoLimpeza()))
        return Refused;
    const BatchControl::Outcome outcome = control.limpaHistorico(latest, true);
    if (!outcome.done) {
        TerminalPrompts::say(outcome.message);
        return Refused;
    }
    const QList<BatchListRow> left = control.listaRemessas();
    if (left.isEmpty())
        TerminalPrompts::say(QStringLiteral("Histórico limpo."));
    else
        TerminalPrompts::say(
            QStringLiteral("Histórico limpo; mantidos os eventos da remessa %1, em andamento (%2).")
                .arg(left.first().NumeroRemessa, left.first().Status));
    return Done;
}

const QList<Verb>& verbs() {
    static const QList<Verb> list{
        {QStringLiteral("list"),
         QStringLiteral("list [--events]"),
         QStringLiteral(
             "Lista as remessas, a mais recente primeiro: número, tipo (C parcial, T completa), situação e "
             "arquivo.\n  --events   mostra também os eventos de cada remessa."),
         {Events}},
        {QStringLiteral("prepare"),
         QStringLiteral("prepare --partial|--complete [--full] [--preview] [--yes]"),
         QStringLiteral(
             "Prepara uma nova remessa no Diretório Local de Transferência de Remessas e registra o evento "
             "\"Remessa Preparada\".\n"
             "  --partial  remessa parcial: as inclusões, alterações e exclusões desde a última remessa "
             "aceita.\n"
             "  --full     na remessa parcial, compara todas as linhas com as réplicas em vez de só as "
             "alteradas desde a última remessa aceita (o resultado é o mesmo).\n"
             "  --complete remessa completa: todas as linhas dos certificados aprovados (sob a supervisão "
             "do Kavorel).\n"
             "  --preview  só conta, por tabela, o que a remessa levaria; nada é gravado.\n"
             "  --yes      responde \"Sim\" à confirmação da remessa completa.\n"
             "Sem terminal, o andamento sai em stderr, uma linha por tabela; o arquivo criado sai em "
             "stdout."),
         {Partial, Complete, Full, Preview, Yes}},
        {QStringLiteral("cancel"),
         QStringLiteral("cancel [--yes]"),
         QStringLiteral(
             "Cancela a última remessa, preparada e ainda não transferida, e apaga o seu arquivo.\n"
             "  --yes      responde \"Sim\" à confirmação."),
         {Yes}},
        {QStringLiteral("deliver"),
         QStringLiteral("deliver --ftp|--email|--copy DIR"),
         QStringLiteral(
             "Transfere ao Kavorel a última remessa, preparada e ainda não transferida, e registra o "
             "evento \"Enviada para o Kavorel\"; a remessa passa a aguardar o resultado.\n") +
             DeliveryCommands::optionsHelp(),
         {DeliveryCommands::Ftp, DeliveryCommands::Email, DeliveryCommands::Copy},
         {DeliveryCommands::Copy}},
        {QStringLiteral("clear"),
         QStringLiteral("clear [--yes]"),
         QStringLiteral("Limpa o histórico de remessas (mantém os eventos de uma remessa em andamento).\n"
                        "  --yes      responde \"Sim\" à confirmação."),
         {Yes}},
        {QStringLiteral("result"),
         QStringLiteral("result --fetch | --code SENHA [--remarks TEXTO] [--yes]"),
         QStringLiteral(
             "Recebe o resultado da remessa enviada ao Kavorel. Se a remessa foi aceita, as réplicas são "
             "sincronizadas e o evento \"Finalizada - OK\" é registrado; se foi invalidada, o evento "
             "\"Finalizada - Erro\".\n"
             "  --fetch    busca o arquivo de resultado no Endereço Kavorel para Busca do Resultado (FTP).\n"
             "  --code     a senha recebida do Kavorel (recebimento manual).\n"
             "  --remarks  as observações do recebimento manual (uma linha por quebra de linha).\n"
             "  --yes      responde \"Sim\" à confirmação do resultado informado."),
         {ResultCommands::Fetch, ResultCommands::Code, ResultCommands::Remarks, Yes},
         {ResultCommands::Code, ResultCommands::Remarks}},
    };
    return list;
}

QString checkOptions(const Verb& verb, const CommandLine& line) {
    if (verb.name == QLatin1String("prepare") &&
        line.options.contains(Partial) == line.options.contains(Complete))
        return QStringLiteral("Escolha o tipo da remessa: --partial ou --complete.");
    if (verb.name == QLatin1String("deliver"))
        return DeliveryCommands::checkMode(line);
    if (verb.name == QLatin1String("result"))
        return ResultCommands::checkOptions(line);
    return {};
}

int run(Session& session, TerminalPrompts& prompts, const Verb& verb, const CommandLine& line,
        const std::atomic_bool& interromper) {
    const QStringList& options = line.options;
    prompts.setAssumeYes(options.contains(Yes));
    SharedBatchState state;
    state.load(session.database(), session.user());
    if (verb.name == QLatin1String("list"))
        return list(session, state, options);
    if (verb.name == QLatin1String("prepare"))
        return prepare(session, state, prompts, options, interromper);
    if (verb.name == QLatin1String("cancel"))
        return cancel(session, state, prompts);
    if (verb.name == QLatin1String("deliver"))
        return deliver(session, state, line, interromper);
    if (verb.name == QLatin1String("result"))
        return ResultCommands::run(session, prompts, state, line, interromper);
    return clear(session, state, prompts);
}

} // namespace

std::optional<CurrentBatch> latestBatchFor(Session& session, SharedBatchState& state,
                                           bool BatchButtons::*button, const QString& refusal) {
    BatchControl control(session, state);
    control.atualizaListaRemessas();
    const std::optional<BatchListRow> latest = control.ultimaRemessa();
    if (!latest || !(control.botoes(latest).*button)) {
        TerminalPrompts::say(latest ? refusal.arg(latest->NumeroRemessa, latest->Status)
                                    : QStringLiteral("Nenhuma remessa registrada."));
        return std::nullopt;
    }
    state.NumeroRemessa = latest->NumeroRemessa;
    state.TipoRemessa = latest->TipoRemessa;
    return CurrentBatch{*latest, BatchTypes::nomeArquivo(latest->TipoRemessa, state.SiglaCertificador,
                                                         latest->NumeroRemessa)};
}

const VerbGroup& group() {
    static const VerbGroup batch{QStringLiteral("batch"),
                                 QStringLiteral("o Controle de Remessas"),
                                 &Permissions::AcContRemessas,
                                 verbs,
                                 checkOptions,
                                 run};
    return batch;
}

} // namespace BatchCommands
