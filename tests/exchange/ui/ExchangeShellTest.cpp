#include "BatchControl.h"
#include "Embaralha.h"
#include "ExchangeFunctions.h"
#include "PreparaRemessa.h"
#include "RemessasFixture.h"
#include "ResultadoRemessa.h"
#include "Screenshot.h"
#include "TFrmCapaSistema.h"
#include "TFrmConfResultadoManual.h"
#include "TFrmNovaRemessa.h"
#include "TFrmPrincipalRemessas.h"
#include "TFrmResultadoAutomatico.h"
#include "TFrmResultadoManual.h"
#include "TFrmSelecaoResultado.h"
#include "TestServers.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>

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
            screenshot(QApplication::activeModalWidget(), "remessa-previa.png");
            // A picture of the run under way, once it shows a table.
            auto* during = new QTimer(nova);
            during->setInterval(1);
            QObject::connect(during, &QTimer::timeout, nova, [nova, during] {
                auto* form = qobject_cast<TFrmNovaRemessa*>(nova);
                if (form && form->emAndamento() && !nova->findChild<QLabel*>("LblTabela")->text().isEmpty()) {
                    during->stop();
                    screenshot(QApplication::activeModalWidget(), "remessa-andamento.png");
                }
            });
            during->start();
            clickOn(nova, "BtInicio");
            resultado = nova->findChild<QLineEdit*>("EdResultado")->text();
            numero = nova->findChild<QLineEdit*>("EdNumeroRemessa")->text();
            arquivo = nova->findChild<QLineEdit*>("EdArquivoRemessa")->text();
            screenshot(QApplication::activeModalWidget(), "remessa-preparada.png");
            clickOn(nova, "BtSaida");
        });
        clickOn(controle, "BtPrepara");
        auto* grid = controle->findChild<QTableView*>("GrRemessa");
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            status.append(grid->model()->index(r, 1).data().toString());
        cancela = controle->findChild<QPushButton*>("BtCancela")->isEnabled();
        screenshot(QApplication::activeModalWidget(), "remessa-controle.png");
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

// The result of a delivered batch, fetched from the authority's server through the batch control.
class ResultShellTest : public ExchangeShellTest {
protected:
    // One approved certificate prepared in a batch and delivered; the result address points at
    // the test server.
    QString delivered() {
        insertCertificate("2015/0001", true);
        settingsAlreadySent();
        ConfigLocal config = ConfigLocalTable::load(db).value_or(ConfigLocal{});
        config.EndKavorelResult = QStringLiteral("127.0.0.1:%1/resultado").arg(server.port());
        config.LoginFTP = FtpTestServer::user();
        config.SenhaFTP = FtpTestServer::password();
        ConfigLocalTable::save(db, config);
        SharedBatchState prepared;
        prepared.load(db, session.user());
        std::atomic_bool interromper{false};
        const PreparationResult batch =
            PreparaRemessa(session, prepared).run("C", NumeroRemessa::Nenhum, false, interromper);
        EXPECT_TRUE(batch.ok());
        // Delivered ten minutes later; the result comes ten minutes after that.
        clock.advanceSeconds(600);
        BatchControl(session, prepared).registraEvento(batch.numeroRemessa, "C", BatchEvents::Transferida);
        clock.advanceSeconds(600);
        numero = batch.numeroRemessa;
        return batch.arquivo;
    }
    // The authority's verdict with its remarks, in the result directory.
    void verdict(const QString& arquivo, const QString& veredito, const QByteArray& remarks) {
        QTemporaryDir work;
        const QString nome = ResultadoRemessa::nomeResultado(arquivo, veredito);
        QFile txt(work.filePath(ResultadoRemessa::nomeObservacoes(nome)));
        ASSERT_TRUE(txt.open(QIODevice::WriteOnly));
        txt.write(remarks);
        txt.close();
        QDir().mkpath(server.pathOf("resultado"));
        ASSERT_EQ(QProcess::execute("zip", {"-q", "-j", server.pathOf("resultado/" + nome), txt.fileName()}),
                  0);
    }
    QStringList status(QWidget* controle) {
        QStringList all;
        auto* grid = controle->findChild<QTableView*>("GrRemessa");
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            all.append(grid->model()->index(r, 1).data().toString());
        return all;
    }

    FtpTestServer server;
    QString numero;
};

