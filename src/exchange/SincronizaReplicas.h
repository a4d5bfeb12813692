#pragma once

#include "TabelaRemessa.h"

#include <QSqlDatabase>
#include <QString>
#include <functional>

class Session;
struct SharedBatchState;

// Where a synchronisation stands: the table being applied (1..29) and the rows done in it.
struct SincronizacaoProgresso {
    int tabela = 0;
    QString Nome;
    qint64 linhas = 0;
};
using SincronizacaoProgressoFn = std::function<void(const SincronizacaoProgresso&)>;

// Replays an accepted batch onto the replica tables "REP_" + Nome, so that the next batch carries
// only what changed since. The batch's own files are taken from its archive in the transfer
// directory: a copy is unpacked into a fresh directory inside the synchronisation directory, and
// exactly the tables the archive lists are applied (leftovers lying in the synchronisation
// directory never are). The work directory is removed in every case; the archive itself stays
// where it is, so that a failed run can simply be retried: the caller removes it once its
// transaction has committed (removeArquivoRemessa).
//
// Runs inside the caller's transaction on the session's connection and never commits: the caller
// records the OK event in the same transaction and commits, or rolls everything back.
class SincronizaReplicas {
public:
    // Which step failed.
    enum class Falha {
        Nenhuma,
        Descompactacao, // the archive is missing, unreadable, holds entries that are not plain names
        SemTabelas,     // the archive holds no "*.DB" file
        Aplicacao,      // a table could not be applied (the run stopped there)
        Excecao,        // anything else
    };
    struct Resultado {
        Falha falha = Falha::Nenhuma;
        QString detalhe; // what went wrong, for the log (the table and the database's text)
        int tabelasAplicadas = 0;
        qint64 linhas = 0;
        bool ok() const { return falha == Falha::Nenhuma; }
    };

    SincronizaReplicas(Session& session, const SharedBatchState& state);

    // Runs the synchronisation of the archive (its name, in the transfer directory) for the
    // batch type ("C" partial: E, then I, then A as remove-and-append, table by table in batch
    // order; "T" complete: each replica named by an "_I" file emptied and reloaded).
    Resultado run(const QString& arquivoRemessa, const QString& tipoRemessa,
                  const SincronizacaoProgressoFn& progresso = {});

    // Removes the batch archive from the transfer directory, if it is still there.
    void removeArquivoRemessa(const QString& arquivoRemessa) const;

    // Kinds of AplicaArquivoReplica.
    enum Tipo { Inclusoes = 0, Exclusoes = 1, Alteracoes = 2 };
    // Applies one difference table onto a replica: appends its rows (inclusions), removes the rows
    // with its keys (exclusions), or both in that order (alterations). Throws DbError.
    static qint64 AplicaArquivoReplica(const QSqlDatabase& db, const QString& arquivo, const QString& replica,
                                       int tipo, const std::function<void(qint64)>& linhas = {});
    // Empties the replica and appends every row of the table. Throws DbError.
    static qint64 RecarregaReplica(const QSqlDatabase& db, const QString& arquivo, const QString& replica,
                                   const std::function<void(qint64)>& linhas = {});
    // "Delete from " + the replica. Throws DbError.
    static void EsvaziaReplica(const QSqlDatabase& db, const QString& replica);

    // True when an archive entry is a plain file name (no directory part, no "..").
    static bool nomeSimples(const QString& entrada);

private:
    Session& session_;
    const SharedBatchState& state_;
};
