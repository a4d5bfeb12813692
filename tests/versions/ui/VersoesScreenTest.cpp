#include "Certificados.h"
#include "ConfigLocal.h"
#include "InstalaVersao.h"
#include "Modal.h"
#include "Session.h"
#include "TFrmPrincipalVersoes.h"
#include "TestServers.h"
#include "VersoesFixture.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

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

    FtpTestServer server;
    Session session;
};

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
