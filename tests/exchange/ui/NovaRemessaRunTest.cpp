#include "PreparaRemessa.h"
#include "RemessasFixture.h"
#include "TFrmNovaRemessa.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>

// Whole preparations run from the screen against a real register, archiver and Paradox files.
class NovaRemessaRunTest : public RemessasFixture {
protected:
    void open(const QString& anterior = QStringLiteral("0000000000")) {
        state.load(db, session.user());
        form = std::make_unique<TFrmNovaRemessa>(session, state, anterior);
        form->show();
    }

    template <typename T = QWidget> T* find(const char* name) {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString text(const char* name) { return find<QLineEdit>(name)->text(); }
    bool visible(const char* name) { return find(name)->isVisible(); }
    bool enabled(const char* name) { return find(name)->isEnabled(); }
    void choose(const char* radio) { QTest::mouseClick(find<QRadioButton>(radio), Qt::LeftButton); }
    QStringList filesInTransf() { return QDir(transf).entryList(QDir::Files, QDir::Name); }

    // Watches the screen while a run is under way, from the events the run lets through.
    void watchWhileRunning(std::function<void()> act) {
        auto* timer = new QTimer(form.get());
        timer->setInterval(1);
        QObject::connect(timer, &QTimer::timeout, form.get(), [this, timer, act] {
            if (form->emAndamento()) {
                timer->stop();
                act();
            }
        });
        timer->start();
    }

    std::unique_ptr<TFrmNovaRemessa> form;
};

TEST_F(NovaRemessaRunTest, FirstPartialBatchIsPackedNumberedAndRecorded) {
    insertCertificate("C1", true);
    insertCertificate("C2", false);
    open();
    choose("rbRemessaParcial");
    QStringList seenTables;
    int maximum = 0;
    bool interruptVisible = false, exitDisabled = false;
    watchWhileRunning([&] {
        maximum = find<QProgressBar>("PbTabelas")->maximum();
        interruptVisible = visible("BtInterrompe") && !visible("BtInicio") && !visible("RGTipoRemessa");
        exitDisabled = !enabled("BtSaida");
    });
    ASSERT_TRUE(clickOn(form.get(), "BtInicio"));

    EXPECT_EQ(maximum, PreparaRemessa::numeroDePassos("C"));
    EXPECT_TRUE(interruptVisible);
    EXPECT_TRUE(exitDisabled);
    EXPECT_EQ(text("EdResultado"), "Preparação Ocorrida com Sucesso.");
    EXPECT_EQ(text("EdNumeroRemessa"), "2015112501");
    EXPECT_EQ(text("EdArquivoRemessa"), "OC-OCC12015112501.zip");
    EXPECT_EQ(filesInTransf(), QStringList{"OC-OCC12015112501.zip"});
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE WHERE NumeroRemessa = '2015112501' AND Evento = 'PR' "
                    "AND TipoRemessa = 'C' AND Usuario = 'joao' AND Obs IS NULL"),
              1);
    auto* pb = find<QProgressBar>("PbTabelas");
    EXPECT_EQ(pb->value(), pb->maximum());
    EXPECT_EQ(find<QProgressBar>("PbArquivo")->value(), 1);
    EXPECT_TRUE(visible("CkTabelas"));
    EXPECT_TRUE(visible("CkArquivo"));
    EXPECT_FALSE(visible("BtInicio"));
    EXPECT_FALSE(enabled("BtInterrompe"));
    EXPECT_TRUE(enabled("BtSaida"));
    EXPECT_TRUE(prompts.shown().isEmpty());
}

TEST_F(NovaRemessaRunTest, SecondBatchOfTheDayTakesTheNextSequence) {
    insertCertificate("C1", true);
    open("2015112509");
    choose("rbRemessaParcial");
    ASSERT_TRUE(clickOn(form.get(), "BtInicio"));
    EXPECT_EQ(text("EdNumeroRemessa"), "2015112510");
    EXPECT_EQ(text("EdArquivoRemessa"), "OC-OCC12015112510.zip");
}

TEST_F(NovaRemessaRunTest, NothingToSendShowsTheMessageAndRecordsNothing) {
    settingsAlreadySent();
    insertCertificate("C2", false);
    open();
    choose("rbRemessaParcial");
    ASSERT_TRUE(clickOn(form.get(), "BtInicio"));
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].caption, "Preparação de Remessas");
    EXPECT_EQ(prompts.shown()[0].text, "Nenhuma tabela nova foi criada!");
    EXPECT_TRUE(text("EdNumeroRemessa").isEmpty());
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE"), 0);
    for (const QString& f : filesInTransf())
        EXPECT_FALSE(f.endsWith(".zip", Qt::CaseInsensitive)) << f.toStdString();
    EXPECT_FALSE(enabled("BtInterrompe"));
    EXPECT_TRUE(enabled("BtSaida"));
    EXPECT_FALSE(visible("BtInicio"));
}

