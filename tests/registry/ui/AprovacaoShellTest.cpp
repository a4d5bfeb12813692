#include "ApprovalFunctions.h"
#include "EventsFixture.h"
#include "Modal.h"
#include "TFrmCapaSistema.h"

#include <QTableView>

// The approval page inside the main window.
class AprovacaoShellTest : public EventsFixture {
protected:
    AprovacaoShellTest() : window(session) {
        installApprovalPage(window);
        window.show();
    }

    void login(bool aprova) {
        Permissions p;
        p.AcAprovCertific = aprova;
        window.applyLogin(LoggedUser{"joao", "OCC1", p});
    }

    QAbstractButton* speedButton() { return window.findChild<QAbstractButton*>("spbAprovaCertificados"); }

    TFrmCapaSistema window;
};

TEST_F(AprovacaoShellTest, BotaoAbreAPaginaESaidaVoltaAPrincipal) {
    insertCertificate("C1", true, false);
    login(true);
    ASSERT_NE(speedButton(), nullptr);
    ASSERT_TRUE(speedButton()->isEnabled());
    QTest::mouseClick(speedButton(), Qt::LeftButton);
    EXPECT_EQ(window.currentPage(), TFrmCapaSistema::PageId::AprovaCertificados);
    auto* grid = window.page(TFrmCapaSistema::PageId::AprovaCertificados)->findChild<QTableView*>("DBGrid24");
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(grid->model()->index(0, 1).data().toString(), "C1");
    // The other functions wait while the page is open.
    EXPECT_FALSE(speedButton()->isEnabled());

    ASSERT_TRUE(clickOn(&window, "BitBtn17"));
    EXPECT_EQ(window.currentPage(), TFrmCapaSistema::PageId::Principal);
    EXPECT_TRUE(speedButton()->isEnabled());
}

TEST_F(AprovacaoShellTest, SemPermissaoOBotaoFicaDesabilitado) {
    login(false);
    EXPECT_FALSE(speedButton()->isEnabled());
}

TEST_F(AprovacaoShellTest, AprovacaoPelaJanelaGravaOUsuarioLogado) {
    insertCertificate("C1", true, false);
    login(true);
    window.runFunction(ShellFunction::AprovaCertificados);
    auto* grid = window.page(TFrmCapaSistema::PageId::AprovaCertificados)->findChild<QTableView*>("DBGrid24");
    grid->selectRow(0);
    ASSERT_TRUE(clickOn(&window, "BitBtn9"));
    EXPECT_EQ(grid->model()->rowCount(), 0);
    EXPECT_EQ(Sql::scalar(db, "SELECT UsuResp FROM STATUS_C WHERE Evento = 'APR'").toString(), "joao");
}
