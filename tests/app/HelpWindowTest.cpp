// The manual inside the program: its menu item beside "Sobre...", F1 on any screen opening the how-to
// of that screen, every how-to of docs/ shipped with its pictures.

#include "HelpWindow.h"
#include "PrintQString.h"
#include "Screenshot.h"
#include "SharedBatchState.h"
#include "ShellFixture.h"
#include "TFrmGravaDisquete.h"
#include "TFrmPrincipalRemessas.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>

namespace {

struct HelpWindowTest : ::testing::Test, ShellFixture {
    // The manual open over `janela`, or nullptr.
    static HelpWindow* manualSobre(QWidget* janela) {
        for (HelpWindow* help : janela->findChildren<HelpWindow*>(Qt::FindDirectChildrenOnly))
            if (help->isVisible())
                return help;
        return nullptr;
    }
    static QTextBrowser* pagina(HelpWindow* help) { return help->findChild<QTextBrowser*>("txtManual"); }
};

TEST_F(HelpWindowTest, EveryHowToOfTheDocsShipsWithThePicturesItShows) {
    const QDir docs(QStringLiteral(TARVENDIX_SOURCE_DIR "/docs"));
    ASSERT_TRUE(docs.exists()) << docs.path();
    for (const QString& howto : docs.entryList({QStringLiteral("howto-*.md")}, QDir::Files))
        EXPECT_TRUE(HelpWindow::topics().contains(howto)) << howto << " is not in the manual";

    HelpWindow help;
    for (const QString& topic : HelpWindow::topics()) {
        help.showTopic(topic);
        EXPECT_EQ(help.currentTopic(), topic);
        // The contents list shows where the reader is.
        EXPECT_EQ(help.findChild<QListWidget*>("lstConteudo")->currentItem()->data(Qt::UserRole).toString(),
                  topic);
        QTextDocument* documento = pagina(&help)->document();
        EXPECT_FALSE(documento->toPlainText().trimmed().isEmpty()) << topic;
        // Every picture the page shows is there.
        for (QTextBlock b = documento->begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (!f.isImageFormat())
                    continue;
                const QString nome = f.toImageFormat().name();
                EXPECT_FALSE(QImage(QStringLiteral(":/manual/") + nome).isNull()) << topic << ": " << nome;
            }
        }
    }
    // The contents list names each how-to by its title.
    auto* conteudo = help.findChild<QListWidget*>("lstConteudo");
    ASSERT_EQ(conteudo->count(), HelpWindow::topics().size());
    EXPECT_EQ(conteudo->item(0)->text(), "Start Tarvendix for the first time");
    conteudo->setCurrentRow(5);
    EXPECT_EQ(help.currentTopic(), HelpWindow::topics().at(5));

    // A link to another how-to opens it in the same window, the list follows, and "Voltar" goes back.
    help.showTopic(QStringLiteral("howto-remessa.md"));
    pagina(&help)->setSource(QUrl(QStringLiteral("howto-entrega.md")));
    EXPECT_EQ(help.currentTopic(), "howto-entrega.md");
    EXPECT_EQ(conteudo->currentItem()->data(Qt::UserRole).toString(), "howto-entrega.md");
    auto* voltar = help.findChild<QPushButton*>("btnVoltar");
    ASSERT_TRUE(voltar->isEnabled());
    voltar->click();
    EXPECT_EQ(help.currentTopic(), "howto-remessa.md");
    EXPECT_EQ(conteudo->currentItem()->data(Qt::UserRole).toString(), "howto-remessa.md");
}

TEST_F(HelpWindowTest, ManualDeUsoBesideSobreOpensTheManualEvenBeforeLogin) {
    registerAll();
    window.show();
    QStringList menus;
    for (QAction* a : window.menuBar()->actions())
        menus << a->text().remove('&');
    ASSERT_GE(menus.indexOf("Sobre..."), 1);
    EXPECT_EQ(menus.at(menus.indexOf("Sobre...") - 1), "Manual de Uso");

    auto* manual = window.findChild<QAction*>("mniManual");
    ASSERT_NE(manual, nullptr);
    EXPECT_TRUE(manual->isEnabled());
    manual->trigger();
    HelpWindow* help = manualSobre(&window);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->windowTitle(), "Manual de Uso");
    EXPECT_EQ(help->currentTopic(), "howto-primeiro-uso.md");
    EXPECT_TRUE(pagina(help)->toPlainText().contains("first time"));
    help->close();
}

TEST_F(HelpWindowTest, SobreAndTheAjudaButtonStillOpenTheAboutBox) {
    registerAll();
    window.show();
    QString aberto;
    onNextModal([&aberto](QWidget* modal) {
        aberto = modal ? modal->objectName() : QString();
        if (modal)
            modal->close();
    });
    QTest::mouseClick(window.findChild<QToolButton*>("SbAjuda"), Qt::LeftButton);
    EXPECT_EQ(aberto, "TFrmAjuda");
    EXPECT_EQ(manualSobre(&window), nullptr);
}

TEST_F(HelpWindowTest, F1OpensTheHowToOfTheScreenInUse) {
    registerAll();
    window.show();
    session.setUser(LoggedUser{QStringLiteral("admin"), QStringLiteral("OCC1"), Permissions::all()});
    home.openDatabase();
    SharedBatchState remessas;

    // A window of its own: the batch control.
    TFrmPrincipalRemessas controle(session, remessas);
    controle.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&controle));
    controle.activateWindow();
    QTest::keyClick(controle.findChild<QPushButton*>(), Qt::Key_F1);
    HelpWindow* help = manualSobre(&controle);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->currentTopic(), "howto-remessa.md");
    screenshot(help, QStringLiteral("ajuda-manual.png"));
    help->close();

    // A modal dialog: the manual opens above it, usable while the dialog waits.
    TFrmGravaDisquete gravacao(session, remessas, QStringLiteral("OC-OCC12015112501.zip"));
    QString topico;
    bool usavel = false;
    onNextModal([&](QWidget* modal) {
        ASSERT_EQ(modal, &gravacao);
        QTest::keyClick(gravacao.findChild<QLineEdit*>("EdDestino"), Qt::Key_F1);
        if (HelpWindow* sobre = manualSobre(&gravacao)) {
            topico = sobre->currentTopic();
            usavel = !QApplication::activeModalWidget() || QApplication::activeModalWidget() == &gravacao;
            sobre->close();
        }
        gravacao.reject();
    });
    gravacao.exec();
    EXPECT_EQ(topico, "howto-entrega.md");
    EXPECT_TRUE(usavel);
}

} // namespace
