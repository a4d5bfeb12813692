#pragma once

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

class Session;
struct SharedBatchState;

// The register of batch events CONTROLE and the batch list Controle_Temp: the state of each batch
// (the code of its latest event), which operations that state allows, cancellation and clearing.
// The operations take their confirmations as arguments; the screen asks through the prompts
// (the texts below), the companion takes them from its command line.
namespace BatchEvents {
inline const QString Preparada = QStringLiteral("PR");
inline const QString Transferida = QStringLiteral("TR");
inline const QString FinalizadaOk = QStringLiteral("OK");
inline const QString FinalizadaErro = QStringLiteral("NO");

// DscEvento: "Remessa Preparada", "Enviada para o Kavorel", "Finalizada - OK", "Finalizada - Erro";
// empty for any other code.
QString descricao(const QString& evento);
// The batch status of a batch whose latest event is the code: "Aguardando Transferência",
// "Aguardando Resultado", "Finalizada" (OK and NO); empty for any other code.
QString status(const QString& evento);
} // namespace BatchEvents

// Batch type and the archive of a batch.
namespace BatchTypes {
inline const QString Parcial = QStringLiteral("C");
inline const QString Completa = QStringLiteral("T");
// What a user reads for the type: "Parcial" for "C", "Completa" for "T", any other code as it is.
QString descricao(const QString& tipoRemessa);
// "OC-" for "C", "OT-" for "T", empty for any other type.
QString prefixo(const QString& tipoRemessa);
// prefixo + acronym + number + ".zip"; empty for a type other than "C" or "T".
QString nomeArquivo(const QString& tipoRemessa, const QString& sigla, const QString& numero);
} // namespace BatchTypes

// One row of Controle_Temp.
struct BatchListRow {
    QString NumeroRemessa;
    QString Status;
    QString Evento;
    QString Ultima; // "S" on the batch with the most recent event of all
    QString TipoRemessa;

    bool isLatest() const { return Ultima == QLatin1String("S"); }
    bool operator==(const BatchListRow&) const = default;
};

// One event of a batch, as the event list shows it.
struct BatchEventRow {
    QDateTime DataHoraEvento;
    QString NumeroRemessa;
    QString Evento;
    QString DscEvento;
    QString Usuario;
    QString Obs;
};

// Which batch buttons are enabled for the selected batch (BtLimpa, BtListagem and BtSaida always are).
struct BatchButtons {
    bool BtPrepara = false;
    bool BtTransfere = false;
    bool BtRecebe = false;
    bool BtCancela = false;
    bool operator==(const BatchButtons&) const = default;
};

// The button table: nothing for an older batch; Transfere and Cancela after PR; Recebe after TR;
// Prepara after OK, NO or any other code; and whenever the selection has no events (an empty
// list), Prepara on and Cancela off.
BatchButtons botoesParaRemessa(const std::optional<BatchListRow>& selected, bool semEventos);

class BatchControl {
public:
    BatchControl(Session& session, SharedBatchState& state);

    // Texts of the confirmations and of the cancellation remark.
    static QString confirmacaoCancelamento(); // "Tem certeza que deseja cancelar a remessa?"
    static QString confirmacaoLimpeza();      // "Tem certeza que deseja limpar o histórico?"
    static QString obsCancelamento();         // "Remessa Cancelada pelo Usuário"

    // Rebuilds Controle_Temp from CONTROLE (newest batch first, "S" on the first) and returns its
    // rows in that order. Throws DbError.
    QList<BatchListRow> atualizaListaRemessas();
    // The rows of Controle_Temp in display order, without rebuilding.
    QList<BatchListRow> listaRemessas() const;
    // The statement the list grid shows (Controle_Temp in the order the rows were appended).
    static QString listaRemessasSql();

    // The events of one batch, newest first (QrEventos).
    QList<BatchEventRow> eventos(const QString& numeroRemessa) const;
    // QrEventos' statement, with the parameter :NumeroRemessa.
    static QString eventosSql();

    // The batch with the most recent event, if any.
    std::optional<BatchListRow> ultimaRemessa() const;
    // Deletes the archive of the latest batch when the authority accepted it. The result deletes
    // it once its commit is done, so a run killed in between leaves it behind; nothing sends or
    // reads it again. Returns whether one was deleted.
    bool removeArquivoDaUltimaAceita();
    // The buttons for the batch, read from the register.
    BatchButtons botoes(const std::optional<BatchListRow>& selected) const;

    // The previous number a new preparation starts from: the latest batch's number, or
    // "0000000000" when the list is empty. The number is never issued twice on an installation:
    // see proximoNumero.
    QString numeroAnterior() const;

    // Outcome of cancellation and clearing: done, or refused with the reason.
    struct Outcome {
        bool done = false;
        QString message; // why it was refused (empty when done or when the user declined)
    };

    // Cancels the selected batch: it must be the latest and prepared but not delivered (otherwise
    // refused, nothing written). Without confirmation nothing happens. Appends the NO event with
    // the remark, deletes both possible archives of the batch from the transfer directory, and
    // rebuilds the list. Sets the current batch number and type in the shared state.
    Outcome cancelaRemessa(const BatchListRow& selected, bool confirmado);

    // Clears the history: every row when no batch is in progress (or the list is empty), otherwise
    // every row of the other batches, keeping the events of the batch in progress (whichever batch
    // is selected). The numbers issued so far stay known, so none is issued again. Rebuilds the list.
    Outcome limpaHistorico(const std::optional<BatchListRow>& selected, bool confirmado);

    // Appends one event row (DataHoraEvento = now, Usuario = the state's user). Throws DbError.
    void registraEvento(const QString& numeroRemessa, const QString& tipoRemessa, const QString& evento,
                        const QString& obs = {});

    // The highest number ever issued on this installation ("0000000000" when none), kept apart
    // from CONTROLE so clearing the history does not forget it.
    QString ultimoNumeroEmitido() const;

    // Records a prepared batch in one transaction: the PR event, the number as the last one
    // issued and, when given, the newest change-journal entry its snapshot saw (what its
    // acceptance clears). Throws DbError (and then records none).
    void registraPreparacao(const QString& numeroRemessa, const QString& tipoRemessa,
                            std::optional<qint64> ultimaAlteracao = std::nullopt);

private:
    // Keeps the number as the last one issued (inside the caller's transaction).
    void guardaUltimoNumero(const QString& numeroRemessa);

    Session& session_;
    SharedBatchState& state_;
};

// Batch numbers: YYYYMMDD of the preparation date followed by a two-digit sequence of that date.
namespace NumeroRemessa {
inline const QString Nenhum = QStringLiteral("0000000000");

struct Proximo {
    QString numero;   // empty when refused
    QString problema; // why no number can be given (the 100th batch of one date)
    QString aviso;    // a number given, but the clock looks wrong (today is before the previous date)
};
// The number after the previous one on the given date: today + "01" when the previous number is
// of an earlier date, else the next sequence ("09" -> "10"); the 100th batch of today is refused.
// When the previous number's date is later than today (a batch prepared with the clock set ahead),
// numbers must still never go back: the sequence goes on after that number (the 99th of its date is
// followed by the next date's first), with a warning that the clock looks wrong.
Proximo proximo(const QString& anterior, const QDate& hoje);
// The later of two numbers ("0000000000" is the earliest).
QString maior(const QString& a, const QString& b);
} // namespace NumeroRemessa
