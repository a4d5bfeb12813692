// "Salva" of "Dados Gerais" keeps the classes a certificate has, also when the drop-downs no longer
// offer them (the acronym's accreditation changed, or a reference-table version withdrew them), and
// refuses to store a certificate without both classes.

#include "Modal.h"
#include "MontaRegistro.h"
#include "RegistroFixture.h"
#include "TFormPrincipal.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>

namespace {

class ClassesGuardadas : public RegistroFixture {
protected:
    std::unique_ptr<TFormPrincipal> form;

    void SetUp() override {
        RegistroFixture::SetUp();
        // A class of certificate the certifier is not (or no longer) accredited for.
        ASSERT_SQL(db, QStringLiteral("INSERT INTO CLASSE_C (IdClasseCertif, NomClasseCertif, UsuResp) "
                                      "VALUES ('ANTIGA', 'Certificação Antiga', 'AMOSTRA')"));
        form = std::make_unique<TFormPrincipal>(dm);
        montaRegistro(*form);
        form->setEscolheCertificado([](QWidget*) {
            return std::optional<ChaveCertificado>({QStringLiteral("OCC1"), QStringLiteral("A")});
        });
        form->show();
    }
    void TearDown() override { form.reset(); }

    // The certificate "A" with the given classes (NULL for none), opened on "Dados Gerais".
    void abreCom(const QVariant& classeCertif, const QVariant& classeProd) {
        cria(QStringLiteral("A"));
        Sql::execute(db,
                     QStringLiteral("UPDATE CERTIFIC SET IdClasseCertif = :c, IdClasseProd = :p "
                                    "WHERE NumCertif = 'A'"),
                     {{":c", classeCertif}, {":p", classeProd}});
        dm.fecha();
        form->findChild<QAction*>(QStringLiteral("Altera1"))->trigger();
        ASSERT_TRUE(clickOn(form.get(), QStringLiteral("btnSelCertModificacao")));
        ASSERT_EQ(dm.numAberto(), "A");
        prompts.clear();
    }
    QComboBox* combo(const QString& name) { return form->findChild<QComboBox*>(name); }
    QVariant campo(const QString& column) {
        return valor(QStringLiteral("SELECT %1 FROM CERTIFIC WHERE NumCertif = 'A'").arg(column));
    }
};

TEST_F(ClassesGuardadas, ClassesForaDaListaSaoMostradasEMantidas) {
    const struct {
        const char* nome;
        QVariant certif;
        QVariant prod;
        QString mostraCertif;
        QString mostraProd;
    } casos[] = {
        // not accredited, but still in the reference tables: shown by name
        {"NaoCredenciadas", QStringLiteral("ANTIGA"), 120, QStringLiteral("Certificação Antiga"),
         QStringLiteral("Refrigeradores")},
        // gone from the reference tables: shown by identifier
        {"Retiradas", QStringLiteral("EXTINTA"), 999, QStringLiteral("EXTINTA"), QStringLiteral("999")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        abreCom(c.certif, c.prod);
        EXPECT_EQ(combo(QStringLiteral("DBLookupComboBox5"))->currentText(), c.mostraCertif);
        EXPECT_EQ(combo(QStringLiteral("DBLookupComboBox6"))->currentText(), c.mostraProd);

        ASSERT_TRUE(typeInto(form.get(), QStringLiteral("DBEdit18"), QStringLiteral("Lab Norte")));
        ASSERT_TRUE(clickOn(form.get(), QStringLiteral("btnSalvaGeral")));
        EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText();
        EXPECT_EQ(campo(QStringLiteral("LabEnsaio")).toString(), "Lab Norte");
        EXPECT_EQ(campo(QStringLiteral("IdClasseCertif")).toString(), c.certif.toString());
        EXPECT_EQ(campo(QStringLiteral("IdClasseProd")).toInt(), c.prod.toInt());
        // Still listed after the save, and the next save keeps them as well.
        EXPECT_EQ(combo(QStringLiteral("DBLookupComboBox5"))->currentText(), c.mostraCertif);
        ASSERT_TRUE(typeInto(form.get(), QStringLiteral("DBEdit19"), QStringLiteral("R-2")));
        ASSERT_TRUE(clickOn(form.get(), QStringLiteral("btnSalvaGeral")));
        EXPECT_EQ(campo(QStringLiteral("IdClasseCertif")).toString(), c.certif.toString());
        EXPECT_EQ(campo(QStringLiteral("IdClasseProd")).toInt(), c.prod.toInt());

        // Another class can still be chosen, and the stored one is then replaced.
        const int volIndex =
            combo(QStringLiteral("DBLookupComboBox5"))->findText(QStringLiteral("Certificação Voluntária"));
        ASSERT_GE(volIndex, 0);
        combo(QStringLiteral("DBLookupComboBox5"))->setCurrentIndex(volIndex);
        emit combo(QStringLiteral("DBLookupComboBox5"))->activated(volIndex);
        ASSERT_TRUE(clickOn(form.get(), QStringLiteral("btnSalvaGeral")));
        EXPECT_EQ(campo(QStringLiteral("IdClasseCertif")).toString(), "VOL");
        EXPECT_EQ(campo(QStringLiteral("IdClasseProd")).toInt(), c.prod.toInt());

        ASSERT_TRUE(clickOn(form.get(), QStringLiteral("BitBtn35")));
        ASSERT_SQL(db, QStringLiteral("DELETE FROM STATUS_C"));
        ASSERT_SQL(db, QStringLiteral("DELETE FROM CERTIFIC"));
    }
}

TEST_F(ClassesGuardadas, CertificadoSemAsDuasClassesNaoESalvo) {
    abreCom(QVariant(QMetaType(QMetaType::QString)), 110);
    ASSERT_TRUE(typeInto(form.get(), QStringLiteral("DBEdit18"), QStringLiteral("Lab Norte")));
    ASSERT_TRUE(clickOn(form.get(), QStringLiteral("btnSalvaGeral")));
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].caption, "Erro de entrada de dados");
    EXPECT_EQ(prompts.shown()[0].text,
              "Por favor informe a classe de certificado e a classe de produtos do certificado.");
    EXPECT_TRUE(campo(QStringLiteral("LabEnsaio")).isNull());
    // The typed text waits on screen for the missing class.
    EXPECT_EQ(form->findChild<QLineEdit*>(QStringLiteral("DBEdit18"))->text(), "Lab Norte");

    prompts.clear();
    const int index =
        combo(QStringLiteral("DBLookupComboBox5"))->findText(QStringLiteral("Certificação Compulsória"));
    ASSERT_GE(index, 0);
    combo(QStringLiteral("DBLookupComboBox5"))->setCurrentIndex(index);
    emit combo(QStringLiteral("DBLookupComboBox5"))->activated(index);
    ASSERT_TRUE(clickOn(form.get(), QStringLiteral("btnSalvaGeral")));
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText();
    EXPECT_EQ(campo(QStringLiteral("LabEnsaio")).toString(), "Lab Norte");
    EXPECT_EQ(campo(QStringLiteral("IdClasseCertif")).toString(), "COMP");
    EXPECT_EQ(campo(QStringLiteral("IdClasseProd")).toInt(), 110);
}

} // namespace
