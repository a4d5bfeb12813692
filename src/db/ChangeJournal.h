#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

struct TabelaRemessa;

// The journal of changes that lets a partial batch look only at what changed since the last batch
// the authority accepted. Triggers on the exchanged live tables (made from their descriptors)
// append one row per changed row: the certificate it belongs to ("C"), or the company ("E") or
// product ("P") itself. The preparation compares only those (and what their certificates pull in);
// the tables kept whole (configuration, signatories, users) are small and always compared.
//
// Each batch records the last journal entry its snapshot saw; when the authority accepts it, the
// synchronisation deletes the entries up to that one in its own transaction, so what was changed
// after the preparation stays for the next batch. Rows written past the triggers (a database from
// before the journal, a schema change, a reference install) mark it incomplete ("X"), and the
// next batch compares every row, as a batch always did before.
namespace ChangeJournal {

inline const QString Tabela = QStringLiteral("ALTERACOES_PENDENTES");
inline const QString TabelaRemessas = QStringLiteral("ALTERACOES_REMESSA");

// The journal's tables and every trigger; safe to run again (triggers are made anew).
QStringList instalacao();

// The triggers of one exchanged table (none for the tables always compared whole).
QStringList gatilhos(const TabelaRemessa& tabela);

void marcaIncompleto(const QSqlDatabase& db);
bool incompleto(const QSqlDatabase& db);
// How many entries the journal holds.
qint64 entradas(const QSqlDatabase& db);
// The id of the newest entry; 0 when the journal is empty.
qint64 ultimaAlteracao(const QSqlDatabase& db);

// Called in the transaction that records the batch's preparation.
void registraRemessa(const QSqlDatabase& db, const QString& numeroRemessa, qint64 ultimaAlteracao);
// Called in the transaction of the accepted batch's synchronisation: the entries its snapshot saw
// go. A batch prepared before the journal existed clears nothing.
void limpaAteRemessa(const QSqlDatabase& db, const QString& numeroRemessa);

// The keys the tracked comparison looks at, as a sub-select with the columns of the scope's key:
// certificates (SiglaCertificador, NumCertif), companies (CodigoPais, IdEmpresa) and products
// (MarcaProd, ModeloProd, Importado), each with those the changed certificates name.
QString certificadosAlterados();
QString empresasAlteradas();
QString produtosAlterados();

} // namespace ChangeJournal
