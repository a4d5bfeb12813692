#include "Certificados.h"
#include "ConfigLocal.h"
#include "InstalaVersao.h"
#include "Modal.h"
#include "Screenshot.h"
#include "Session.h"
#include "TFrmPrincipalVersoes.h"
#include "TestServers.h"
#include "VersoesFixture.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QThread>
#include <QTimer>

namespace {

QString text(QWidget* parent, const char* name) {
    auto* edit = parent->findChild<QLineEdit*>(QString::fromLatin1(name));
    return edit ? edit->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

bool markShown(QWidget* parent, const char* name) {
    auto* mark = parent->findChild<QLabel*>(QString::fromLatin1(name));
    return mark && !mark->isHidden();
}

class VersoesScreenTest : public VersoesFixture {
protected:
    VersoesScreenTest() : session(Database::ConnectionName, clock, prompts) {
        session.setUser(LoggedUser{"maria", "OCC1", Permissions::all()});
        ConfigLocal config;
        config.SiglaCertificador = "OCC1";
        config.NomeOCC = "Organismo de Teste";
        config.DirLocalRecepAux = reception + "/";
        config.EndKavorelOrigAux = QStringLiteral("127.0.0.1:%1/tabelas").arg(server.port());
        config.LoginFTP = FtpTestServer::user();
        config.SenhaFTP = FtpTestServer::password();
        ConfigLocalTable::save(db, config);
        QDir(server.root()).mkpath("tabelas");
    }

    // Opens "Atualiza versão atual...", lets `act` drive it, and returns what it showed.
    void onUpdateScreen(TFrmPrincipalVersoes& main, std::function<void(QWidget*)> act) {
        bool reached = false;
        onNextModal([&](QWidget* dialog) {
            reached = dialog && dialog->objectName() == "TFrmAtualizaVersao";
            if (reached)
                act(dialog);
            if (dialog)
                clickOn(dialog, "BtSaida");
        });
        clickOn(&main, "BtAtualizaVersao");
        EXPECT_TRUE(reached);
    }

    // The sample package a newcomer makes (scripts/make-sample-reference-package runs this tool).
    static void samplePackage(const QString& directory, const QString& numero) {
        QProcess tool;
        tool.start(QStringLiteral(TARVENDIX_SAMPLE_PACKAGE), {directory, "OCC1", numero});
        ASSERT_TRUE(tool.waitForFinished(60000));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    }
    QString samplePais() const { return count("SELECT NomePais FROM PAIS WHERE CodigoPais = 'ZZ'"); }

    FtpTestServer server;
    Session session;
};

// The road of the how-to on reference tables, with its pictures: the sample package from the
// server, a newer one from a local directory, then the first one installed again.
TEST_F(VersoesScreenTest, TheSamplePackagesFromTheServerFromADirectoryAndAgain) {
    samplePackage(server.pathOf("tabelas"), "2026010101");
    TFrmPrincipalVersoes main(session);
    main.show();

    QString internet;
    onUpdateScreen(main, [&](QWidget* screen) {
        clickOn(screen, "BtAtualiza");
        internet = text(screen, "EdResultado");
        screenshot(screen, "versoes-atualiza-internet.png");
    });
    EXPECT_EQ(internet, "A nova versão foi instalada sem problemas.");
    EXPECT_EQ(samplePais(), "País de amostra (pacote 2026010101)");

    clock.advanceSeconds(35 * 24 * 3600);
    QTemporaryDir media;
    samplePackage(media.path(), "2026020101");
    QString local;
    onUpdateScreen(main, [&](QWidget* screen) {
        screen->findChild<QComboBox*>("CbTipo")->setCurrentText("Arquivo Local");
        prompts.planChoice(media.path());
        clickOn(screen, "BtBrowse");
        clickOn(screen, "BtAtualiza");
        local = text(screen, "EdResultado");
        screenshot(screen, "versoes-atualiza-local.png");
    });
    EXPECT_EQ(local, "A nova versão foi instalada sem problemas.");
    EXPECT_EQ(samplePais(), "País de amostra (pacote 2026020101)");
    auto* history = main.findChild<QTableView*>("DBGridVersao");
    EXPECT_EQ(history->model()->rowCount(), 2);
    for (int row = 0; row < history->model()->rowCount(); ++row) // every cell shows whole
        for (int column = 0; column < history->model()->columnCount(); ++column) {
            const QString cell = history->model()->index(row, column).data().toString();
            EXPECT_LT(history->fontMetrics().horizontalAdvance(cell), history->columnWidth(column))
                << cell.toStdString();
        }
    screenshot(&main, "versoes-principal.png");

    clock.advanceSeconds(3 * 3600);
    QString chosen, again;
    onNextModal([&](QWidget* screen) {
        ASSERT_TRUE(screen);
        auto* grid = screen->findChild<QTableView*>("DBGridVersaoAnterior");
        ASSERT_EQ(grid->model()->rowCount(), 2);
        grid->selectRow(1); // by version, highest first: the older one
        chosen = grid->model()->index(1, 0).data().toString();
        clickOn(screen, "BtAtualiza");
        again = text(screen, "EdResultado");
        screenshot(screen, "versoes-anterior.png");
        clickOn(screen, "BtSaida");
    });
    clickOn(&main, "BtVersaoAnterior");
    EXPECT_EQ(chosen, "2026010101");
    EXPECT_EQ(again, "A versão anterior foi instalada sem problemas.");
    EXPECT_EQ(samplePais(), "País de amostra (pacote 2026010101)");
    EXPECT_EQ(text(&main, "EdVersaoAtual"), "2026010101");
    EXPECT_EQ(main.findChild<QTableView*>("DBGridVersao")->model()->rowCount(), 3);
}

TEST_F(VersoesScreenTest, ANewerVersionFromALocalDirectoryIsInstalledAndListed) {
    // The package accredits the certifier for fire extinguishers (class 300).
    onSource("INSERT INTO CREDENCIAMENTO (SiglaCertificador, IdClasseCertif, IdClasseProd) VALUES ('OCC1', "
             "'COMP', 300)");
    QTemporaryDir media;
    package("2026030501", {"CREDENCIAMENTO"}, media.path());

    TFrmPrincipalVersoes main(session);
    main.show();
    EXPECT_EQ(text(&main, "EdVersaoAtual"), "");
    EXPECT_FALSE(main.findChild<QPushButton*>("BtVersaoAnterior")->isEnabled());

    QString result, found;
    bool marks = false, browseHiddenForInternet = false;
    onUpdateScreen(main, [&](QWidget* screen) {
        browseHiddenForInternet = screen->findChild<QPushButton*>("BtBrowse")->isHidden();
        screen->findChild<QComboBox*>("CbTipo")->setCurrentText("Arquivo Local");
        prompts.planChoice(media.path());
        clickOn(screen, "BtBrowse");
        clickOn(screen, "BtAtualiza");
        result = text(screen, "EdResultado");
        found = text(screen, "EdVersaoNova");
        marks = markShown(screen, "CkProcura") && markShown(screen, "CkTransferindo") &&
                markShown(screen, "CkAtualiza");
    });

    EXPECT_TRUE(browseHiddenForInternet);
    EXPECT_EQ(result, "A nova versão foi instalada sem problemas.");
    EXPECT_EQ(found, "2026030501");
    EXPECT_TRUE(marks);
    EXPECT_EQ(text(&main, "EdVersaoAtual"), "2026030501");
    EXPECT_EQ(text(&main, "EdNomeArquivo"), "OC-TAB-2026030501.zip");
    EXPECT_EQ(main.findChild<QTableView*>("DBGridVersao")->model()->rowCount(), 1);
    EXPECT_TRUE(main.findChild<QPushButton*>("BtVersaoAnterior")->isEnabled());
    // What the register offers next comes from the installed tables.
    bool offered = false;
    for (const auto& item : Certificados::classesDeProdutos(db))
        offered = offered || item.id.toInt() == 300;
    EXPECT_TRUE(offered);
}

TEST_F(VersoesScreenTest, TheNewestOnTheServerIsFetchedAndInstalledAndNothingNewerIsSaid) {
    onSource("UPDATE PAIS SET NomePais = 'Brasil pela internet' WHERE CodigoPais = 'BR'");
    package("2026030601", {"PAIS"}, server.pathOf("tabelas"));
    TFrmPrincipalVersoes main(session);
    main.show();

    QString first, second;
    onUpdateScreen(main, [&](QWidget* screen) {
        EXPECT_EQ(text(screen, "EdLocalizacao"), QStringLiteral("127.0.0.1:%1/tabelas").arg(server.port()));
        clickOn(screen, "BtAtualiza");
        first = text(screen, "EdResultado");
    });
    onUpdateScreen(main, [&](QWidget* screen) {
        clickOn(screen, "BtAtualiza");
        second = text(screen, "EdResultado");
    });

    EXPECT_EQ(first, "A nova versão foi instalada sem problemas.");
    EXPECT_EQ(Sql::scalar(db, "SELECT NomePais FROM PAIS WHERE CodigoPais = 'BR'").toString(),
              "Brasil pela internet");
    EXPECT_EQ(second, "Não foi encontrado arquivo de atualização mais atual.");
    EXPECT_EQ(main.findChild<QTableView*>("DBGridVersao")->model()->rowCount(), 1);
}

// While the archive is downloading, Esc, the close button and "Saída" leave the window where it is,
// and the version screen starts no second update into the same archive; "Interrompe" ends it.
TEST_F(VersoesScreenTest, WhileADownloadRunsTheWindowStaysAndNoSecondUpdateStarts) {
    FtpTestServer stalling(FtpTestServer::Options{{}, {}, {"RETR"}});
    ASSERT_TRUE(stalling.started()) << stalling.error().toStdString();
    ASSERT_TRUE(QDir(stalling.root()).mkpath("tabelas"));
    package("2026040101", {"PAIS"}, stalling.pathOf("tabelas"));
    Sql::execute(db, "UPDATE CONFIG_LOCAL SET EndKavorelOrigAux = :a",
                 {{":a", QStringLiteral("127.0.0.1:%1/tabelas").arg(stalling.port())}});
    TFrmPrincipalVersoes main(session);
    main.show();

    bool reached = false, stayed = false, secondOpened = false;
    QString result;
    onUpdateScreen(main, [&](QWidget* screen) {
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!stalling.stalling("RETR"))
                return;
            poll.stop();
            reached = true;
            QTest::keyClick(screen, Qt::Key_Escape);
            screen->close();
            clickOn(screen, "BtSaida");
            stayed = screen->isVisible();
            // A second update would come up as a second modal window: close it if it does.
            QTimer watch;
            watch.setInterval(10);
            QObject::connect(&watch, &QTimer::timeout, [&] {
                QWidget* modal = QApplication::activeModalWidget();
                if (modal && modal != screen) {
                    secondOpened = true;
                    clickOn(modal, "BtCancela");
                }
            });
            watch.start();
            clickOn(&main, "BtAtualizaVersao");
            watch.stop();
            clickOn(screen, "BtInterrompe");
        });
        poll.start();
        clickOn(screen, "BtAtualiza");
        result = text(screen, "EdResultado");
    });

    EXPECT_TRUE(reached);
    EXPECT_TRUE(stayed);
    EXPECT_FALSE(secondOpened);
    EXPECT_EQ(result, "Foi encontrado arquivo mais atual, mas houve interrupção na transferência.");
    EXPECT_TRUE(QDir(reception).entryList(QDir::Files).isEmpty())
        << QDir(reception).entryList().join(' ').toStdString();
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM CONTROLE_AUX").toInt(), 0);
}

TEST_F(VersoesScreenTest, ReinstallingAVersionWhoseArchiveIsGoneSaysSoAndChangesNothing) {
    package("2026030701", {"PAIS"});
    ASSERT_TRUE(InstalaVersao(db, clock, prompts, reception, "OC-TAB-2026030701.zip", "2026030701"));
    QFile::remove(QDir(reception).filePath("OC-TAB-2026030701.zip"));
    TFrmPrincipalVersoes main(session);
    main.show();

    QString result;
    onNextModal([&](QWidget* screen) {
        ASSERT_TRUE(screen);
        EXPECT_EQ(screen->objectName(), "TFrmVersaoAnterior");
        clickOn(screen, "BtAtualiza");
        result = text(screen, "EdResultado");
        clickOn(screen, "BtSaida");
    });
    clickOn(&main, "BtVersaoAnterior");

    EXPECT_EQ(result, "O arquivo da versão anterior não foi encontrado.");
    EXPECT_EQ(prompts.lastText(), "O arquivo da versão anterior não foi encontrado.");
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM CONTROLE_AUX").toInt(), 1);
}

} // namespace
