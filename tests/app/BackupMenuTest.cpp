#include "Backups.h"
#include "Paths.h"
#include "Screenshot.h"
#include "ShellFixture.h"
#include "Sql.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTableWidget>
#include <QThread>

namespace {

Permissions configuresCertifier() {
    Permissions p;
    p.AcConfigOCC = true;
    return p;
}

struct BackupMenu : ::testing::Test, ShellFixture {
    void SetUp() override {
        QSqlDatabase db = capaSistema.database();
        Sql::execute(db, "INSERT INTO CONTROLE (NumeroRemessa, Evento) VALUES ('2015112501', 'PR')");
        window.applyLogin(userWith(QStringLiteral("ana"), configuresCertifier()));
        window.show();
    }

    int rows() const { return Sql::scalar(session.database(), "SELECT count(*) FROM CONTROLE").toInt(); }

    void trigger(const QString& name) {
        auto* action = window.findChild<QAction*>(name);
        ASSERT_TRUE(action) << name.toStdString();
        ASSERT_TRUE(action->isEnabled()) << name.toStdString();
        action->trigger();
    }

    QList<Backups::Copy> copies() const { return Backups::list(Backups::settingsFor(Paths::databaseFile())); }
};

} // namespace

TEST_F(BackupMenu, AnyUserMakesACopyAndOnlyTheCertifiersConfigurationRestoresOne) {
    EXPECT_TRUE(enabled("mnuCopias"));
    EXPECT_TRUE(enabled("mniFazerCopia"));
    EXPECT_TRUE(enabled("mniRestaurarCopia"));

    window.applyLogin(userWith(QStringLiteral("bia"), Permissions{}));
    EXPECT_TRUE(enabled("mniFazerCopia"));
    EXPECT_FALSE(enabled("mniRestaurarCopia"));

    // With a work page open the database is in use: no restore.
    window.applyLogin(userWith(QStringLiteral("ana"), configuresCertifier()));
    window.showPage(TFrmCapaSistema::PageId::CadastroUsuarios);
    EXPECT_TRUE(enabled("mniFazerCopia"));
    EXPECT_FALSE(enabled("mniRestaurarCopia"));
    window.returnToMainPage();
    EXPECT_TRUE(enabled("mniRestaurarCopia"));
}

TEST_F(BackupMenu, ACopyMadeNowIsRestoredFromTheList) {
    trigger("mniFazerCopia");
    ASSERT_EQ(copies().size(), 1);
    const Backups::Copy made = copies().first();
    EXPECT_EQ(made.reason, Backups::Manual);
    EXPECT_EQ(prompts.lastText(),
              QStringLiteral("Cópia de segurança feita em %1.").arg(QDir::toNativeSeparators(made.file)));

    Sql::execute(session.database(), "DELETE FROM CONTROLE");
    ASSERT_EQ(rows(), 0);

    QStringList listed;
    onNextModal([&](QWidget* dialog) {
        ASSERT_TRUE(dialog);
        auto* grid = dialog->findChild<QTableWidget*>("grdCopias");
        ASSERT_TRUE(grid);
        for (int row = 0; row < grid->rowCount(); ++row)
            listed << grid->item(row, 0)->text() + " | " + grid->item(row, 2)->text();
        grid->selectRow(0);
        screenshot(dialog, QStringLiteral("copias-restaurar.png"));
        clickOn(dialog, "btnRestaurar");
    });
    prompts.planAnswer(PromptAnswer::Yes);
    int logins = 0;
    window.registerFunction(ShellFunction::Login, [&] {
        ++logins;
        EXPECT_FALSE(session.user().isLoggedIn()) << "the user of the replaced database is still in force";
    });
    trigger("mniRestaurarCopia");

    EXPECT_EQ(listed,
              QStringList{made.when.toString("dd/MM/yyyy HH:mm:ss") + " | cópia pedida pelo usuário"});
    EXPECT_EQ(prompts.lastText(), QStringLiteral("A cópia de %1 foi restaurada. Entre novamente no sistema.")
                                      .arg(made.when.toString("dd/MM/yyyy HH:mm:ss")));
    // The users are the copy's now: the login is asked for again.
    EXPECT_EQ(logins, 1);
    EXPECT_FALSE(session.user().isLoggedIn());
    // The connection is open again, on the restored rows, and what was replaced is kept.
    EXPECT_TRUE(session.database().isOpen());
    EXPECT_EQ(rows(), 1);
    ASSERT_EQ(copies().size(), 2);
    EXPECT_EQ(copies().first().reason, Backups::Restauracao);
}

TEST_F(BackupMenu, CancellingTheListRestoresNothing) {
    trigger("mniFazerCopia");
    Sql::execute(session.database(), "DELETE FROM CONTROLE");
    onNextModal([](QWidget* dialog) {
        ASSERT_TRUE(dialog);
        auto* restore = dialog->findChild<QAbstractButton*>("btnRestaurar");
        ASSERT_TRUE(restore);
        EXPECT_FALSE(restore->isEnabled()); // no copy chosen yet
        clickOn(dialog, "btnCancelar");
    });
    trigger("mniRestaurarCopia");
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(copies().size(), 1);
}

// A bad disk overwrote pages of the database: the start offers the newest good copy and "Sim"
// restores it before anything opens the file; "Não" ends the program with the file untouched.
TEST(BackupStart, ADamagedDatabaseIsRestoredByFollowingTheMessage) {
    ShellFixture shell;
    {
        QSqlDatabase db = shell.capaSistema.database();
        Sql::execute(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                         "INSERT INTO CONTROLE (NumeroRemessa, Evento, Obs) SELECT printf('%010d', i), 'PR', "
                         "printf('%090d', i) FROM n");
    }
    const QString file = Paths::databaseFile();
    const Backups::Settings settings = Backups::settingsFor(file);
    Backups::make(file, Backups::Manual, shell.clock.now().addDays(-1), settings);
    Database::close();
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek((f.size() / 2 / 4096) * 4096));
        ASSERT_EQ(f.write(QByteArray(3 * 4096, '\x55')), 3 * 4096);
    }
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray damaged = f.readAll();
    f.close();

    shell.window.show();
    shell.prompts.planAnswer(PromptAnswer::No);
    shell.window.runStartupCheck();
    EXPECT_FALSE(shell.window.isVisible());
    EXPECT_TRUE(shell.prompts.lastText().contains(QStringLiteral("está danificado")))
        << shell.prompts.lastText().toStdString();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), damaged);
    f.close();
    EXPECT_FALSE(shell.session.database().isOpen());

    shell.window.show();
    shell.prompts.planAnswer(PromptAnswer::Yes);
    shell.window.runStartupCheck();
    EXPECT_TRUE(shell.window.isVisible());
    EXPECT_EQ(Backups::check(file), QStringLiteral("ok"));
    EXPECT_EQ(Sql::scalar(shell.capaSistema.database(), "SELECT count(*) FROM CONTROLE").toInt(), 3000);
}
