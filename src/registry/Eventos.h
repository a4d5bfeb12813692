#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

// The twelve event tables: every inclusion, alteration, suspension, reactivation, cancellation and
// approval of a certificate or of one of its items leaves one numbered row in its item's table.
enum class EventTable {
    STATUS_C,    // certificate
    EVENTO_EMP,  // company link
    STATUS_T,    // product line by type
    STATUS_L,    // lot
    STATUS_U,    // unit
    STATUS_S,    // service
    STATUS_DNCP, // normative document of the certificate's products
    STATUS_DNCS, // normative document of the certificate's services
    STATUS_DNT,  // normative document of a type line
    STATUS_DNL,  // normative document of a lot
    STATUS_DNU,  // normative document of a unit
    STATUS_DNS,  // normative document of a service
};

struct EventTableInfo {
    QString name;
    QStringList keyColumns; // the item's key, in the table's column order
    QString statusColumn;
    QString statusDateColumn;
};

const EventTableInfo& eventTableInfo(EventTable table);

inline const QString HistoricoGeradoPeloSistema = QStringLiteral("Historico gerado pelo sistema");

// One event to write.
struct EventRow {
    QVariantList key;      // values of EventTableInfo::keyColumns, in that order
    QString evento;        // INC, ALT, SUS, REA, CAN, APR
    QString justificativa; // empty is stored as NULL
    QString historicoSis = QStringLiteral("2");
    QString status; // A, S or C: the item's status after the event
    QDateTime statusDate;
    QDateTime dthUltAtualiz; // the moment of writing
    QString usuResp;
};

// The event-record routines. They run inside the caller's transaction and throw DbError on any
// failure (a full table, a duplicate, a lost connection), so the caller rolls the whole operation
// back and says why: an event is never silently missing.
namespace Eventos {

// The SeqEvento of a new event of the item `key` (values of EventTableInfo::keyColumns): one more
// than the largest of the whole table (1 for an empty one); past the 16-bit ceiling, numbered
// within the item's certificate (see EventSequence::next).
int ProximoSeqEvento(const QSqlDatabase& db, EventTable table, const QVariantList& key);

// Inserts the event with the next SeqEvento and returns that number.
int insere(const QSqlDatabase& db, EventTable table, const EventRow& row);

// Deletes one event row of an item.
void apaga(const QSqlDatabase& db, EventTable table, const QVariantList& key, int seqEvento);
// Deletes every event of an item (the item is being deleted).
void apagaDoItem(const QSqlDatabase& db, EventTable table, const QVariantList& key);
// Carries the events of an item to its new key (the item's key was changed).
void mudaChave(const QSqlDatabase& db, EventTable table, const QVariantList& oldKey,
               const QVariantList& newKey);

// DthUltAtualiz of the newest APR event of the certificate; invalid when it was never approved.
QDateTime ultimaAprovacao(const QSqlDatabase& db, const QString& sigla, const QString& numCertif);
// Whether the certificate was approved for sending before, and since when its items count as
// told to the authority. A certificate counts as approved before when it has an APR event, when
// the replica holds it (the authority knows it) or when its Aprovado flag is set (the text import
// approves without an event). The moment is the newest APR event, else the replica's
// DthUltAtualiz; with neither it is unknown and every item counts as told.
struct AprovacaoAnterior {
    bool houve = false;
    QDateTime data; // invalid when unknown

    // An item may be deleted only when its newest inclusion is later than the last approval.
    bool permiteApagar(const QDateTime& inclusao) const {
        return !houve || (data.isValid() && inclusao.isValid() && inclusao > data);
    }
};
AprovacaoAnterior aprovacaoAnterior(const QSqlDatabase& db, const QString& sigla, const QString& numCertif);

// DthUltAtualiz of the newest INC event of the item; invalid when there is none.
QDateTime ultimaInclusao(const QSqlDatabase& db, EventTable table, const QVariantList& key);
// An item of a certificate approved before may be deleted only when it was included after the
// last approval.
bool podeApagarItem(const QSqlDatabase& db, EventTable table, const QVariantList& key, const QString& sigla,
                    const QString& numCertif);

} // namespace Eventos
