#pragma once

#include "GrupoStatus.h"
#include "Modal.h"
#include "MontaRegistro.h"
#include "PanelModificaCertificado.h"
#include "Screenshot.h"
#include "SlotPanel.h"
#include "StatusFixture.h"
#include "TFormPrincipal.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

// The whole register over certificate C1 (issued 10/11/2015) with ALFA and the two BETA branches
// linked, answering the justification through the real dialog. When TARVENDIX_SCREENSHOTS names a
// directory the main steps are saved there as PNG files (the how-to's pictures).
class StatusTelaFixture : public StatusFixture {
public:
    static constexpr const char* Alfa = "11222333000181";
    static constexpr const char* Beta1 = "45997418000153";
    static constexpr const char* Beta2 = "45997418000234";

protected:
    std::unique_ptr<TFormPrincipal> form;

    void SetUp() override {
        StatusFixture::SetUp();
        cria(QStringLiteral("C1"));
        empresa("BR", Alfa, "1", "Alfa Extintores Ltda");
        empresa("BR", Beta1, "1", "Beta Instalações S.A.");
        empresa("BR", Beta2, "1", "Beta Instalações S.A.");
        for (const char* id : {Alfa, Beta1, Beta2})
            vincula("C1", "BR", id);
    }
    void TearDown() override { form.reset(); }

    // The register with every tab, open on C1 at the tab of that objectName (the real justification
    // dialog installed by the screen).
    void abre(const QString& aba = {}) {
        form = std::make_unique<TFormPrincipal>(dm);
        montaRegistro(*form);
        form->resize(1100, 800);
        form->show();
        form->MostraPainel(QStringLiteral("ModificaCertificado"));
        ASSERT_TRUE(dm.CarregaCertificado("OCC1", "C1"));
        form->panelModifica()->mostraCertificado();
        if (!aba.isEmpty())
            form->panelModifica()->abas()->setCurrentWidget(form->panelModifica()->aba(aba));
    }

    template <typename T = QWidget> T* w(const QString& name) const {
        T* found = form->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    bool visivel(const QString& name) const {
        QWidget* widget = w(name);
        return widget && widget->isVisibleTo(form.get());
    }

    // Answers the next justification dialog with this text and status date ("dd/mm/yyyy").
    static void justifica(const QString& texto, const QString& data) {
        onNextModal([texto, data](QWidget* d) {
            ASSERT_NE(d, nullptr);
            ASSERT_EQ(d->objectName(), "TFrmJustificativa");
            ASSERT_TRUE(typeInto(d, "edtJustificativa", texto));
            d->findChild<QLineEdit*>("MaskEdit1")->setText(data);
            d->findChild<QPushButton*>("btnOK")->click();
        });
    }
};
