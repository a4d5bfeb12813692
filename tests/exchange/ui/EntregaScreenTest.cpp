#include "EntregaFixture.h"
#include "Modal.h"
#include "Screenshot.h"
#include "TFrmEnviaTXT_FTP.h"
#include "TFrmGravaDisquete.h"
#include "TFrmPrincipalRemessas.h"
#include "TFrmSelecaoTransferencia.h"
#include "TFrmTransfereArquivo.h"
#include "TFrmTransfereSMTP.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Runs `act` on the modal dialog of the given objectName once it is the active one (nested
// dialogs open from inside the one before).
void onModal(const QString& name, std::function<void(QDialog*)> act) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, name, act] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool found = modal && modal->objectName() == name;
        if (found || ++*tries > 500) {
            poll->stop();
            poll->deleteLater();
            act(found ? qobject_cast<QDialog*>(modal) : nullptr);
        }
    });
    poll->start();
}

QString text(QWidget* form, const char* name) {
    if (auto* edit = form->findChild<QLineEdit*>(name))
        return edit->text();
    if (auto* memo = form->findChild<QPlainTextEdit*>(name))
        return memo->toPlainText();
    ADD_FAILURE() << name;
    return {};
}

bool enabled(QWidget* form, const char* name) {
    auto* button = form->findChild<QPushButton*>(name);
    EXPECT_NE(button, nullptr) << name;
    return button && button->isEnabled();
}

class EntregaTelas : public EntregaFixture {
protected:
    // What the receipt operation was given.
    QList<ComprovanteEntrega> comprovantes;
    EntregaWidgets::EmiteComprovante comprovante() {
        return [this](QWidget*, const ComprovanteEntrega& c) { comprovantes.append(c); };
    }
};

