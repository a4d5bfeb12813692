#include "ExchangeFunctions.h"

#include "Comprovantes.h"
#include "InstalaRelatorios.h"
#include "Session.h"
#include "SharedBatchState.h"
#include "TFrmCapaSistema.h"
#include "TFrmEnviaTXT_FTP.h"
#include "TFrmPrincipalRemessas.h"
#include "TFrmSelecaoResultado.h"
#include "TFrmSelecaoTransferencia.h"

#include <memory>

namespace {

// "Emite Comprovante" of the delivery screens: the receipt in the print preview.
EntregaWidgets::EmiteComprovante comprovanteDaEntrega(Session& session) {
    return [&session](QWidget* parent, const ComprovanteEntrega& entrega) {
        mostraNaPrevia(session.prompts())(Comprovantes::daEntrega(ReportContext::of(session), entrega),
                                          parent);
    };
}

// "Emite Relatório" of the automatic result screen: the result receipt in the print preview.
EmiteRelatorioResultado comprovanteDoResultado(Session& session) {
    return [&session](QWidget* parent, const ComprovanteResultado& r) {
        mostraNaPrevia(session.prompts())(Comprovantes::resultado(ReportContext::of(session),
                                                                  {r.cabecalho, r.numeroRemessa},
                                                                  r.arquivoResultado, r.codigo, r.linhas),
                                          parent);
    };
}

} // namespace

void installExchange(TFrmCapaSistema& window) {
    auto state = std::make_shared<SharedBatchState>();
    window.registerFunction(ShellFunction::GerarRemessa, [&window, state] {
        TFrmPrincipalRemessas form(window.session(), *state, &window);
        form.setRecebe([&window, state](QWidget* parent, const QString& arquivo) {
            TFrmSelecaoResultado selecao(window.session(), *state, arquivo, parent);
            selecao.setRelatorio(comprovanteDoResultado(window.session()));
            selecao.exec();
        });
        form.setTransfere([&window, state](QWidget* parent, const QString& arquivo) {
            TFrmSelecaoTransferencia selecao(window.session(), *state, arquivo, parent);
            selecao.setComprovante(comprovanteDaEntrega(window.session()));
            selecao.exec();
        });
        form.setListagem([&form, &window](QWidget* parent) {
            const std::optional<BatchListRow> selected = form.remessaSelecionada();
            Session& session = window.session();
            InstalaRelatorios::listaHistorico(session, selected ? selected->NumeroRemessa : QString(),
                                              mostraNaPrevia(session.prompts()), parent);
        });
        form.exec();
    });
    // The window shows its information box first.
    window.registerFunction(ShellFunction::EnvioTXT, [&window, state] {
        TFrmEnviaTXT_FTP form(window.session(), *state, &window);
        form.setComprovante(comprovanteDaEntrega(window.session()));
        form.exec();
    });
}
