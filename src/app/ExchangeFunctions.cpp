#include "ExchangeFunctions.h"

#include "InstalaRelatorios.h"
#include "Session.h"
#include "SharedBatchState.h"
#include "TFrmCapaSistema.h"
#include "TFrmPrincipalRemessas.h"

#include <memory>

void installExchange(TFrmCapaSistema& window) {
    auto state = std::make_shared<SharedBatchState>();
    window.registerFunction(ShellFunction::GerarRemessa, [&window, state] {
        // Delivery and result retrieval plug in here as they arrive; until then their buttons
        // stay disabled.
        TFrmPrincipalRemessas form(window.session(), *state, &window);
        form.setListagem([&form, &window](QWidget* parent) {
            const std::optional<BatchListRow> selected = form.remessaSelecionada();
            Session& session = window.session();
            InstalaRelatorios::listaHistorico(session, selected ? selected->NumeroRemessa : QString(),
                                              mostraNaPrevia(session.prompts()), parent);
        });
        form.exec();
    });
}