TEST_F(ResultShellTest, RoadOfOneAutomaticResult) {
    ASSERT_TRUE(server.started());
    const QString arquivo = delivered();
    verdict(arquivo, "OK", "Remessa processada sem pendências.\r\nProtocolo Kavorel 2015-4471.\r\n");
    login(true);
    QStringList antes, depois, memo;
    bool recebe = false;
    onNextModal([&](QWidget* controle) {
        ASSERT_NE(controle, nullptr);
        antes = status(controle);
        recebe = controle->findChild<QPushButton*>("BtRecebe")->isEnabled();
        onNextModal([&](QWidget* selecao) {
            ASSERT_NE(qobject_cast<TFrmSelecaoResultado*>(selecao), nullptr);
            screenshot(QApplication::activeModalWidget(), "resultado-selecao.png");
            onNextModal([&](QWidget* automatico) {
                ASSERT_NE(qobject_cast<TFrmResultadoAutomatico*>(automatico), nullptr);
                clickOn(automatico, "BtResultado");
                memo = automatico->findChild<QPlainTextEdit*>("MmResultado")->toPlainText().split('\n');
                screenshot(QApplication::activeModalWidget(), "resultado-automatico.png");
                clickOn(automatico, "BtSaida");
            });
            clickOn(selecao, "BtOK");
        });
        clickOn(controle, "BtRecebe");
        depois = status(controle);
        screenshot(QApplication::activeModalWidget(), "resultado-controle.png");
        clickOn(controle, "BtSaida");
    });
    QTest::mouseClick(speedButton(), Qt::LeftButton);

    EXPECT_TRUE(recebe);
    EXPECT_EQ(antes, QStringList{"Aguardando Resultado"});
    EXPECT_EQ(depois, QStringList{"Finalizada"});
    ASSERT_FALSE(memo.isEmpty());
    EXPECT_EQ(memo.last(), "Protocolo Kavorel 2015-4471.");
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE WHERE Evento = 'OK'"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM REP_CERTIFIC"), 1);
    EXPECT_FALSE(QFileInfo::exists(transf + arquivo));
}

TEST_F(ResultShellTest, RoadOfOneManualResult) {
    const QString arquivo = delivered();
    login(true);
    QString confirmacao, sincroniza;
    onNextModal([&](QWidget* controle) {
        ASSERT_NE(controle, nullptr);
        onNextModal([&](QWidget* selecao) {
            ASSERT_NE(selecao, nullptr);
            QTest::mouseClick(selecao->findChild<QRadioButton*>("RbManual"), Qt::LeftButton);
            onNextModal([&](QWidget* manual) {
                ASSERT_NE(qobject_cast<TFrmResultadoManual*>(manual), nullptr);
                typeInto(manual, "Edit1",
                         QString::fromLatin1(
                             EmbaralhaCodigo(Direcao::Codificar, ("KV" + numero + "OK").toLatin1())));
                manual->findChild<QPlainTextEdit*>("MmObservacoes")
                    ->setPlainText("Confirmado por telefone com o Kavorel.");
                screenshot(QApplication::activeModalWidget(), "resultado-manual.png");
                onNextModal([&](QWidget* confirma) {
                    ASSERT_NE(qobject_cast<TFrmConfResultadoManual*>(confirma), nullptr);
                    confirmacao = confirma->findChild<QLineEdit*>("EdResultado")->text();
                    screenshot(QApplication::activeModalWidget(), "resultado-confirmacao.png");
                    clickOn(confirma, "BtOK");
                });
                clickOn(manual, "BtOK");
                sincroniza = manual->findChild<QLabel*>("LbSincroniza")->text();
                screenshot(QApplication::activeModalWidget(), "resultado-manual-sincronizado.png");
                clickOn(manual, "BtSaida");
            });
            clickOn(selecao, "BtOK");
        });
        clickOn(controle, "BtRecebe");
        clickOn(controle, "BtSaida");
    });
    QTest::mouseClick(speedButton(), Qt::LeftButton);

    EXPECT_EQ(confirmacao, "Remessa Válida");
    EXPECT_EQ(sincroniza, "Sincronização efetuada com sucesso...");
    EXPECT_EQ(Sql::scalar(db, "SELECT Obs FROM CONTROLE WHERE Evento = 'OK'").toString(),
              "<Recebimento Manual>  Confirmado por telefone com o Kavorel.");
}