TEST_F(NovaRemessaRunTest, CompleteBatchIsConfirmedAndPackedAsOT) {
    insertCertificate("C1", true);
    open();
    choose("rbRemessaCompleta");
    prompts.planAnswer(PromptAnswer::Yes);
    int maximum = 0;
    watchWhileRunning([&] { maximum = find<QProgressBar>("PbTabelas")->maximum(); });
    ASSERT_TRUE(clickOn(form.get(), "BtInicio"));
    EXPECT_EQ(maximum, PreparaRemessa::numeroDePassos("T"));
    EXPECT_EQ(text("EdArquivoRemessa"), "OT-OCC12015112501.zip");
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE WHERE Evento = 'PR' AND TipoRemessa = 'T'"), 1);
    auto* pb = find<QProgressBar>("PbTabelas");
    EXPECT_EQ(pb->value(), pb->maximum());
}

TEST_F(NovaRemessaRunTest, InterruptingStopsAtOnceAndLeavesNoArchiveNorEvent) {
    insertCertificate("C1", true);
    open();
    choose("rbRemessaParcial");
    bool closeRefused = false;
    watchWhileRunning([&] {
        // The window cannot be closed while the run is under way.
        form->close();
        form->reject();
        closeRefused = form->isVisible();
        QTest::mouseClick(find<QPushButton>("BtInterrompe"), Qt::LeftButton);
    });
    ASSERT_TRUE(clickOn(form.get(), "BtInicio"));
    EXPECT_TRUE(closeRefused);
    EXPECT_EQ(text("EdResultado"), "Preparação Interrompida pelo Usuário.");
    EXPECT_TRUE(text("EdNumeroRemessa").isEmpty());
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE"), 0);
    for (const QString& f : filesInTransf())
        EXPECT_FALSE(f.endsWith(".zip", Qt::CaseInsensitive)) << f.toStdString();
    // Back to a restartable state; the type choice stays hidden.
    EXPECT_TRUE(visible("BtInicio"));
    EXPECT_FALSE(visible("BtInterrompe"));
    EXPECT_FALSE(visible("RGTipoRemessa"));
    EXPECT_TRUE(enabled("BtSaida"));

    // And it can be started again.
    ASSERT_TRUE(clickOn(form.get(), "BtInicio"));
    EXPECT_EQ(text("EdResultado"), "Preparação Ocorrida com Sucesso.");
    EXPECT_EQ(text("EdNumeroRemessa"), "2015112501");
}

TEST_F(NovaRemessaRunTest, PreviewCountsPerTableAndWritesNothing) {
    insertCertificate("C1", true);
    insertCertificate("C2", true);
    insertCertificate("C3", false);
    settingsAlreadySent();
    open();
    choose("rbRemessaParcial");
    ASSERT_TRUE(clickOn(form.get(), "BtPrevia"));
    auto* grid = find<QTableView>("GrPrevia");
    ASSERT_EQ(grid->model()->rowCount(), int(TabelasRemessa().size()));
    int certific = -1;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        if (grid->model()->index(r, 0).data().toString() == "Certific")
            certific = r;
    ASSERT_GE(certific, 0);
    EXPECT_EQ(grid->model()->index(certific, 1).data().toString(), "2");
    EXPECT_EQ(grid->model()->index(certific, 2).data().toString(), "0");
    EXPECT_EQ(grid->model()->index(certific, 3).data().toString(), "0");
    EXPECT_TRUE(find<QLabel>("LblPrevia")->text().contains("Nada foi gravado"));
    EXPECT_TRUE(filesInTransf().isEmpty());
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE"), 0);
    // The screen is as it was: the batch can still be chosen and prepared.
    EXPECT_TRUE(visible("RGTipoRemessa"));
    EXPECT_TRUE(visible("BtInicio"));
    EXPECT_FALSE(visible("BtInterrompe"));
}

TEST_F(NovaRemessaRunTest, APreparationAfterAPreviewShowsOnlyWhatItDid) {
    insertCertificate("C1", true);
    open();
    choose("rbRemessaParcial");
    ASSERT_TRUE(clickOn(form.get(), "BtPrevia"));
    ASSERT_TRUE(find<QLabel>("LblPrevia")->text().contains("Nada foi gravado"));
    ASSERT_TRUE(clickOn(form.get(), "BtInicio"));
    ASSERT_EQ(text("EdResultado"), "Preparação Ocorrida com Sucesso.");

    // The preview's "nothing was written" is no longer true, and its counts are gone with it.
    EXPECT_TRUE(find<QLabel>("LblPrevia")->text().isEmpty()) << find<QLabel>("LblPrevia")->text();
    EXPECT_EQ(find<QTableView>("GrPrevia")->model()->rowCount(), 0);
    // The type of the batch prepared stays in sight, not to be changed any more.
    EXPECT_TRUE(visible("RGTipoRemessa"));
    EXPECT_FALSE(enabled("RGTipoRemessa"));
    EXPECT_TRUE(find<QRadioButton>("rbRemessaParcial")->isChecked());
}

