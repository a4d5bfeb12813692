#include "Clock.h"
#include "Database.h"
#include "Modal.h"
#include "RegistryFunctions.h"
#include "SampleReference.h"
#include "ScriptedPrompts.h"
#include "Session.h"
#include "TDMCapaSistema.h"
#include "TFrmCapaSistema.h"
#include "TestHome.h"

#include <QAction>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

// The registry screen opens from the main window's "Manutenção da Base de Dados...", for users
// allowed to maintain the registry only.
TEST(RegistryShellTest, ManutencaoDaBaseAbreORegistro) {
    TestHome home;
    ManualClock clock{QDateTime(QDate(2015, 11, 25), QTime(14, 3, 59))};
    ScriptedPrompts prompts;
    Session session{Database::ConnectionName, clock, prompts};
    TFrmCapaSistema window{session};
    TDMCapaSistema capaSistema{session};
    window.setCapaSistema(&capaSistema);
    home.openDatabase();
    installRegistry(window, capaSistema);
    EXPECT_TRUE(window.isAvailable(ShellFunction::ManBaseDados));

    auto* item = window.findChild<QAction*>(QStringLiteral("mniManBaseDados"));
    ASSERT_NE(item, nullptr);
    Permissions semManBase = Permissions::all();
    semManBase.AcManBase = false;
    window.applyLogin(LoggedUser{QStringLiteral("joao"), QStringLiteral("OCC1"), semManBase});
    EXPECT_FALSE(item->isEnabled());
    window.applyLogin(LoggedUser{QStringLiteral("maria"), QStringLiteral("OCC1"), Permissions::all()});
    ASSERT_TRUE(item->isEnabled());

    QString title, status;
    onNextModal([&](QWidget* modal) {
        if (!modal)
            return;
        title = modal->windowTitle();
        if (auto* panel0 = modal->findChild<QLabel*>(QStringLiteral("StatusBar1Panel0")))
            status = panel0->text();
        modal->close();
    });
    item->trigger();
    EXPECT_EQ(title.toStdString(), "Tarvendix - Manutenção da Base de Dados");
    EXPECT_TRUE(status.contains(QStringLiteral("maria"))) << status.toStdString();
    EXPECT_EQ(window.findChild<QWidget*>(QStringLiteral("FormPrincipal")), nullptr); // released when closed
}

} // namespace