TEST_F(EntregaTelas, TheModeChoiceShowsTheFileAndOffersTheThreeModes) {
    TFrmSelecaoTransferencia form(session, state, archiveName());
    EXPECT_EQ(form.windowTitle(), "Seleção do Modo de Transferência");
    EXPECT_EQ(text(&form, "EdDiretorio"), transf());
    EXPECT_EQ(text(&form, "EdArquivoTransferencia"), archiveName());
    QStringList items;
    for (int i = 0; i < 3; ++i)
        items << form.findChild<QRadioButton*>(QString("RgSelecao%1").arg(i))->text();
    EXPECT_EQ(items, TFrmSelecaoTransferencia::modos());
    EXPECT_EQ(items[0], "Transferência automática via FTP para o Kavorel ");
    EXPECT_TRUE(form.findChild<QRadioButton*>("RgSelecao0")->isChecked());
    EXPECT_TRUE(form.findChild<QPushButton*>("BtOK")->isDefault());

    // "Cancela" closes without action.
    onModal("TFrmSelecaoTransferencia", [](QDialog* d) {
        ASSERT_NE(d, nullptr);
        clickOn(d, "BtCancela");
    });
    EXPECT_EQ(form.exec(), QDialog::Rejected);
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

TEST_F(EntregaTelas, FtpFromTheBatchControlLeavesTheBatchAwaitingItsResult) {
    useFtp();
    const QByteArray bytes = archive(50000);
    TFrmPrincipalRemessas control(session, state);
    control.setTransfere([this](QWidget* parent, const QString& arquivo) {
        TFrmSelecaoTransferencia selecao(session, state, arquivo, parent);
        selecao.exec();
    });
    control.setRecebe([](QWidget*, const QString&) {});
    control.show();
    ASSERT_TRUE(enabled(&control, "BtTransfere"));

    QStringList log;
    bool interruptionAfter = true, receiptAfter = true, cancelAfter = true;
    onModal("TFrmSelecaoTransferencia", [&](QDialog* choice) {
        ASSERT_NE(choice, nullptr);
        screenshot(choice, "entrega-selecao.png");
        onModal("TFrmTransfereArquivo", [&](QDialog* ftpForm) {
            ASSERT_NE(ftpForm, nullptr);
            EXPECT_EQ(ftpForm->windowTitle(), "Transfere Arquivo");
            EXPECT_EQ(text(ftpForm, "EdEndEnvio"), state.EndKavorelEnvio);
            EXPECT_EQ(text(ftpForm, "EdArquivoTransferencia"), archiveName());
            EXPECT_FALSE(enabled(ftpForm, "BtComprovante"));
            clickOn(ftpForm, "BtTransfere");
            log = text(ftpForm, "MmResultado").split('\n');
            interruptionAfter = enabled(ftpForm, "BtInterrompe");
            receiptAfter = enabled(ftpForm, "BtComprovante"); // no receipt plugged in yet
            cancelAfter = enabled(ftpForm, "BtCancela") || enabled(ftpForm, "BtTransfere");
            EXPECT_EQ(text(ftpForm, "EdTamanho"), "50000");
            EXPECT_EQ(text(ftpForm, "EdTransferidos"), "50000");
            EXPECT_EQ(ftpForm->findChild<QProgressBar*>("PbTransferencia")->value(), 100);
            screenshot(ftpForm, "entrega-ftp.png");
            clickOn(ftpForm, "BtSaida");
        });
        clickOn(choice, "BtOK");
    });
    clickOn(&control, "BtTransfere");

    ASSERT_FALSE(log.isEmpty());
    EXPECT_EQ(log.first(), "Usuário Responsável : maria");
    EXPECT_EQ(log.last(), "Transferência realizada com sucesso.");
    EXPECT_FALSE(interruptionAfter);
    EXPECT_FALSE(receiptAfter);
    EXPECT_FALSE(cancelAfter);
    EXPECT_EQ(read(ftp->pathOf("remessas/oc/" + archiveName())), bytes);
    EXPECT_EQ(events(), (QStringList{"PR|C|ana|", "TR|C|maria|"}));
    // The list was refreshed: the batch awaits its result, and fetching it is what comes next.
    const auto selected = control.remessaSelecionada();
    ASSERT_TRUE(selected.has_value());
    EXPECT_EQ(selected->Status, "Aguardando Resultado");
    EXPECT_FALSE(enabled(&control, "BtTransfere"));
    EXPECT_TRUE(enabled(&control, "BtRecebe"));
    screenshot(&control, "remessa-aguardando-resultado.png");
}

TEST_F(EntregaTelas, AFailedFtpDeliveryShowsItsBoxAndLeavesTheBatchWaiting) {
    useFtp("errada");
    archive();
    TFrmTransfereArquivo form(session, state, archiveName());
    form.show();
    clickOn(&form, "BtTransfere");
    EXPECT_EQ(form.desfecho(), TransferenciaRemota::Desfecho::FalhaConexao);
    EXPECT_TRUE(prompts.lastText().startsWith("Erro ao tentar conectar."));
    EXPECT_TRUE(text(&form, "MmResultado").endsWith("Houve erro durante a transferência."));
    EXPECT_FALSE(enabled(&form, "BtInterrompe"));
    EXPECT_FALSE(enabled(&form, "BtTransfere")); // the screen runs once
    EXPECT_TRUE(enabled(&form, "BtSaida"));
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

TEST_F(EntregaTelas, InterruptingWhileTheServerKeepsSilentStopsAtOnce) {
    // A server that takes the connection and never greets: the upload waits for it.
    const int port = freeLocalPort();
    const int silent = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(silent, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(silent, 4), 0);
    const std::unique_ptr<int, void (*)(int*)> closer(new int(silent), [](int* fd) {
        ::close(*fd);
        delete fd;
    });
    config(QStringLiteral("EndKavorelEnvio = '127.0.0.1:%1/remessas'").arg(port));
    archive();
    TFrmTransfereArquivo form(session, state, archiveName());
    form.show();
    bool interruptible = false;
    QTimer::singleShot(300, &form, [&] {
        interruptible = enabled(&form, "BtInterrompe");
        clickOn(&form, "BtInterrompe");
    });
    QElapsedTimer timer;
    timer.start();
    clickOn(&form, "BtTransfere");
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_TRUE(interruptible);
    EXPECT_EQ(form.desfecho(), TransferenciaRemota::Desfecho::Interrompida);
    EXPECT_TRUE(text(&form, "MmResultado").endsWith("Transferência interrompida."));
    EXPECT_FALSE(text(&form, "MmResultado").contains("Houve erro"));
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

// A server that takes the upload's data connection and then reads nothing: "Interrompe" is still
// there during the upload, and ends it without a record.
TEST_F(EntregaTelas, InterrompeStaysUsableDuringTheUploadAndStopsIt) {
    ftp = std::make_unique<FtpTestServer>(FtpTestServer::Options{{}, {}, {"STOR"}});
    ASSERT_TRUE(ftp->started()) << ftp->error().toStdString();
    ASSERT_TRUE(QDir().mkpath(ftp->pathOf("remessas/oc")));
    config(QStringLiteral("EndKavorelEnvio = '127.0.0.1:%1/remessas/oc', LoginFTP = '%2', SenhaFTP = '%3'")
               .arg(ftp->port())
               .arg(FtpTestServer::user(), FtpTestServer::password()));
    archive(5000);
    TFrmTransfereArquivo form(session, state, archiveName());
    form.show();
    bool reached = false, interruptible = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!ftp->stalling("STOR"))
            return;
        poll.stop();
        reached = true;
        interruptible = enabled(&form, "BtInterrompe");
        clickOn(&form, "BtInterrompe");
    });
    poll.start();
    clickOn(&form, "BtTransfere");

    EXPECT_TRUE(reached);
    EXPECT_TRUE(interruptible);
    EXPECT_EQ(form.desfecho(), TransferenciaRemota::Desfecho::Interrompida);
    EXPECT_TRUE(text(&form, "MmResultado").endsWith("Transferência interrompida."));
    EXPECT_FALSE(QFile::exists(ftp->pathOf("remessas/oc/" + archiveName())));
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

TEST_F(EntregaTelas, EmailScreenSendsAndOffersTheReceiptOnlyAfterSuccess) {
    useSmtp();
    archive(2000);
    TFrmTransfereSMTP form(session, state, archiveName());
    form.setComprovante(comprovante());
    form.show();
    EXPECT_EQ(form.windowTitle(), "Transfere Arquivo via E-MAIL");
    EXPECT_EQ(text(&form, "EdSMTPEMail"), "127.0.0.1");
    EXPECT_FALSE(enabled(&form, "BtComprovante"));
    clickOn(&form, "BtTransfere");
    EXPECT_EQ(form.desfecho(), TransferenciaRemota::Desfecho::Sucesso);
    EXPECT_EQ(smtp->messages(1).size(), 1);
    screenshot(&form, "entrega-email.png");
    ASSERT_TRUE(enabled(&form, "BtComprovante"));
    EXPECT_EQ(form.findChild<QPushButton*>("BtComprovante")->text(), "Emite Comprovante");
    clickOn(&form, "BtComprovante");
    ASSERT_EQ(comprovantes.size(), 1);
    EXPECT_EQ(comprovantes[0].cabecalho, "OCC - Organismo");
    EXPECT_EQ(comprovantes[0].numeroRemessa, Numero);
    EXPECT_EQ(comprovantes[0].arquivo, transf() + archiveName());
    EXPECT_EQ(comprovantes[0].linhas, text(&form, "MmResultado").split('\n'));
    EXPECT_EQ(events(), (QStringList{"PR|C|ana|", "TR|C|maria|"}));
}

TEST_F(EntregaTelas, CancelClosesTheDeliveryScreenBeforeStarting) {
    archive();
    TFrmTransfereArquivo form(session, state, archiveName());
    onModal("TFrmTransfereArquivo", [](QDialog* d) {
        ASSERT_NE(d, nullptr);
        clickOn(d, "BtCancela");
    });
    EXPECT_EQ(form.exec(), QDialog::Rejected);
    EXPECT_EQ(events(), QStringList{"PR|C|ana|"});
}

TEST_F(EntregaTelas, MediaScreenCopiesToTheChosenDirectory) {
    const QByteArray bytes = archive(30000);
    QTemporaryDir media;
    TFrmGravaDisquete form(session, state, archiveName());
    form.setComprovante(comprovante());
    form.show();
    EXPECT_EQ(form.windowTitle(), "Grava Disquete");

    clickOn(&form, "BtGrava"); // no destination yet: says what is missing
    EXPECT_EQ(form.desfecho(), GravaDisquete::Desfecho::NaoIniciada);
    EXPECT_EQ(prompts.texts(), QStringList{GravaDisquete::semDestino()});
    prompts.clear();

    prompts.planChoice(media.path());
    clickOn(&form, "BtBrowse");
    EXPECT_EQ(text(&form, "EdDestino"), media.path() + "/");
    clickOn(&form, "BtGrava");
    EXPECT_EQ(text(&form, "EdResultado"), "Gravação de arquivo realizada com sucesso.");
    EXPECT_TRUE(form.findChild<QLabel*>("CkGravando")->isVisible());
    EXPECT_FALSE(enabled(&form, "BtGrava"));
    EXPECT_FALSE(enabled(&form, "BtBrowse"));
    EXPECT_FALSE(enabled(&form, "btCancela"));
    EXPECT_FALSE(enabled(&form, "BtInterrompe"));
    EXPECT_EQ(read(media.filePath(archiveName())), bytes);
    screenshot(&form, "entrega-disquete.png");
    ASSERT_TRUE(enabled(&form, "BtComprovante"));
    clickOn(&form, "BtComprovante");
    ASSERT_EQ(comprovantes.size(), 1);
    EXPECT_TRUE(comprovantes[0].gravacao);
    EXPECT_EQ(comprovantes[0].arquivo, media.path() + "/" + archiveName());
    EXPECT_EQ(comprovantes[0].linhas,
              (QStringList{"Usuário Responsável : maria", "Gravação de arquivo realizada com sucesso."}));
    EXPECT_EQ(events(),
              (QStringList{"PR|C|ana|", "TR|C|maria|<Transferência Manual: Gravação de Disquete>"}));
}

TEST_F(EntregaTelas, MediaScreenTakesATypedDestinationCheckedLikeAChosenOne) {
    const QByteArray bytes = archive(3000);
    QTemporaryDir media;
    TFrmGravaDisquete form(session, state, archiveName());
    form.show();
    auto* destino = form.findChild<QLineEdit*>("EdDestino");
    ASSERT_NE(destino, nullptr);
    EXPECT_FALSE(destino->isReadOnly());

    // A directory that is not there is named, and nothing is recorded.
    ASSERT_TRUE(typeInto(&form, "EdDestino", media.filePath("falta")));
    clickOn(&form, "BtGrava");
    EXPECT_EQ(prompts.texts(), QStringList{GravaDisquete::destinoInexistente(media.filePath("falta"))});
    EXPECT_EQ(form.desfecho(), GravaDisquete::Desfecho::NaoIniciada);
    EXPECT_TRUE(enabled(&form, "BtGrava"));

    // The directory typed as the user types it.
    ASSERT_TRUE(typeInto(&form, "EdDestino", media.path()));
    clickOn(&form, "BtGrava");
    EXPECT_EQ(form.desfecho(), GravaDisquete::Desfecho::Sucesso);
    EXPECT_EQ(read(media.filePath(archiveName())), bytes);
}

TEST_F(EntregaTelas, MediaScreenRefusesAFileTooLargeForAFloppyAndLetsTheUserChooseAgain) {
    archive(1063936);
    QTemporaryDir floppy, disk;
    TFrmGravaDisquete form(session, state, archiveName());
    form.setConsultaEspaco([&](const QString& dir) {
        return QDir(dir) == QDir(floppy.path()) ? GravaDisquete::Espaco{1457664, 1457664}
                                                : GravaDisquete::Espaco{qint64(1) << 34, qint64(1) << 33};
    });
    form.show();
    prompts.planChoice(floppy.path());
    clickOn(&form, "BtBrowse");
    clickOn(&form, "BtGrava");
    EXPECT_EQ(prompts.lastText(), "Tamanho do arquivo maior que a capacidade do disquete");
    EXPECT_TRUE(enabled(&form, "BtGrava"));
    prompts.planChoice(disk.path());
    clickOn(&form, "BtBrowse");
    clickOn(&form, "BtGrava");
    EXPECT_EQ(form.desfecho(), GravaDisquete::Desfecho::Sucesso);
    EXPECT_TRUE(QFile::exists(disk.filePath(archiveName())));
}

TEST_F(EntregaTelas, TextFileScreenListsSendsOnceAndShowsTheRegister) {
    const QString dir = home.path() + "txt/";
    ASSERT_TRUE(QDir().mkpath(dir));
    write(dir + "TX-OCC0000000001.txt", "[CERTIFIC]\r\n");
    write(dir + "TX-OCC0000000002.txt", "[CERTIFIC]\r\n");
    write(dir + "TX-OUTRO000000001.txt", "x");
    Sql::execute(db, "INSERT INTO CONTROLE_TXT (DataHoraEvento, NomeArquivo, Obs, UsuResp, EnviadoKAVOREL) "
                     "VALUES ('2024-01-01T00:00:00.000', 'TX-OCC0000000002.txt', 'Importação p/ módulo OCC', "
                     "'ana', 'N')");
    QTemporaryDir media;

    TFrmEnviaTXT_FTP form(session, state);
    form.show();
    EXPECT_EQ(form.windowTitle(), "Transfere arquivo TXT ");
    form.setDiretorio(dir);
    auto* files = form.findChild<QListWidget*>("LbarquivoTXT");
    auto* grid = form.findChild<QTableView*>("GrControleTXT");
    QStringList listed;
    for (int i = 0; i < files->count(); ++i)
        listed << files->item(i)->text();
    EXPECT_EQ(listed, (QStringList{"TX-OCC0000000001.txt", "TX-OCC0000000002.txt"}));
    ASSERT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(grid->model()->headerData(3, Qt::Horizontal).toString(), "Enviado ao KAVOREL");
    EXPECT_EQ(grid->model()->index(0, 3).data().toString(), "Não");

    clickOn(&form, "BtTransfere");
    EXPECT_EQ(prompts.lastText(), "Por favor selecione um arquivo");

    files->setCurrentRow(1);
    clickOn(&form, "BtTransfere");
    EXPECT_EQ(prompts.lastText(), "O arquivo TX-OCC0000000002.txt já foi enviado e processado no KAVOREL.");

    files->setCurrentRow(0);
    QString shownDir, shownFile;
    onModal("TFrmSelecaoTransferencia", [&](QDialog* choice) {
        ASSERT_NE(choice, nullptr);
        shownDir = text(choice, "EdDiretorio");
        shownFile = text(choice, "EdArquivoTransferencia");
        choice->findChild<QRadioButton*>("RgSelecao1")->setChecked(true);
        onModal("TFrmGravaDisquete", [&](QDialog* copyForm) {
            ASSERT_NE(copyForm, nullptr);
            prompts.planChoice(media.path());
            clickOn(copyForm, "BtBrowse");
            clickOn(copyForm, "BtGrava");
            EXPECT_EQ(text(copyForm, "EdResultado"), "Gravação de arquivo realizada com sucesso.");
            clickOn(copyForm, "BtSaida");
        });
        clickOn(choice, "BtOK");
    });
    clickOn(&form, "BtTransfere");

    EXPECT_EQ(shownDir, dir);
    EXPECT_EQ(shownFile, "TX-OCC0000000001.txt");
    EXPECT_EQ(entry(media.filePath("TX-OCC0000000001.zip"), "TX-OCC0000000001.txt"), "[CERTIFIC]\r\n");
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->model()->index(1, 0).data().toString(), "TX-OCC0000000001.txt");
    EXPECT_EQ(grid->model()->index(1, 2).data().toString(), "maria");
    EXPECT_EQ(grid->model()->index(1, 3).data().toString(), "Sim");
    EXPECT_EQ(files->count(), 1); // delivered and recorded: gone from the list
    screenshot(&form, "entrega-txt.png");
    EXPECT_EQ(state.DirLocalTransf, dir);
}

TEST_F(EntregaTelas, TextFileScreenWalksDirectories) {
    ASSERT_TRUE(QDir().mkpath(home.path() + "a/b"));
    write(home.path() + "a/b/TX-OCC0000000009.txt", "x");
    TFrmEnviaTXT_FTP form(session, state);
    form.show();
    form.setDiretorio(home.path() + "a");
    auto* dirs = form.findChild<QListWidget*>("DirectoryListBox1");
    ASSERT_EQ(dirs->count(), 2);
    EXPECT_EQ(dirs->item(0)->text(), "..");
    EXPECT_EQ(dirs->item(1)->text(), "b");
    emit dirs->itemActivated(dirs->item(1));
    EXPECT_EQ(form.diretorio(), home.path() + "a/b/");
    EXPECT_EQ(form.findChild<QListWidget*>("LbarquivoTXT")->count(), 1);
    emit dirs->itemActivated(dirs->item(0));
    EXPECT_EQ(form.diretorio(), home.path() + "a/");
}

} // namespace
