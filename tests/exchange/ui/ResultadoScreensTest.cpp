#include "BatchControl.h"
#include "Embaralha.h"
#include "PreparaRemessa.h"
#include "RemessasFixture.h"
#include "ResultadoRemessa.h"
#include "TFrmConfResultadoManual.h"
#include "TFrmResultadoAutomatico.h"
#include "TFrmResultadoManual.h"
#include "TFrmSelecaoResultado.h"
#include "TestServers.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <atomic>
#include <optional>

namespace {

// A delivered batch of one approved certificate, selected as BtRecebe selects it.
class ResultadoTelas : public RemessasFixture {
protected:
    ResultadoTelas() {
        insertCertificate("2015/0001", true);
        settingsAlreadySent();
        state.load(db, session.user());
        std::atomic_bool interromper{false};
        const PreparationResult prepared =
            PreparaRemessa(session, state).run("C", NumeroRemessa::Nenhum, false, interromper);
        EXPECT_TRUE(prepared.ok()) << prepared.mensagem.toStdString();
        arquivo = prepared.arquivo;
        numero = prepared.numeroRemessa;
        clock.advanceSeconds(60);
        BatchControl control(session, state);
        control.registraEvento(numero, "C", BatchEvents::Transferida);
        control.atualizaListaRemessas();
        state.NumeroRemessa = numero;
        state.TipoRemessa = "C";
    }

    static QString codigo(const QString& texto) {
        return QString::fromLatin1(EmbaralhaCodigo(Direcao::Codificar, texto.toLatin1()));
    }

    int eventos(const QString& evento) {
        return count("SELECT count(*) FROM CONTROLE WHERE Evento = '" + evento + "'");
    }
    QString obs(const QString& evento) {
        return Sql::scalar(db, "SELECT Obs FROM CONTROLE WHERE Evento = '" + evento + "'").toString();
    }

    // The authority's result archive, with its remarks file.
    static void resultado(const QString& directory, const QString& nome, const QByteArray& observacoes) {
        QTemporaryDir work;
        const QString txt = work.filePath(ResultadoRemessa::nomeObservacoes(nome));
        QFile f(txt);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(observacoes);
        f.close();
        QDir().mkpath(directory);
        ASSERT_EQ(QProcess::execute("zip", {"-q", "-j", QDir(directory).filePath(nome), txt}), 0);
    }

