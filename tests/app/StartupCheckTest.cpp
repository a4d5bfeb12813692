#include "ErrorHandler.h"
#include "Paths.h"
#include "ShellFixture.h"
#include "TarvendixApplication.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {

const QString DirectoryError = QStringLiteral("Ocorreu um Erro na Criação do Diretório.");
const QString ConfigIncomplete = QStringLiteral("Dados da Configuração de diretórios incompleta. Verifique");

struct StartupCheck : ::testing::Test, ShellFixture {
    int logins = 0;

    void SetUp() override {
        window.setLoginHook([this] {
            ++logins;
            window.applyLogin(userWith(QStringLiteral("ana"), Permissions::all()));
        });
    }

    void configure(const QString& sigla) {
        QSqlQuery q(capaSistema.database());
        q.prepare(QStringLiteral("INSERT INTO CONFIG_LOCAL (SiglaCertificador) VALUES (:s)"));
        q.bindValue(QStringLiteral(":s"), sigla);
        ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
    }

    bool shownInWindow(const char* name) const {
        return window.findChild<QWidget*>(name)->isVisibleTo(&window);
    }
};

} // namespace

TEST_F(StartupCheck, CreatesTheWorkDirectoryOnFirstStartAndNothingLater) {
    configure(QStringLiteral("OCC1"));
    const QString work = home.path() + QStringLiteral("Trabalho/");
    ASSERT_FALSE(QFileInfo::exists(work));

    window.runStartupCheck();
    EXPECT_TRUE(QFileInfo(work).isDir());
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_EQ(logins, 1);
    EXPECT_FALSE(shownInWindow("LbAguarde"));
    EXPECT_FALSE(shownInWindow("PbAguarde"));
    EXPECT_TRUE(session.user().isLoggedIn());

    // A later start finds the directory and its files as they were.
    QFile marker(work + QStringLiteral("remessa.zip"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.write("conteudo");
    marker.close();
    TFrmCapaSistema second(session);
    second.setCapaSistema(&capaSistema);
    second.runStartupCheck();
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_EQ(QDir(work).entryList(QDir::Files), QStringList{QStringLiteral("remessa.zip")});
    QFile again(work + QStringLiteral("remessa.zip"));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray("conteudo"));
}

TEST_F(StartupCheck, EmptyConfigurationIsReportedAndTheLoginFollows) {
    for (const bool withEmptyRow : {false, true}) {
        SCOPED_TRACE(withEmptyRow ? "row with an empty acronym" : "no row");
        prompts.clear();
        logins = 0;
        if (withEmptyRow)
            configure(QString(""));
        window.runStartupCheck();
        ASSERT_EQ(prompts.shown().size(), 1);
        EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Information);
        EXPECT_EQ(prompts.shown()[0].text, ConfigIncomplete);
        EXPECT_EQ(logins, 1);
    }
}

TEST_F(StartupCheck, ADirectoryThatWouldExposeTheRegisterIsReportedAndTheLoginFollows) {
    // Stored before the directories were checked, or written by hand.
    QSqlQuery q(capaSistema.database());
    q.prepare(
        QStringLiteral("INSERT INTO CONFIG_LOCAL (SiglaCertificador, DirLocalTransf) VALUES ('OCC', :d)"));
    q.bindValue(QStringLiteral(":d"), home.path());
    ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();

    window.runStartupCheck();
    ASSERT_EQ(prompts.shown().size(), 1) << prompts.texts().join("|").toStdString();
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Warning);
    EXPECT_TRUE(prompts.shown()[0].text.contains("Diretório Local de Transferência de Remessas"));
    EXPECT_TRUE(prompts.shown()[0].text.contains("banco de dados")) << prompts.shown()[0].text.toStdString();
    EXPECT_EQ(logins, 1);
}

TEST_F(StartupCheck, WorkDirectoryThatCannotBeCreatedIsReportedAndStartUpGoesOn) {
    // A file where the directory should be: mkpath fails whoever runs the test.
    QFile blocker(home.path() + QStringLiteral("Trabalho"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    window.runStartupCheck();
    ASSERT_EQ(prompts.shown().size(), 2);
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Error);
    EXPECT_EQ(prompts.shown()[0].text, DirectoryError);
    EXPECT_EQ(prompts.shown()[1].text, ConfigIncomplete);
    EXPECT_EQ(logins, 1);
    EXPECT_TRUE(QFileInfo(home.path() + QStringLiteral("Trabalho")).isFile());
}

TEST_F(StartupCheck, RunsOnceFromTheTimerAfterTheWindowIsShown) {
    configure(QStringLiteral("OCC1"));
    window.show();
    window.scheduleStartupCheck();
    EXPECT_EQ(logins, 0); // not before the event loop runs
    ASSERT_TRUE(QTest::qWaitFor([&] { return logins > 0; }, 2000));
    QTest::qWait(250);
    EXPECT_EQ(logins, 1);
    EXPECT_TRUE(QFileInfo(home.path() + QStringLiteral("Trabalho")).isDir());
    EXPECT_FALSE(shownInWindow("PbAguarde"));
}

TEST_F(StartupCheck, DatabaseErrorGoesToTheLogAndStopsTheCheck) {
    auto* app = qobject_cast<TarvendixApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    ErrorHandler handler(clock, prompts);
    app->setErrorHandler(&handler);
    struct Reset {
        TarvendixApplication* app;
        ~Reset() { app->setErrorHandler(nullptr); }
    } reset{app};

    // A sound file the check cannot read: its configuration table is missing. (A file that is not a
    // database at all is now found damaged before anything opens it; see BackupMenuTest.)
    {
        QSqlQuery drop(capaSistema.database());
        ASSERT_TRUE(drop.exec(QStringLiteral("DROP TABLE CONFIG_LOCAL")))
            << drop.lastError().text().toStdString();
    }
    Database::close();

    registerAll();
    window.show();
    window.scheduleStartupCheck();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.shown().isEmpty(); }, 2000));
    QTest::qWait(50);

    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Error);
    const QString message = prompts.shown()[0].text;
    EXPECT_FALSE(message.isEmpty());
    QFile log(handler.log().path());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(log.readAll()), QStringLiteral("25/11/2015 14:03:59:") + message +
                                                    QStringLiteral("\r\n") + QString(70, QLatin1Char('-')) +
                                                    QStringLiteral("\r\n"));

    // The rest of the check did not run: no login, menus closed, the waiting label still up.
    EXPECT_EQ(logins, 0);
    EXPECT_FALSE(session.user().isLoggedIn());
    EXPECT_FALSE(enabled(QStringLiteral("mnuFuncoes")));
    EXPECT_FALSE(enabled(QStringLiteral("mniAjuda")));
    EXPECT_TRUE(enabled(QStringLiteral("sbSair")));
    EXPECT_TRUE(shownInWindow("LbAguarde"));
    EXPECT_TRUE(shownInWindow("PbAguarde"));
}