TEST_F(NovaRemessaRunTest, DecliningTheCompleteBatchChangesNothing) {
    insertCertificate("C1", true);
    open();
    choose("rbRemessaCompleta");
    prompts.planAnswer(PromptAnswer::No);
    ASSERT_TRUE(clickOn(form.get(), "BtInicio"));
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::YesNo);
    EXPECT_EQ(prompts.shown()[0].caption, "Preparação de uma Remessa Completa");
    EXPECT_EQ(prompts.shown()[0].text, "Uma remessa completa deve ser preparada sob a supervisão do "
                                       "Kavorel.Deseja realmente continuar com a preparação ?");
    EXPECT_TRUE(visible("RGTipoRemessa"));
    EXPECT_FALSE(visible("BtInterrompe"));
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE"), 0);
    EXPECT_TRUE(filesInTransf().isEmpty());
}

// A register large enough for the run to take a while: the window must keep handling events all
// along, and the interruption must be taken within a fraction of a second.
TEST_F(NovaRemessaRunTest, LargeBatchKeepsTheWindowAliveAndStopsPromptlyWhenInterrupted) {
    Sql::execute(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) "
                     "INSERT INTO CERTIFIC (SiglaCertificador, NumCertif, StatusCertificado, DataEmissao, "
                     "Completo, Aprovado, DthStatusCertificado, DthUltAtualiz, UsuResp) "
                     "SELECT 'OCC1', 'N' || i, 'A', '2015-01-05T00:00:00.000', 1, 1, "
                     "'2015-01-05T00:00:00.000', '2015-01-05T00:00:00.000', 'ana' FROM n");
    open();
    choose("rbRemessaParcial");

    // Ticks of a 10 ms timer while the run is under way: the longest gap is how long the window
    // went without handling events.
    QElapsedTimer clockOfRun;
    qint64 lastTick = -1, longestGap = 0, interruptedAt = -1;
    int ticks = 0;
    auto* ticker = new QTimer(form.get());
    ticker->setInterval(10);
    QObject::connect(ticker, &QTimer::timeout, form.get(), [&] {
        if (!form->emAndamento())
            return;
        const qint64 now = clockOfRun.elapsed();
        if (lastTick >= 0)
            longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
        // Interrupt in the middle of the certificates, the long table of this register.
        if (interruptedAt < 0 && find<QLabel>("LblTabela")->text() == "Verificando tabela de Cetificados" &&
            ++ticks == 5) {
            interruptedAt = now;
            QTest::mouseClick(find<QPushButton>("BtInterrompe"), Qt::LeftButton);
        }
    });
    ticker->start();
    clockOfRun.start();
    ASSERT_TRUE(clickOn(form.get(), "BtInicio"));
    const qint64 endedAt = clockOfRun.elapsed();

    ASSERT_GE(interruptedAt, 0) << "the run left the certificates before it could be interrupted";
    EXPECT_EQ(text("EdResultado"), "Preparação Interrompida pelo Usuário.");
    EXPECT_EQ(find<QLabel>("LblOperacao")->text(), "Erro.!");
    EXPECT_LT(endedAt - interruptedAt, 600);
    EXPECT_LT(longestGap, 400);
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE"), 0);
    for (const QString& f : filesInTransf())
        EXPECT_FALSE(f.endsWith(".zip", Qt::CaseInsensitive)) << f.toStdString();
}

TEST_F(NovaRemessaRunTest, TheHundredthBatchOfADayIsRefusedAndTheChoiceComesBack) {
    insertCertificate("C1", true);
    open("2015112599");
    choose("rbRemessaParcial");
    ASSERT_TRUE(clickOn(form.get(), "BtInicio"));
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_FALSE(prompts.shown()[0].text.isEmpty());
    EXPECT_TRUE(text("EdNumeroRemessa").isEmpty());
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE"), 0);
    EXPECT_TRUE(filesInTransf().isEmpty());
    EXPECT_TRUE(visible("RGTipoRemessa"));
    EXPECT_TRUE(visible("BtInicio"));
    EXPECT_FALSE(visible("BtInterrompe"));
    EXPECT_TRUE(enabled("BtSaida"));
}

TEST_F(NovaRemessaRunTest, AFailedPackingEndsInErrorAndCanBeRestarted) {
    insertCertificate("C1", true);
    open();
    choose("rbRemessaParcial");
    // Without the archiver on the path the packing fails.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", home.path().toLocal8Bit());
    const bool clicked = clickOn(form.get(), "BtInicio");
    qputenv("PATH", path);
    ASSERT_TRUE(clicked);
    EXPECT_TRUE(prompts.wasShown("O arquivo Zip.exe não foi encontrado.")) << prompts.texts().join(" | ");
    EXPECT_EQ(text("EdResultado"), "Ocorreu um Erro na Preparação.");
    EXPECT_TRUE(text("EdNumeroRemessa").isEmpty());
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE"), 0);
    EXPECT_TRUE(visible("BtInicio"));
    EXPECT_FALSE(visible("BtInterrompe"));
    EXPECT_TRUE(enabled("BtSaida"));

    prompts.clear();
    ASSERT_TRUE(clickOn(form.get(), "BtInicio"));
    EXPECT_EQ(text("EdResultado"), "Preparação Ocorrida com Sucesso.");
    EXPECT_EQ(text("EdNumeroRemessa"), "2015112501");
}
