#include "EventsFixture.h"
#include "Modal.h"
#include "TFrmJustificativa.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

namespace {

const QString DataEmBranco = QStringLiteral("É necessário informar a  data do Status.");
const QString DataInvalida = QStringLiteral("Data inválida.");
const QString DataAntesDaEmissao =
    QStringLiteral("Data do Status menor do que a data de Emisão do Certificado.");
const QString DataDepoisDeHoje = QStringLiteral("Data do Status maior que a data atual.");
const QString JustificativaEmBranco =
    QStringLiteral("O campo de justificativa não pode ser deixado em branco.");

// Emission one day before today (25/11/2015).
const QDate Emissao(2015, 11, 24);

} // namespace

class JustificativaTest : public EventsFixture {
protected:
    TFrmJustificativa& abre(bool perguntaData, const QDate& emissao = Emissao) {
        dialog = std::make_unique<TFrmJustificativa>(session, perguntaData, emissao);
        dialog->show();
        return *dialog;
    }

    QLineEdit* data() { return dialog->findChild<QLineEdit*>("MaskEdit1"); }

    std::unique_ptr<TFrmJustificativa> dialog;
};

TEST_F(JustificativaTest, JanelaSemBotoesDeSistema) {
    abre(false);
    EXPECT_EQ(dialog->objectName(), "TFrmJustificativa");
    EXPECT_EQ(dialog->windowTitle(), "Justificativa");
    EXPECT_TRUE(dialog->windowFlags() & Qt::CustomizeWindowHint);
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowCloseButtonHint);
    auto* ok = dialog->findChild<QPushButton*>("btnOK");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(dialog->findChild<QPushButton*>("btnCancela")->text(), "Cancela");
    EXPECT_EQ(dialog->findChild<QLineEdit*>("edtJustificativa")->maxLength(), 255);
}

TEST_F(JustificativaTest, DataEscondidaQuandoNaoPerguntada) {
    abre(false);
    EXPECT_FALSE(data()->isVisible());
    auto* label = dialog->findChild<QLabel*>("lblDataStatus");
    ASSERT_NE(label, nullptr);
    EXPECT_FALSE(label->isVisible());

    typeInto(dialog.get(), "edtJustificativa", "Troca de endereço");
    clickOn(dialog.get(), "btnOK");
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const auto r = dialog->resultado();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->texto, "Troca de endereço");
    EXPECT_FALSE(r->dataStatus.isValid());
}

TEST_F(JustificativaTest, DataPerguntadaMostraHoje) {
    abre(true);
    EXPECT_TRUE(data()->isVisible());
    EXPECT_TRUE(dialog->findChild<QLabel*>("lblDataStatus")->isVisible());
    EXPECT_EQ(dialog->findChild<QLabel*>("lblDataStatus")->text(), "Data do Status :");
    EXPECT_EQ(data()->text(), "25/11/2015");
}

TEST_F(JustificativaTest, ConferenciasDaDataNaOrdem) {
    struct Case {
        const char* typed; // digits as typed in the mask; empty clears it
        QString message;   // empty when accepted
        QDate accepted;
    };
    const Case cases[] = {
        {"", DataEmBranco, {}},
        {"2511", DataInvalida, {}},     // incomplete
        {"31022015", DataInvalida, {}}, // no such day
        {"23112015", DataAntesDaEmissao, {}},
        {"26112015", DataDepoisDeHoje, {}},
        {"24112015", {}, QDate(2015, 11, 24)}, // the emission day itself
        {"25112015", {}, QDate(2015, 11, 25)}, // today
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        prompts.clear();
        abre(true);
        typeInto(dialog.get(), "edtJustificativa", "Suspensão pedida");
        data()->clear();
        typeInto(dialog.get(), "MaskEdit1", c.typed);
        clickOn(dialog.get(), "btnOK");
        if (c.message.isEmpty()) {
            EXPECT_TRUE(prompts.shown().isEmpty());
            EXPECT_EQ(dialog->result(), QDialog::Accepted);
            ASSERT_TRUE(dialog->resultado());
            EXPECT_EQ(dialog->resultado()->dataStatus, c.accepted);
            EXPECT_EQ(dialog->resultado()->texto, "Suspensão pedida");
        } else {
            ASSERT_EQ(prompts.shown().size(), 1);
            EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Error);
            EXPECT_EQ(prompts.shown()[0].text, c.message);
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_FALSE(dialog->resultado());
        }
    }
}

TEST_F(JustificativaTest, DataConferidaAntesDaJustificativa) {
    abre(true);
    data()->clear();
    clickOn(dialog.get(), "btnOK");
    EXPECT_EQ(prompts.texts(), QStringList{DataEmBranco});
}

TEST_F(JustificativaTest, JustificativaSoDeBrancosERecusada) {
    abre(true);
    typeInto(dialog.get(), "edtJustificativa", "    ");
    clickOn(dialog.get(), "btnOK");
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Error);
    EXPECT_EQ(prompts.shown()[0].caption, "Erro de edição");
    EXPECT_EQ(prompts.shown()[0].text, JustificativaEmBranco);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->resultado());
}

TEST_F(JustificativaTest, JustificativaNaoPassaDe255Caracteres) {
    abre(false);
    typeInto(dialog.get(), "edtJustificativa", QString(300, 'x'));
    EXPECT_EQ(dialog->findChild<QLineEdit*>("edtJustificativa")->text().size(), 255);
}

TEST_F(JustificativaTest, CancelaDevolveCancelamento) {
    abre(true);
    typeInto(dialog.get(), "edtJustificativa", "Algo");
    clickOn(dialog.get(), "btnCancela");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->resultado());
    EXPECT_TRUE(prompts.shown().isEmpty());
}

TEST_F(JustificativaTest, PerguntaModalDevolveOQueFoiDigitado) {
    const JustificationAsker asker = justificationDialogAsker(session, nullptr);
    onNextModal([](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        EXPECT_EQ(modal->objectName(), "TFrmJustificativa");
        typeInto(modal, "edtJustificativa", "Cancelado a pedido");
        typeInto(modal, "MaskEdit1", "20112015");
        clickOn(modal, "btnOK");
    });
    const auto typed = asker(true, QDate(2015, 1, 5));
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->texto, "Cancelado a pedido");
    EXPECT_EQ(typed->dataStatus, QDate(2015, 11, 20));

    onNextModal([](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        clickOn(modal, "btnCancela");
    });
    EXPECT_FALSE(asker(false, QDate(2015, 1, 5)));
}