    QString arquivo;
    QString numero;
};

TEST_F(ResultadoTelas, TheManualScreenRefusesABadCodeAndStaysForAnotherAttempt) {
    TFrmResultadoManual form(session, state, arquivo);
    form.setConfirmacao([](QWidget*, const QString&) {
        ADD_FAILURE() << "a refused code asked for confirmation";
        return false;
    });
    EXPECT_EQ(form.windowTitle(), "Recebe Resultado Manual");
    EXPECT_EQ(form.findChild<QLineEdit*>("EdNumeroRemessa")->text(), numero);
    EXPECT_EQ(form.findChild<QLineEdit*>("EdArquivoRemessa")->text(), arquivo);
    EXPECT_FALSE(form.findChild<QPushButton*>("BtSaida")->isEnabled());

    for (const QString& typed :
         {QString(), codigo("XY2015112502OK"), codigo("XY" + numero + "OX"), QString(21, QLatin1Char('K'))}) {
        prompts.clear();
        ASSERT_TRUE(typeInto(&form, "Edit1", typed));
        ASSERT_TRUE(clickOn(&form, "BtOK"));
        ASSERT_EQ(prompts.shown().size(), 1) << typed.toStdString();
        EXPECT_EQ(prompts.shown()[0].caption, "Senha Inválida");
        EXPECT_EQ(prompts.shown()[0].text, "A senha não é válida. Tente novamente.");
        EXPECT_TRUE(form.findChild<QPushButton*>("BtOK")->isEnabled());
    }
    EXPECT_EQ(eventos("OK") + eventos("NO"), 0);
}

TEST_F(ResultadoTelas, AConfirmedManualOkSynchronisesAndRecordsTheRemarks) {
    TFrmResultadoManual form(session, state, arquivo);
    QString confirmado;
    form.setConfirmacao([&](QWidget*, const QString& texto) {
        confirmado = texto;
        return true;
    });
    ASSERT_TRUE(typeInto(&form, "Edit1", codigo("KAV" + numero + "OK")));
    form.findChild<QPlainTextEdit*>("MmObservacoes")
        ->setPlainText("Conferido por telefone.\nProtocolo 123\n");
    ASSERT_TRUE(clickOn(&form, "BtOK"));

    EXPECT_EQ(confirmado, "Remessa Válida");
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_EQ(form.findChild<QLabel*>("LbSincroniza")->text(), "Sincronização efetuada com sucesso...");
    EXPECT_TRUE(form.findChild<QLabel*>("CkSincroniza")->isVisibleTo(&form));
    EXPECT_FALSE(form.findChild<QPushButton*>("BtOK")->isEnabled());
    EXPECT_FALSE(form.findChild<QPushButton*>("BtCancelar")->isEnabled());
    EXPECT_TRUE(form.findChild<QPushButton*>("BtSaida")->isEnabled());
    EXPECT_EQ(obs("OK"), "<Recebimento Manual>  Conferido por telefone. Protocolo 123");
    EXPECT_EQ(count("SELECT count(*) FROM REP_CERTIFIC WHERE NumCertif = '2015/0001'"), 1);
    EXPECT_FALSE(QFileInfo::exists(transf + arquivo));
}

TEST_F(ResultadoTelas, TheRealConfirmationDecidesAndAManualNoChangesNothingElse) {
    // "Cancela" on the confirmation leaves the screen as it was.
    {
        TFrmResultadoManual form(session, state, arquivo);
        ASSERT_TRUE(typeInto(&form, "Edit1", codigo(numero + "NO")));
        QString mostrado;
        onNextModal([&](QWidget* modal) {
            ASSERT_NE(qobject_cast<TFrmConfResultadoManual*>(modal), nullptr);
            EXPECT_EQ(modal->windowTitle(), "Confirma Resultado Manual");
            mostrado = modal->findChild<QLineEdit*>("EdResultado")->text();
            clickOn(modal, "BtCancela");
        });
        ASSERT_TRUE(clickOn(&form, "BtOK"));
        EXPECT_EQ(mostrado, "Remessa Inválida");
        EXPECT_TRUE(form.findChild<QPushButton*>("BtOK")->isEnabled());
        EXPECT_EQ(eventos("NO"), 0);
    }
    TFrmResultadoManual form(session, state, arquivo);
    ASSERT_TRUE(typeInto(&form, "Edit1", codigo(numero + "NO")));
    onNextModal([&](QWidget* modal) { clickOn(modal, "BtOK"); });
    ASSERT_TRUE(clickOn(&form, "BtOK"));
    EXPECT_EQ(form.findChild<QLabel*>("LbSincroniza")->text(),
              "Não há sincronização a fazer. A remessa foi invalidada.");
    EXPECT_TRUE(form.findChild<QLabel*>("LbSincroniza")->isVisibleTo(&form));
    EXPECT_FALSE(form.findChild<QLabel*>("CkSincroniza")->isVisibleTo(&form));
    EXPECT_EQ(eventos("NO"), 1);
    EXPECT_EQ(obs("NO"), "<Recebimento Manual> ");
    EXPECT_EQ(count("SELECT count(*) FROM REP_CERTIFIC"), 0);
    EXPECT_TRUE(QFileInfo::exists(transf + arquivo));
}

TEST_F(ResultadoTelas, AFailedManualSynchronisationShowsTheBoxAndKeepsTheArchive) {
    Sql::execute(db,
                 "CREATE TRIGGER falha BEFORE INSERT ON REP_CERTIFIC BEGIN SELECT RAISE(ABORT, 'x'); END");
    TFrmResultadoManual form(session, state, arquivo);
    form.setConfirmacao([](QWidget*, const QString&) { return true; });
    ASSERT_TRUE(typeInto(&form, "Edit1", codigo(numero + "OK")));
    ASSERT_TRUE(clickOn(&form, "BtOK"));
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Error);
    EXPECT_EQ(prompts.shown()[0].text, "Ocorreu um Erro na Sincronização.\nEntre em contato com o suporte.");
    EXPECT_FALSE(form.findChild<QLabel*>("CkSincroniza")->isVisibleTo(&form));
    EXPECT_TRUE(form.findChild<QPushButton*>("BtSaida")->isEnabled());
    EXPECT_EQ(eventos("OK"), 0);
    EXPECT_TRUE(QFileInfo::exists(transf + arquivo));
}

class ResultadoAutomaticoTela : public ResultadoTelas {
protected:
    ResultadoAutomaticoTela() {
        state.EndKavorelResult = QStringLiteral("127.0.0.1:%1/resultado").arg(server.port());
        state.LoginFTP = FtpTestServer::user();
        state.SenhaFTP = FtpTestServer::password();
        QDir().mkpath(server.pathOf("resultado"));
    }
    QStringList memo(QWidget* form) {
        return form->findChild<QPlainTextEdit*>("MmResultado")->toPlainText().split('\n');
    }

