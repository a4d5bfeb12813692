#include "InstalaDocumentos.h"

#include "DbError.h"
#include "DocumentosNormativos.h"
#include "GeraHistorico.h"
#include "LinhasProduto.h"
#include "PanelModificaCertificado.h"
#include "Prompts.h"
#include "Session.h"
#include "SlotPanel.h"
#include "TDMCertif.h"
#include "TFormPrincipal.h"
#include "TFrmDocumentosNormativos.h"
#include "TFrmGeraHistorico.h"
#include "TabDadosGerais.h"
#include "TabEmpresasEnvolvidas.h"
#include "TabLinhasProduto.h"
#include "TabServicos.h"

#include <QAbstractItemModel>
#include <QItemSelectionModel>
#include <QTabWidget>
#include <QTableView>

namespace {

// The item of the register's active tab: what the two buttons act on.
struct ItemDaAba {
    std::optional<EscopoDocNorm> escopo; // nothing on "Empresas Envolvidas"
    EventTable eventos = EventTable::STATUS_C;
    QVariantList chaveEvento;
    ItemDocNorm documentos;
};

template <typename T> T* conteudo(PanelModificaCertificado* modifica, const char* aba) {
    SlotPanel* slot = modifica->aba(QString::fromLatin1(aba));
    return slot ? qobject_cast<T*>(slot->content()) : nullptr;
}

std::optional<ItemDaAba> itemDaAba(TDMCertif& dm, PanelModificaCertificado* modifica) {
    if (!dm.temCertificadoAberto())
        return std::nullopt;
    const Certificado& c = dm.registro();
    ItemDaAba item;
    item.documentos.SiglaCertificador = dm.siglaAberta();
    item.documentos.NumCertif = dm.numAberto();
    item.documentos.IdClasseCertif = c.IdClasseCertif;
    item.documentos.DataEmissao = c.DataEmissao;
    item.documentos.IdClasseProd = c.IdClasseProd.value_or(0);
    QWidget* aba = modifica->abas()->currentWidget();
    const QString caption = modifica->abas()->tabText(modifica->abas()->currentIndex());
    item.escopo = escopoDaAba(caption);

    if (aba == modifica->dadosGerais()) {
        item.eventos = EventTable::STATUS_C;
        item.chaveEvento = {dm.siglaAberta(), dm.numAberto()};
        return item;
    }
    if (aba == modifica->aba(QStringLiteral("TabModificaEmp"))) {
        auto* tab = conteudo<TabEmpresasEnvolvidas>(modifica, "TabModificaEmp");
        const auto atual = tab ? tab->atual() : std::nullopt;
        if (!atual)
            return std::nullopt;
        item.eventos = EventTable::EVENTO_EMP;
        item.chaveEvento = {dm.siglaAberta(), dm.numAberto(), atual->first, atual->second};
        return item;
    }
    if (aba == modifica->aba(QStringLiteral("TabModificaServico"))) {
        auto* tab = conteudo<TabServicos>(modifica, "TabModificaServico");
        const std::optional<ChaveServico> atual = tab ? tab->atual() : std::nullopt;
        if (!atual)
            return std::nullopt;
        item.eventos = EventTable::STATUS_S;
        item.chaveEvento = atual->chaveEvento();
        item.documentos.IdClasseServ = atual->IdClasseServ;
        item.documentos.CodigoPais = atual->CodigoPais;
        item.documentos.IdEmpresa = atual->IdEmpresa;
        return item;
    }
    for (const char* nome : {"TabModificaTipo", "TabModificaLote", "TabModificaUnidade"}) {
        if (aba != modifica->aba(QString::fromLatin1(nome)))
            continue;
        auto* tab = conteudo<TabLinhasProduto>(modifica, nome);
        const std::optional<ChaveLinha> atual = tab ? tab->chaveAtual() : std::nullopt;
        if (!atual)
            return std::nullopt;
        item.eventos = LinhasProduto::tabelaEventos(tab->tipo());
        item.chaveEvento = LinhasProduto::chaveDoEvento(tab->tipo(), *atual);
        item.documentos.MarcaProd = atual->MarcaProd;
        item.documentos.ModeloProd = atual->ModeloProd;
        item.documentos.Importado = atual->Importado;
        item.documentos.Numero = atual->Numero;
        return item;
    }
    return std::nullopt;
}

// The buttons follow the current line of every tab's grid.
void acompanhaGrades(PanelModificaCertificado* modifica) {
    for (const char* nome : {"TabModificaEmp", "TabModificaTipo", "TabModificaLote", "TabModificaUnidade",
                             "TabModificaServico"}) {
        SlotPanel* slot = modifica->aba(QString::fromLatin1(nome));
        if (!slot || !slot->content())
            continue;
        for (QTableView* grid : slot->content()->findChildren<QTableView*>()) {
            if (!grid->model() || !grid->selectionModel())
                continue;
            // Queued: the tabs place their cursor after the model was reset, without signals.
            QObject::connect(grid->model(), &QAbstractItemModel::modelReset, modifica,
                             &PanelModificaCertificado::atualizaBotoes, Qt::QueuedConnection);
            QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, modifica,
                             &PanelModificaCertificado::atualizaBotoes, Qt::QueuedConnection);
        }
    }
}

} // namespace

void instalaDocumentos(TFormPrincipal& form, MostraTelaDocumentos mostra) {
    if (!mostra)
        mostra = [](std::unique_ptr<QDialog> tela) { tela->exec(); };
    TDMCertif& dm = form.dm();
    PanelModificaCertificado* modifica = form.panelModifica();
    modifica->setTemItemAtual([&dm, modifica] { return itemDaAba(dm, modifica).has_value(); });
    modifica->setAcaoDocNorm([&dm, modifica, mostra] {
        std::optional<ItemDaAba> item = itemDaAba(dm, modifica);
        if (!item || !item->escopo)
            return;
        item->documentos.escopo = *item->escopo;
        mostra(std::make_unique<TFrmDocumentosNormativos>(dm, item->documentos, modifica));
        modifica->atualizaBotoes();
    });
    modifica->setAcaoHistorico([&dm, modifica, mostra] {
        const std::optional<ItemDaAba> item = itemDaAba(dm, modifica);
        if (!item)
            return;
        QString status;
        try {
            status = HistoricoItens::statusAtual(dm.database(), item->eventos, item->chaveEvento);
        } catch (const DbError& error) {
            dm.session().prompts().error(error.message());
            return;
        }
        mostra(std::make_unique<TFrmGeraHistorico>(dm, item->eventos, item->chaveEvento, status,
                                                   dm.registro().DataEmissao, modifica));
        modifica->atualizaBotoes();
    });
    acompanhaGrades(modifica);
}
