#pragma once

#include "Eventos.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariantList>
#include <optional>

class TDMCertif;

// A note the user keeps on an item (an event with HistoricoSis "1").
struct NotaHistorico {
    int SeqEvento = 0;
    QString Justificativa;
    QDateTime Data; // the note's date (the event's status date)
    QString UsuResp;
};

// The history of one item of the open certificate: the user's notes, added with their own date
// and removed while the authority does not hold them. Every change withdraws the certificate's
// approval in the same transaction. Boxes go through the session's prompts.
class GeraHistorico {
public:
    // `dataEmissao` bounds the note's date from below; the documents screen gives none.
    GeraHistorico(TDMCertif& certif, EventTable tabela, QVariantList chave, QString status,
                  std::optional<QDate> dataEmissao);

    TDMCertif& certif() const { return certif_; }
    EventTable tabela() const { return tabela_; }
    const QVariantList& chave() const { return chave_; }
    const QString& status() const { return status_; }

    // The notes, by date.
    QList<NotaHistorico> notas() const;
    // "Aplicar": the note's SeqEvento, or nothing after the box that says why.
    std::optional<int> inclui(const QString& justificativa, const QString& data);
    // "E&xcluir ": true when the note was deleted.
    bool exclui(int seqEvento);

    static const QString NaoPodeExcluir;
    static const QString ConfirmaExclusao;
    static const QString ErroAtualizacao;

private:
    TDMCertif& certif_;
    EventTable tabela_;
    QVariantList chave_;
    QString status_;
    std::optional<QDate> dataEmissao_;
};

// The event tables' items and their status, for the key record the history screen is opened with.
namespace HistoricoItens {

// The table that holds the items of an event table (CERTIFIC for STATUS_C, TIPO for STATUS_T, ...).
QString tabelaDoItem(EventTable tabela);
// The item's current status; empty when the item is not there.
QString statusAtual(const QSqlDatabase& db, EventTable tabela, const QVariantList& chave);
// The note is in the event table's replica: the authority holds it.
bool naReplica(const QSqlDatabase& db, EventTable tabela, const QVariantList& chave, int seqEvento);

} // namespace HistoricoItens
