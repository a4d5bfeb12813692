#include "InstalaEmpresas.h"

#include "PanelModificaCertificado.h"
#include "PanelTabEmpresa.h"
#include "SlotPanel.h"
#include "TFormPrincipal.h"
#include "TabEmpresasEnvolvidas.h"

void instalaEmpresas(TFormPrincipal& form) {
    auto* tabela = new PanelTabEmpresa(form.dm());
    form.installPanel(QStringLiteral("TabEmpresa"), tabela);
    QObject::connect(tabela, &PanelTabEmpresa::saida, &form,
                     [&form] { form.MostraPainel(QStringLiteral("Principal")); });

    PanelModificaCertificado* modifica = form.panelModifica();
    SlotPanel* slot = modifica->aba(QStringLiteral("TabModificaEmp"));
    auto* aba = new TabEmpresasEnvolvidas(form.dm());
    slot->install(aba);
    modifica->setRecusaSaida(
        slot, [aba] { return aba->editando() ? QStringLiteral("Empresas Envolvidas") : QString(); });
    QObject::connect(aba, &TabEmpresasEnvolvidas::alterado, modifica,
                     &PanelModificaCertificado::atualizaBotoes);
}