    FtpTestServer server;
};

TEST_F(ResultadoAutomaticoTela, AnAcceptedResultIsFetchedSynchronisedAndLogged) {
    ASSERT_TRUE(server.started());
    const QString nome = ResultadoRemessa::nomeResultado(arquivo, "OK");
    resultado(server.pathOf("resultado"), nome, "Remessa aceita.\nObrigado.");

    TFrmResultadoAutomatico form(session, state, arquivo);
    std::optional<ComprovanteResultado> impresso;
    form.setRelatorio([&impresso](QWidget*, const ComprovanteResultado& c) { impresso = c; });
    const QString numero = state.NumeroRemessa;
    EXPECT_EQ(form.windowTitle(), "Recebe Resultado Automático");
    EXPECT_EQ(form.findChild<QLineEdit*>("EdEndResultado")->text(), state.EndKavorelResult);
    auto* relatorio = form.findChild<QPushButton*>("BtRelatorio");
    ASSERT_NE(relatorio, nullptr);
    EXPECT_EQ(relatorio->text(), "Emite Relatório");
    ASSERT_TRUE(clickOn(&form, "BtResultado"));

    const QStringList linhas = memo(&form);
    ASSERT_GE(linhas.size(), 9) << linhas.join('\n').toStdString();
    EXPECT_EQ(linhas[0], "Usuário Responsável : joao");
    EXPECT_TRUE(linhas[1].startsWith("Hora inicio: "));
    EXPECT_TRUE(linhas[2].startsWith("Tamanho do arquivo : "));
    EXPECT_TRUE(linhas[3].startsWith("Hora fim: "));
    EXPECT_TRUE(linhas[4].startsWith("Bytes transferidos: "));
    EXPECT_TRUE(linhas[5].startsWith("Taxa de transferência: "));
    EXPECT_EQ(linhas.mid(6),
              (QStringList{"Resultado recebido com sucesso: remesa foi considerada válida e a base de "
                           "dados foi atualizada.",
                           "Remessa aceita.", "Obrigado."}));
    EXPECT_EQ(form.findChild<QLineEdit*>("EdArquivoDownload")->text(), nome);
    for (const char* check : {"CkInformacoes", "CkTransferencia", "CkSincroniza"})
        EXPECT_TRUE(form.findChild<QLabel*>(check)->isVisibleTo(&form)) << check;
    // The receipt of the verdict: the batch as it was, the archive, the code and the memo.
    ASSERT_TRUE(relatorio->isEnabled());
    ASSERT_TRUE(clickOn(&form, "BtRelatorio"));
    ASSERT_TRUE(impresso.has_value());
    EXPECT_EQ(impresso->cabecalho, state.SiglaCertificador + " - " + state.NomeOCC);
    EXPECT_EQ(impresso->numeroRemessa, numero);
    EXPECT_EQ(impresso->arquivoResultado, nome);
    EXPECT_EQ(impresso->codigo, "OK");
    EXPECT_EQ(impresso->linhas, linhas);
    EXPECT_FALSE(form.findChild<QPushButton*>("BtResultado")->isEnabled());
    EXPECT_TRUE(form.findChild<QPushButton*>("BtSaida")->isEnabled());
    EXPECT_EQ(eventos("OK"), 1);
    EXPECT_EQ(obs("OK"), " Remessa aceita. Obrigado.");
    EXPECT_EQ(count("SELECT count(*) FROM REP_CERTIFIC WHERE NumCertif = '2015/0001'"), 1);
    EXPECT_FALSE(QFileInfo::exists(transf + arquivo));
    EXPECT_FALSE(QFileInfo::exists(home.path() + "Sincr/" + nome));
}

TEST_F(ResultadoAutomaticoTela, NoResultYetSaysSoAndRecordsNothing) {
    ASSERT_TRUE(server.started());
    TFrmResultadoAutomatico form(session, state, arquivo);
    form.setRelatorio([](QWidget*, const ComprovanteResultado&) {});
    ASSERT_TRUE(clickOn(&form, "BtResultado"));
    EXPECT_FALSE(form.findChild<QPushButton*>("BtRelatorio")->isEnabled()); // no verdict, no receipt
    EXPECT_EQ(memo(&form),
              QStringList{"Resultado não recebido: não há ainda resultado disponível no Kavorel para "
                          "esta remessa."});
    EXPECT_FALSE(form.findChild<QLabel*>("CkInformacoes")->isVisibleTo(&form));
    EXPECT_FALSE(form.findChild<QLabel*>("LbSincroniza")->isVisibleTo(&form));
    EXPECT_TRUE(form.findChild<QPushButton*>("BtSaida")->isEnabled());
    EXPECT_EQ(eventos("OK") + eventos("NO"), 0);
    EXPECT_TRUE(QFileInfo::exists(transf + arquivo));
}

