#include "InstalaProdutos.h"

#include "PanelModificaCertificado.h"
#include "PanelTabProduto.h"
#include "Produtos.h"
#include "SlotPanel.h"
#include "TDMCertif.h"
#include "TFormPrincipal.h"
#include "TabLinhasProduto.h"

#include <QPointer>

void instalaProdutos(TFormPrincipal& form) {
    TDMCertif& dm = form.dm();
    auto* produtos = new PanelTabProduto(dm.session());
    QObject::connect(produtos, &PanelTabProduto::saida, &form,
                     [&form] { form.MostraPainel(QStringLiteral("Principal")); });
    form.installPanel(QStringLiteral("TabProduto"), produtos);
    // The register's duplicate check of the product being edited (brand and model in any case).
    dm.registraVerificacao(QStringLiteral("PRODUTO"), [&dm, painel = QPointer<PanelTabProduto>(produtos)] {
        return painel && Produtos::existe(dm.database(), painel->tabela().registro().chave());
    });

    PanelModificaCertificado* modifica = form.panelModifica();
    const struct {
        const char* aba;
        TabLinhasProduto* conteudo;
    } abas[] = {
        {"TabModificaTipo", new TabProdutosTipo(dm)},
        {"TabModificaLote", new TabProdutosLote(dm)},
        {"TabModificaUnidade", new TabProdutosUnidade(dm)},
    };
    for (const auto& [aba, conteudo] : abas) {
        SlotPanel* slot = modifica->aba(QString::fromLatin1(aba));
        slot->install(conteudo);
        // A line being included or edited keeps the user on its tab.
        modifica->setRecusaSaida(
            slot, [conteudo] { return conteudo->editando() ? conteudo->objectName() : QString(); });
        QObject::connect(conteudo, &TabLinhasProduto::alterado, modifica,
                         &PanelModificaCertificado::atualizaBotoes);
    }
}
