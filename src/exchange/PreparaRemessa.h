#pragma once

#include "TDMTabelasData.h"

#include "TabelaRemessa.h"

#include <QList>
#include <QString>
#include <atomic>
#include <functional>

class Session;
struct SharedBatchState;

// Where a preparation stands, reported to the screen (labels and bars) or to the companion (a
// line per table). Called on the thread that runs the preparation, between steps and often
// during a long step, so a screen may let pending events run from it.
struct PreparationProgress {
    enum class Fase { Tabelas, Compactando, Concluida };
    Fase fase = Fase::Tabelas;
    int passo = 0;               // steps done so far (PbTabelas' position)
    int maximo = 0;              // PbTabelas' maximum: the number of steps of the run
    int tabela = 0;              // 1..29, 0 before the first
    QString Nome;                // the table's Nome
    QString Rotulo;              // LblTabela
    QString operacao;            // LblOperacao: "Inclusão", "Alteração", "Deleção" or "Erro.!"
    qint64 linhas = 0;           // rows written so far by the current step
    bool passoConcluido = false; // true once for each step, when it ends
};
using PreparationProgressFn = std::function<void(const PreparationProgress&)>;

// What a preparation ended with. The message (with its caption) is what the user is to be told;
// the screen shows it through the prompts and in EdResultado, the companion on stderr.
struct PreparationResult {
    enum class Status {
        Sucesso,      // archive made, PR recorded: "Preparação Ocorrida com Sucesso."
        NadaAEnviar,  // "Nenhuma tabela nova foi criada!": no number, no archive, no event
        Interrompida, // "Preparação Interrompida pelo Usuário.": no archive, no event
        Erro,         // "Ocorreu um Erro na Preparação.": no archive, no event
        Recusada,     // refused before anything was touched (configuration, confirmation, number)
    };
    Status status = Status::Erro;
    QString EdResultado;    // the result text
    QString numeroRemessa;  // EdNumeroRemessa (success only)
    QString arquivo;        // EdArquivoRemessa: the archive name without directory
    QString mensagem;       // a box to show, if any (refusals, errors, nothing to send)
    QString titulo;         // its caption
    int tabelasCriadas = 0; // difference tables written
    QString aviso;          // a warning that goes with a success (the clock looks wrong)
    bool rastreada = false; // the partial batch looked only at the journal's changes
    bool ok() const { return status == Status::Sucesso; }
};

// Rows one table would send.
struct PreviewRow {
    QString Nome;
    QString Rotulo;
    qint64 inclusoes = 0;
    qint64 alteracoes = 0;
    qint64 exclusoes = 0;
};
struct PreviewResult {
    bool interrompida = false;
    QString erro;              // empty when the counts are complete
    QList<PreviewRow> tabelas; // all 29 in batch order (complete batch: every row counts as an inclusion)
    qint64 total() const;
};

// The preparation of a batch: the difference (or total) tables of the 29 exchanged tables as
// Paradox files in the transfer directory, "Sistema.db" for a partial batch, the archive
// "OC-"/"OT-" + acronym + number + ".zip", and the PR event. The whole batch is read from one
// consistent state of the database (its own connection and one read transaction); rows are
// streamed from the query to the file. The interruption flag is honoured within a fraction of a
// second, and an interrupted or failed run leaves no archive and no event.
//
// The operation asks nothing itself: the complete batch's confirmation is an argument (the
// screen asks with the texts below through the prompts). Only the archiver shows its own error
// box through the session's prompts, so the operation runs on the thread that owns them (the
// window's); the progress callback is where a screen lets pending events run, and it is called
// often enough (between steps, every few hundred rows, and every 50 ms inside a long statement)
// for the window to keep painting and for "Interrompe Preparação" to take effect at once.
class PreparaRemessa {
public:
    PreparaRemessa(Session& session, SharedBatchState& state);

    // Messages and captions of the run.
    static QString textoConfirmacaoCompleta();  // "Uma remessa completa deve ser preparada sob..."
    static QString tituloConfirmacaoCompleta(); // "Preparação de uma Remessa Completa"

    // Steps of a run (PbTabelas' maximum): one per statement run.
    static int numeroDePassos(const QString& tipoRemessa);

    // Checks the transfer directory as the configuration page does (set, not the root, not shared
    // with the other two directories) and that it exists. Empty when sound, else the message; the
    // caption is "Erro de Configuração".
    QString problemaDiretorio() const;

    // Prepares a batch of the type ("C" partial, "T" complete) after the given previous number
    // (BatchControl::numeroAnterior()). A complete batch needs completaConfirmada.
    PreparationResult run(const QString& tipoRemessa, const QString& numeroAnterior, bool completaConfirmada,
                          const std::atomic_bool& interromper, const PreparationProgressFn& progresso = {});

    // Counts, per table, what a batch of the type would carry, writing nothing.
    PreviewResult previa(const QString& tipoRemessa, const std::atomic_bool& interromper,
                         const PreparationProgressFn& progresso = {});

    // A partial batch compares only what the change journal holds, unless the journal is
    // incomplete or this asks for every row to be compared (the companion's --full).
    void setComparacaoCompleta(bool completa) { comparacaoCompleta_ = completa; }

private:
    // How the batch of the type compares, read inside the snapshot.
    TDMTabelasData::Comparacao comparacaoPara(const QString& tipoRemessa, const QSqlDatabase& snapshot) const;

    Session& session_;
    SharedBatchState& state_;
    bool comparacaoCompleta_ = false;
};
