#include "ExchangeFunctions.h"
#include "RemessasFixture.h"
#include "TFrmCapaSistema.h"
#include "TFrmNovaRemessa.h"
#include "TFrmPrincipalRemessas.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QTimer>
#include <algorithm>

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

    // When TARVENDIX_SCREENSHOTS names a directory, saves the screen as the X server shows it
    // (run under Xvfb with QT_QPA_PLATFORM=xcb), cut to the program's windows; otherwise nothing.
    static void screenshot(const QString& file) {
        const QString dir = qEnvironmentVariable("TARVENDIX_SCREENSHOTS");
        if (dir.isEmpty())
            return;
        for (int i = 0; i < 20; ++i) { // let the windows paint
            QApplication::processEvents();
            QThread::msleep(10);
        }
        // The dialog on top, kept on the screen (Xvfb has no window manager to place it).
        QWidget* shown = QApplication::activeModalWidget();
        if (!shown)
            return;
        shown->move(std::max(0, shown->x()), std::max(0, shown->y()));
        QApplication::processEvents();
        const QRect area = shown->frameGeometry();
        ASSERT_TRUE(QDir().mkpath(dir));
        const QString path = QDir(dir).filePath(file);
        const QString crop =
            QStringLiteral("%1x%2+%3+%4").arg(area.width()).arg(area.height()).arg(area.x()).arg(area.y());
        EXPECT_EQ(QProcess::execute("import", {"-window", "root", "-crop", crop, "+repage", path}), 0)
            << path.toStdString();
    }

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
    // Delivery and the history listing are plugged in.
    EXPECT_TRUE(transfere);
    EXPECT_TRUE(listagem);
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

TEST_F(ExchangeShellTest, TransfereOpensTheModeChoiceForTheSelectedBatch) {
    event("2015112501", "C", "PR", 0);
    login(true);
    QString file, directory;
    bool choiceOpened = false;
    onNextModal([&](QWidget* control) {
        ASSERT_NE(qobject_cast<TFrmPrincipalRemessas*>(control), nullptr);
        // The mode choice comes up over the control: wait for it by its name.
        auto* poll = new QTimer;
        poll->setInterval(10);
        QObject::connect(poll, &QTimer::timeout, [&, poll] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal->objectName() != "TFrmSelecaoTransferencia")
                return;
            poll->stop();
            poll->deleteLater();
            choiceOpened = true;
            file = modal->findChild<QLineEdit*>("EdArquivoTransferencia")->text();
            directory = modal->findChild<QLineEdit*>("EdDiretorio")->text();
            clickOn(modal, "BtCancela");
        });
        poll->start();
        clickOn(control, "BtTransfere");
        clickOn(control, "BtSaida");
    });
    menuItem()->trigger();
    EXPECT_TRUE(choiceOpened);
    EXPECT_EQ(file, "OC-OCC12015112501.zip");
    EXPECT_EQ(directory, transf);
}

TEST_F(ExchangeShellTest, EnvioDeArquivoTXTShowsItsNoticeThenItsScreen) {
    login(true);
    auto* item = window.findChild<QAction*>("mniEnvioTXT");
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(item->isEnabled());
    QString opened;
    onNextModal([&](QWidget* modal) {
        opened = modal ? modal->objectName() : QString();
        if (modal)
            clickOn(modal, "BitBtn1");
    });
    item->trigger();
    EXPECT_EQ(opened, "TFrmEnviaTXT_FTP");
    ASSERT_FALSE(prompts.shown().isEmpty());
    EXPECT_EQ(prompts.shown().first().text, TFrmCapaSistema::TextoEnvioTXT);
}

TEST_F(ExchangeShellTest, WithoutThePermissionBothStayDisabled) {
    login(false);
    EXPECT_FALSE(speedButton()->isEnabled());
    EXPECT_FALSE(menuItem()->isEnabled());
}

// One batch from the main window: preview, preparation, and the batch in the control list.
TEST_F(ExchangeShellTest, RoadOfOneBatch) {
    insertCertificate("2015/0001", true);
    insertCertificate("2015/0002", false);
    login(true);
    QString previa, resultado, numero, arquivo;
    QStringList status;
    bool cancela = false;
    onNextModal([&](QWidget* controle) {
        ASSERT_NE(controle, nullptr);
        onNextModal([&](QWidget* nova) {
            ASSERT_NE(nova, nullptr);
            QTest::mouseClick(nova->findChild<QRadioButton*>("rbRemessaParcial"), Qt::LeftButton);
            clickOn(nova, "BtPrevia");
            previa = nova->findChild<QLabel*>("LblPrevia")->text();
            screenshot("remessa-previa.png");
            // A picture of the run under way, once it shows a table.
            auto* during = new QTimer(nova);
            during->setInterval(1);
            QObject::connect(during, &QTimer::timeout, nova, [nova, during] {
                auto* form = qobject_cast<TFrmNovaRemessa*>(nova);
                if (form && form->emAndamento() && !nova->findChild<QLabel*>("LblTabela")->text().isEmpty()) {
                    during->stop();
                    screenshot("remessa-andamento.png");
                }
            });
            during->start();
            clickOn(nova, "BtInicio");
            resultado = nova->findChild<QLineEdit*>("EdResultado")->text();
            numero = nova->findChild<QLineEdit*>("EdNumeroRemessa")->text();
            arquivo = nova->findChild<QLineEdit*>("EdArquivoRemessa")->text();
            screenshot("remessa-preparada.png");
            clickOn(nova, "BtSaida");
        });
        clickOn(controle, "BtPrepara");
        auto* grid = controle->findChild<QTableView*>("GrRemessa");
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            status.append(grid->model()->index(r, 1).data().toString());
        cancela = controle->findChild<QPushButton*>("BtCancela")->isEnabled();
        screenshot("remessa-controle.png");
        clickOn(controle, "BtSaida");
    });
    QTest::mouseClick(speedButton(), Qt::LeftButton);

    EXPECT_TRUE(previa.contains("Nada foi gravado")) << previa.toStdString();
    EXPECT_EQ(resultado, "Preparação Ocorrida com Sucesso.");
    EXPECT_EQ(numero, "2015112501");
    EXPECT_EQ(arquivo, "OC-OCC12015112501.zip");
    EXPECT_TRUE(QFileInfo::exists(transf + arquivo));
    EXPECT_EQ(status, QStringList{"Aguardando Transferência"});
    EXPECT_TRUE(cancela);
}
