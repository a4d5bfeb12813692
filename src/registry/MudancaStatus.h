#pragma once

#include "Eventos.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <optional>

class TDMCertif;

// The six things of a certificate that carry a status of their own and a status group on the
// register: the certificate, its company links, its type, lot and unit lines and its services.
enum class ItemStatus { Certificado, Empresa, Tipo, Lote, Unidade, Servico };

// What the register needs to know of each: where the item lives, its status columns, its event
// table (whose key columns carry the same names as the item's), its group and its three buttons.
struct ItemStatusInfo {
    QString tabela;
    QString colunaStatus;
    QString colunaDataStatus;
    EventTable eventos;
    QString tituloGrupo;
    QString botaoSuspende; // new status S, event SUS
    QString botaoAtiva;    // new status A, event REA
    QString botaoCancela;  // new status C, event CAN
};

const ItemStatusInfo& itemStatusInfo(ItemStatus item);

// The stored status of one item.
struct StatusGravado {
    QString status;
    QDateTime data;
};

namespace StatusItens {

// SUS for S, REA for A, CAN for C; empty for anything else.
QString eventoDoStatus(const QString& status);
// The new status a status button stands for, told by its name ("sbSuspUnid" -> S); empty when the
// name is none of the eighteen.
QString statusDoBotao(const QString& nomeBotao);

// The item's stored status; nothing when the row is gone. `chave` is in its event table's key
// order.
std::optional<StatusGravado> le(const QSqlDatabase& db, ItemStatus item, const QVariantList& chave);
// Writes the new status, its date, DthUltAtualiz and UsuResp on the item's row (the certificate
// also loses its approval). Throws DbError when the row is gone.
void grava(const QSqlDatabase& db, ItemStatus item, const QVariantList& chave, const QString& status,
           const QDateTime& dataStatus, const QDateTime& agora, const QString& usuario);

} // namespace StatusItens

// The shared handler of the register's status buttons: one status change of one item of the open
// certificate, asked, justified and written as one transaction (the event, the item's row and the
// certificate's approval). Boxes go through the session's prompts; no widget is touched.
class MudancaStatus {
public:
    enum class Resultado {
        Gravado,   // the event, the row and the approval were written
        Cancelado, // the justification was cancelled, or the status was already that one
        Erro,      // the write failed and was rolled back; the error box was shown
        Propagar,  // a company link with active lines or services: the propagation screen decides
    };

    explicit MudancaStatus(TDMCertif& dm);

    Resultado muda(ItemStatus item, const QVariantList& chave, const QString& novoStatus);

    static const QString CaptionGravacao;
    static const QString ErroStatus;

private:
    TDMCertif& dm_;
};
