#include "ExchangeFunctions.h"

#include "SharedBatchState.h"
#include "TFrmCapaSistema.h"
#include "TFrmEnviaTXT_FTP.h"
#include "TFrmPrincipalRemessas.h"
#include "TFrmSelecaoTransferencia.h"

#include <memory>

void installExchange(TFrmCapaSistema& window) {
    auto state = std::make_shared<SharedBatchState>();
    window.registerFunction(ShellFunction::GerarRemessa, [&window, state] {
        // Result retrieval and the history listing plug in here as they arrive; until then their
        // buttons stay disabled.
        TFrmPrincipalRemessas form(window.session(), *state, &window);
        form.setTransfere([&window, state](QWidget* parent, const QString& arquivo) {
            TFrmSelecaoTransferencia selecao(window.session(), *state, arquivo, parent);
            selecao.exec();
        });
        form.exec();
    });
    // The window shows its information box first.
    window.registerFunction(ShellFunction::EnvioTXT, [&window, state] {
        TFrmEnviaTXT_FTP form(window.session(), *state, &window);
        form.exec();
    });
}