TEST_F(ResultadoAutomaticoTela, ARejectedResultRecordsNoAndSaysThereIsNothingToSynchronise) {
    ASSERT_TRUE(server.started());
    resultado(server.pathOf("resultado"), ResultadoRemessa::nomeResultado(arquivo, "NO"), "Faltou o lote.");
    TFrmResultadoAutomatico form(session, state, arquivo);
    std::optional<ComprovanteResultado> impresso;
    form.setRelatorio([&impresso](QWidget*, const ComprovanteResultado& c) { impresso = c; });
    ASSERT_TRUE(clickOn(&form, "BtResultado"));
    ASSERT_TRUE(clickOn(&form, "BtRelatorio"));
    ASSERT_TRUE(impresso.has_value());
    EXPECT_EQ(impresso->codigo, "NO");
    EXPECT_EQ(
        memo(&form).mid(memo(&form).size() - 2),
        (QStringList{"Resultado recebido com sucesso: remessa foi invalidada pelo Kavorel e exigirá nova "
                     "remessa.",
                     "Faltou o lote."}));
    EXPECT_EQ(form.findChild<QLabel*>("LbSincroniza")->text(),
              "Não há sincronização a fazer. A remessa foi invalidada.");
    EXPECT_FALSE(form.findChild<QLabel*>("CkSincroniza")->isVisibleTo(&form));
    EXPECT_EQ(eventos("NO"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM REP_CERTIFIC"), 0);
    EXPECT_TRUE(QFileInfo::exists(transf + arquivo));
}

TEST_F(ResultadoAutomaticoTela, AFailedSynchronisationShowsTheBoxOfItsStep) {
    ASSERT_TRUE(server.started());
    resultado(server.pathOf("resultado"), ResultadoRemessa::nomeResultado(arquivo, "OK"), "ok");
    Sql::execute(db,
                 "CREATE TRIGGER falha BEFORE INSERT ON REP_CERTIFIC BEGIN SELECT RAISE(ABORT, 'x'); END");
    TFrmResultadoAutomatico form(session, state, arquivo);
    ASSERT_TRUE(clickOn(&form, "BtResultado"));
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].text, "Ocorreu um Erro2 na Sincronização.\nEntre em contato com o suporte.");
    EXPECT_FALSE(form.findChild<QLabel*>("CkSincroniza")->isVisibleTo(&form));
    EXPECT_EQ(eventos("OK"), 0);
    EXPECT_TRUE(QFileInfo::exists(transf + arquivo));

    // Once the cause is gone the result is simply received again.
    Sql::execute(db, "DROP TRIGGER falha");
    prompts.clear();
    TFrmResultadoAutomatico again(session, state, arquivo);
    ASSERT_TRUE(clickOn(&again, "BtResultado"));
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_TRUE(again.findChild<QLabel*>("CkSincroniza")->isVisibleTo(&again));
    EXPECT_EQ(eventos("OK"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM REP_CERTIFIC"), 1);
    EXPECT_FALSE(QFileInfo::exists(transf + arquivo));
}

TEST_F(ResultadoTelas, TheModeChoiceOpensTheChosenScreenAndClosesAfterwards) {
    struct Caso {
        const char* radio;
        const char* tela;
    };
    for (const Caso& caso :
         {Caso{nullptr, "TFrmResultadoAutomatico"}, Caso{"RbManual", "TFrmResultadoManual"}}) {
        TFrmSelecaoResultado form(session, state, arquivo);
        EXPECT_EQ(form.windowTitle(), "Seleção de Modo de Recebimento");
        EXPECT_TRUE(form.findChild<QRadioButton*>("RbFTP")->isChecked());
        EXPECT_EQ(form.findChild<QLineEdit*>("EdArquivoRemessa")->text(), arquivo);
        EXPECT_FALSE(form.findChild<QLineEdit*>("EdArquivoRemessa")->isVisibleTo(&form));
        if (caso.radio)
            form.findChild<QRadioButton*>(caso.radio)->setChecked(true);
        QString aberta;
        onNextModal([&](QWidget* modal) {
            ASSERT_NE(modal, nullptr);
            aberta = modal->objectName();
            clickOn(modal, modal->objectName() == "TFrmResultadoManual" ? "BtCancelar" : "BtCancela");
        });
        form.show();
        ASSERT_TRUE(clickOn(&form, "BtOK"));
        EXPECT_EQ(aberta, caso.tela);
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_FALSE(form.isVisible());
    }
}

} // namespace
