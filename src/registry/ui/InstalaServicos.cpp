#include "InstalaServicos.h"

#include "PanelModificaCertificado.h"
#include "PanelSignatarios.h"
#include "SlotPanel.h"
#include "TDMCertif.h"
#include "TFormPrincipal.h"
#include "TabServicos.h"

#include <QPointer>

void instalaServicos(TFormPrincipal& form) {
    TDMCertif& dm = form.dm();
    PanelModificaCertificado* modifica = form.panelModifica();
    SlotPanel* aba = modifica->aba(QStringLiteral("TabModificaServico"));
    auto* servicos = new TabServicos(dm);
    aba->install(servicos);
    QPointer<TabServicos> tab(servicos);
    modifica->setRecusaSaida(
        aba, [tab] { return tab && tab->editor().editando() ? QStringLiteral("Serviços") : QString(); });
    QObject::connect(servicos, &TabServicos::alterado, modifica, &PanelModificaCertificado::atualizaBotoes);
    // The data module outlives the screen: the check answers "no duplicate" once the tab is gone.
    dm.registraVerificacao(QStringLiteral("SERVICO"), [tab] { return tab && tab->editor().duplicado(); });

    auto* signatarios = new PanelSignatarios(dm.session());
    QObject::connect(signatarios, &PanelSignatarios::saida, &form,
                     [&form] { form.MostraPainel(QStringLiteral("Principal")); });
    form.installPanel(QStringLiteral("Signatarios"), signatarios);
}
