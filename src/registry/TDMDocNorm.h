#pragma once

#include "DocumentosNormativos.h"

#include <QList>
#include <QString>

class TDMCertif;

// The data module of the normative-documents screen: the links of one item of the open
// certificate, the documents that may still be linked, and each change as one transaction with
// its event and the certificate's flags. It shows its boxes through the session's prompts and never
// touches a widget.
class TDMDocNorm {
public:
    TDMDocNorm(TDMCertif& certif, ItemDocNorm item);

    TDMCertif& certif() const { return certif_; }
    const ItemDocNorm& item() const { return item_; }
    const EscopoInfo& escopo() const { return escopoInfo(item_.escopo); }

    // The item's links, as the grid shows them.
    QList<VinculoDocNorm> vinculos() const;
    QList<CandidatoDocNorm> candidatos(std::optional<int> idTipoDoc = std::nullopt) const;
    QList<TipoDocumento> tiposDeDocumento() const;

    // "Aplicar": links the document with the entry date typed ("dd/mm/yyyy"). False after the box
    // that says why (nothing is written then).
    bool aplica(const CandidatoDocNorm& documento, const QString& dataEntrada);
    // "E&xcluir ": removes a link the authority does not hold yet, with its events.
    bool exclui(const VinculoDocNorm& vinculo);
    // "Suspender", "(Re-)Ativar", "Cancelar": the new status with the justification and the status
    // date the user types. False when cancelled or refused.
    bool mudaStatus(const VinculoDocNorm& vinculo, const QString& status);

    // The link's key in its event table, for the history screen.
    QVariantList chaveDoEvento(const VinculoDocNorm& vinculo) const;

    static const QString NaoPodeApagar;
    static const QString ConfirmaExclusao;
    static const QString ErroStatus;

private:
    void relePosErro();

    TDMCertif& certif_;
    ItemDocNorm item_;
};
