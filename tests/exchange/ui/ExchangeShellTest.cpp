#include "ExchangeFunctions.h"
#include "RemessasFixture.h"
#include "TFrmCapaSistema.h"
#include "TFrmPrincipalRemessas.h"

#include <QAction>
#include <QPushButton>

// The batch control as the main window opens it.
class ExchangeShellTest : public RemessasFixture {
protected:
    ExchangeShellTest() : window(session) {
        installExchange(window);
        window.show();
    }

    void login(bool remessas) {
        Permissions p;
        p.AcContRemessas = remessas;
        window.applyLogin(LoggedUser{"joao", "OCC1", p});
    }

    QAbstractButton* speedButton() { return window.findChild<QAbstractButton*>("spbContRemessas"); }
    QAction* menuItem() { return window.findChild<QAction*>("mniGerarRemessa"); }

    TFrmCapaSistema window;
};

TEST_F(ExchangeShellTest, SpeedButtonOpensTheBatchControlModally) {
    event("2015112501", "C", "PR", 0);
    login(true);
    ASSERT_NE(speedButton(), nullptr);
    ASSERT_TRUE(speedButton()->isEnabled());
    ASSERT_TRUE(menuItem()->isEnabled());
    QString title;
    int rows = -1;
    bool transfere = true, cancela = false, listagem = true;
    onNextModal([&](QWidget* modal) {
        ASSERT_NE(qobject_cast<TFrmPrincipalRemessas*>(modal), nullptr);
        title = modal->windowTitle();
        rows = modal->findChild<QTableView*>("GrRemessa")->model()->rowCount();
        transfere = modal->findChild<QPushButton*>("BtTransfere")->isEnabled();
        cancela = modal->findChild<QPushButton*>("BtCancela")->isEnabled();
        listagem = modal->findChild<QPushButton*>("BtListagem")->isEnabled();
        clickOn(modal, "BtSaida");
    });
    QTest::mouseClick(speedButton(), Qt::LeftButton);
    EXPECT_EQ(title, "Controle de Remessas");
    EXPECT_EQ(rows, 1);
    // Delivery and the history listing arrive with their own screens.
    EXPECT_FALSE(transfere);
    EXPECT_FALSE(listagem);
    EXPECT_TRUE(cancela);
}

TEST_F(ExchangeShellTest, MenuItemOpensItToo) {
    login(true);
    bool opened = false;
    onNextModal([&](QWidget* modal) {
        opened = qobject_cast<TFrmPrincipalRemessas*>(modal) != nullptr;
        if (modal)
            clickOn(modal, "BtSaida");
    });
    menuItem()->trigger();
    EXPECT_TRUE(opened);
}

TEST_F(ExchangeShellTest, WithoutThePermissionBothStayDisabled) {
    login(false);
    EXPECT_FALSE(speedButton()->isEnabled());
    EXPECT_FALSE(menuItem()->isEnabled());
}
