// Dates typed the way a new user types them: a click somewhere into the empty field, then the digits.

#include "DateMaskEdit.h"
#include "Modal.h"
#include "RegistroFixture.h"
#include "TFormPrincipal.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>

namespace {

class MascarasTest : public RegistroFixture {
protected:
    std::unique_ptr<TFormPrincipal> form;

    void SetUp() override {
        RegistroFixture::SetUp();
        form = std::make_unique<TFormPrincipal>(dm);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void TearDown() override { form.reset(); }

    template <typename T = QWidget> T* w(const char* name) {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void escolhe(const char* combo, const QString& text) {
        auto* box = w<QComboBox>(combo);
        const int index = box->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    // A click near the right end of the field, where a user aiming at it often lands.
    static void clicaNoFim(QLineEdit* edit) {
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() - 6, edit->height() / 2));
    }
};

TEST_F(MascarasTest, DataDigitadaDepoisDeUmCliqueEGravadaComoDigitada) {
    w<QAction>("Novo1")->trigger();
    ASSERT_TRUE(typeInto(form.get(), QStringLiteral("DBEdit10"), QStringLiteral("C-1")));
    escolhe("DBLookupComboBox15", QStringLiteral("Certificação Compulsória"));
    escolhe("DBLookupComboBox3", QStringLiteral("Brinquedos"));
    auto* salva = w<QPushButton>("btnSalvaInclusao");

    auto* emissao = w<DateMaskEdit>("MaskEdit3");
    clicaNoFim(emissao);
    EXPECT_EQ(emissao->cursorPosition(), 0);
    QTest::keyClicks(emissao, QStringLiteral("0111"));
    EXPECT_EQ(emissao->displayText(), "01/11/____");
    EXPECT_FALSE(salva->isEnabled()) << "a half-typed emission date counts as filled in";
    QTest::keyClicks(emissao, QStringLiteral("2015"));
    EXPECT_EQ(emissao->text(), "01/11/2015");
    EXPECT_TRUE(salva->isEnabled());

    auto* validade = w<DateMaskEdit>("MaskEdit4");
    clicaNoFim(validade);
    QTest::keyClicks(validade, QStringLiteral("01112018"));
    EXPECT_EQ(validade->text(), "01/11/2018");
    QTest::mouseClick(salva, Qt::LeftButton);

    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(valor(QStringLiteral("SELECT DataEmissao FROM CERTIFIC WHERE NumCertif = 'C-1'")).toDateTime(),
              QDateTime(QDate(2015, 11, 1), QTime(0, 0)));
    EXPECT_EQ(valor(QStringLiteral("SELECT DataValid FROM CERTIFIC WHERE NumCertif = 'C-1'")).toDateTime(),
              QDateTime(QDate(2018, 11, 1), QTime(0, 0)));
}

// A field with digits in it keeps the cursor where the click put it, so a typed date can be mended.
TEST_F(MascarasTest, CliqueEmDataJaDigitadaFicaOndeCaiu) {
    w<QAction>("Novo1")->trigger();
    auto* emissao = w<DateMaskEdit>("MaskEdit3");
    emissao->setData(QDate(2015, 11, 1));
    clicaNoFim(emissao);
    EXPECT_GT(emissao->cursorPosition(), 5);
}

} // namespace
