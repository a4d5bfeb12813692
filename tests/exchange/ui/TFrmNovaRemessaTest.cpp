#include "TFrmNovaRemessa.h"
#include "PreparaRemessa.h"
#include "RemessasFixture.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

// The preparation screen, driven as a user would.
class NovaRemessaTest : public RemessasFixture {
protected:
    NovaRemessaTest() {
        state.load(db, session.user());
        form = std::make_unique<TFrmNovaRemessa>(session, state, QStringLiteral("0000000000"));
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

    std::unique_ptr<TFrmNovaRemessa> form;
};

TEST_F(NovaRemessaTest, OpensOnTheChoiceWithNothingChosen) {
    EXPECT_EQ(form->windowTitle(), "Prepara Nova Remessa");
    EXPECT_EQ(find<QGroupBox>("RGTipoRemessa")->title(), "Tipo da Remessa");
    EXPECT_EQ(find<QRadioButton>("rbRemessaParcial")->text().remove('&'), "Remessa Parcial");
    EXPECT_EQ(find<QRadioButton>("rbRemessaCompleta")->text().remove('&'), "Remessa Completa");
    EXPECT_FALSE(find<QRadioButton>("rbRemessaParcial")->isChecked());
    EXPECT_FALSE(find<QRadioButton>("rbRemessaCompleta")->isChecked());
    EXPECT_EQ(find<QPushButton>("BtInicio")->text().remove('&'), "Inicia Preparação");
    EXPECT_TRUE(find<QPushButton>("BtInicio")->isDefault());
    EXPECT_EQ(find<QPushButton>("BtInterrompe")->text().remove('&'), "Interrompe Preparação");
    EXPECT_EQ(find<QPushButton>("BtSaida")->text(), "&Saída");
    EXPECT_TRUE(visible("BtInicio"));
    EXPECT_FALSE(visible("BtInterrompe"));
    EXPECT_FALSE(visible("PbTabelas"));
    EXPECT_FALSE(visible("PbArquivo"));
    EXPECT_EQ(find<QLabel>("LblPreparando")->text(), "Preparando arquivos de dados");
    EXPECT_EQ(find<QLabel>("LblCompactando")->text(), "Compactando arquivos...");
    EXPECT_EQ(find<QProgressBar>("PbArquivo")->maximum(), 1);
    // Every field is named by its caption.
    for (QLineEdit* edit : form->findChildren<QLineEdit*>()) {
        EXPECT_TRUE(edit->isReadOnly());
        bool hasBuddy = false;
        for (QLabel* label : form->findChildren<QLabel*>())
            hasBuddy = hasBuddy || label->buddy() == edit;
        EXPECT_TRUE(hasBuddy) << edit->objectName().toStdString();
    }
    EXPECT_EQ(repeatedMnemonics(form.get()), QStringList{});
    EXPECT_NE(form->minimumSize(), form->maximumSize()); // resizable
    EXPECT_GE(find<QTableView>("GrPrevia")->minimumHeight(),
              8 * find<QTableView>("GrPrevia")->verticalHeader()->defaultSectionSize());
}

TEST_F(NovaRemessaTest, StartingOrPreviewingWithoutATypeAsksForOne) {
    for (const char* button : {"BtInicio", "BtPrevia"}) {
        prompts.clear();
        ASSERT_TRUE(clickOn(form.get(), button));
        ASSERT_EQ(prompts.shown().size(), 1) << button;
        EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Message);
        EXPECT_EQ(prompts.shown()[0].caption, "Tipo de Remessa");
        EXPECT_EQ(prompts.shown()[0].text, "É obrigatória a escolha de um tipo de remessa.");
    }
    EXPECT_TRUE(visible("RGTipoRemessa"));
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE"), 0);
    EXPECT_TRUE(filesInTransf().isEmpty());
}

TEST_F(NovaRemessaTest, AMissingTransferDirectoryStopsBeforeAnything) {
    ASSERT_TRUE(QDir(transf).removeRecursively());
    choose("rbRemessaParcial");
    ASSERT_TRUE(clickOn(form.get(), "BtInicio"));
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].caption, "Erro de Configuração");
    EXPECT_EQ(prompts.shown()[0].text, "Diretório Local de Transferência de Remessas não foi encontrado.");
    EXPECT_TRUE(visible("RGTipoRemessa"));
    EXPECT_TRUE(visible("BtInicio"));
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE"), 0);
}
