#include "ExchangeFunctions.h"

#include "SharedBatchState.h"
#include "TFrmCapaSistema.h"
#include "TFrmPrincipalRemessas.h"
#include "TFrmSelecaoResultado.h"

#include <memory>

void installExchange(TFrmCapaSistema& window) {
    auto state = std::make_shared<SharedBatchState>();
    window.registerFunction(ShellFunction::GerarRemessa, [&window, state] {
        // Delivery and the history listing plug in here as they arrive; until then their buttons
        // stay disabled.
        TFrmPrincipalRemessas form(window.session(), *state, &window);
        form.setRecebe([&window, state](QWidget* parent, const QString& arquivo) {
            TFrmSelecaoResultado selecao(window.session(), *state, arquivo, parent);
            selecao.exec();
        });
        form.exec();
    });
}
