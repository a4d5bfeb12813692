#include "ApprovalFunctions.h"

#include "AprovaCertificadosPage.h"
#include "TFrmCapaSistema.h"

void installApprovalPage(TFrmCapaSistema& window) {
    auto* page = new AprovaCertificadosPage(window.session());
    window.setPage(TFrmCapaSistema::PageId::AprovaCertificados, page);
    QObject::connect(page, &AprovaCertificadosPage::finished, &window, &TFrmCapaSistema::returnToMainPage);
    // The window shows the page first; opening it reloads the candidates.
    window.registerFunction(ShellFunction::AprovaCertificados, [page] { page->open(); });
}
