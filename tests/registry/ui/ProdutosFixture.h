#pragma once

#include "Clock.h"
#include "Database.h"
#include "DateMaskEdit.h"
#include "Eventos.h"
#include "Modal.h"
#include "SampleReference.h"
#include "ScriptedPrompts.h"
#include "Session.h"
#include "Sql.h"
#include "TDMCertif.h"
#include "TabLinhasProduto.h"
#include "TestHome.h"

#include <QComboBox>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <gtest/gtest.h>

// A fresh database with the sample reference data, a clock standing at 25/11/2015 14:03:59.250,
// scripted prompts, the user "joao", and the certificate "C-1" (emitted 05/01/2015) with two
// branches of one legal person, a natural person, and the products "LG"/"M1" and
// "LG ELECTRONICS"/"M1".
class ProdutosFixture : public ::testing::Test {
protected:
    ProdutosFixture()
        : db(home.openDatabase()), clock(QDateTime(QDate(2015, 11, 25), QTime(14, 3, 59, 250))),
          session(Database::ConnectionName, clock, prompts) {
        session.setUser(LoggedUser{QStringLiteral("joao"), QStringLiteral("OCC1"), Permissions::all()});
        loadSampleReference(db, "OCC1");
        insertCertificate("C-1");
        insertCompany("BR", "11222333000181", "1", "ACME LTDA", "11222333000181", {});
        insertCompany("BR", "11222333000262", "1", "ACME LTDA", "11222333000262", {});
        insertCompany("BR", "12345678909", "2", {}, {}, "12345678909", "MARIA SILVA");
        for (const char* id : {"11222333000181", "11222333000262", "12345678909"})
            linkCompany("C-1", "BR", id);
        insertProduct("LG", "M1", 0, "789001");
        insertProduct("LG ELECTRONICS", "M1", 0, "789002");
        insertProduct("SONY", "X9", 1, "789003");
        dm = std::make_unique<TDMCertif>(session,
                                         [this](bool askDate, const QDate&) -> std::optional<Justificativa> {
                                             asked.append(askDate);
                                             if (!justificativa)
                                                 return std::nullopt;
                                             return Justificativa{*justificativa, {}};
                                         });
    }

    void insertCertificate(const QString& num, const QDate& emissao = QDate(2015, 1, 5)) {
        Sql::execute(
            db,
            "INSERT INTO CERTIFIC (SiglaCertificador, NumCertif, StatusCertificado, IdClasseCertif, "
            "IdClasseProd, DataEmissao, DataValid, Completo, Aprovado, DthStatusCertificado, "
            "DthUltAtualiz, UsuResp) VALUES ('OCC1', :num, 'A', 'COMP', 110, :emissao, :valid, 0, 0, "
            ":emissao, :emissao, 'ana')",
            {{":num", num},
             {":emissao", Sql::dateValue(emissao)},
             {":valid", Sql::dateValue(emissao.addYears(2))}});
    }

    void insertCompany(const QString& pais, const QString& id, const QString& tipo, const QString& razao,
                       const QString& cgc, const QString& cpf, const QString& pessoa = {}) {
        Sql::execute(
            db,
            "INSERT INTO EMPRESA (CodigoPais, IdEmpresa, TipoPessoa, RazSocialEmp, CGC, CPF, "
            "NomPessoaFisica, DthUltAtualiz, UsuResp) VALUES (:p, :id, :t, :r, :cgc, :cpf, :nome, :dth, "
            "'ana')",
            {{":p", pais},
             {":id", id},
             {":t", tipo},
             {":r", razao.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(razao)},
             {":cgc", cgc.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(cgc)},
             {":cpf", cpf.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(cpf)},
             {":nome", pessoa.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(pessoa)},
             {":dth", clock.now()}});
    }

    void linkCompany(const QString& num, const QString& pais, const QString& id) {
        Sql::execute(
            db,
            "INSERT INTO EMP_CERT (SiglaCertificador, NumCertif, CodigoPais, IdEmpresa, StatusEmpresa, "
            "IdPapelEmp, DthUltAtualiz, UsuResp) VALUES ('OCC1', :num, :p, :id, 'A', 1, :dth, 'ana')",
            {{":num", num}, {":p", pais}, {":id", id}, {":dth", clock.now()}});
    }

    void insertProduct(const QString& marca, const QString& modelo, int importado, const QString& ean) {
        Sql::execute(
            db,
            "INSERT INTO PRODUTO (MarcaProd, ModeloProd, Importado, CodEANUPC, DthUltAtualiz, UsuResp) "
            "VALUES (:m, :mo, :i, :e, :dth, 'ana')",
            {{":m", marca}, {":mo", modelo}, {":i", importado}, {":e", ean}, {":dth", clock.now()}});
    }

    // An APR event an hour before the clock, with the flag set, as the approval leaves them.
    void approve(const QString& num) {
        Sql::execute(db, "UPDATE CERTIFIC SET Aprovado = 1 WHERE NumCertif = :num", {{":num", num}});
        EventRow row;
        row.key = {QStringLiteral("OCC1"), num};
        row.evento = "APR";
        row.status = "A";
        row.statusDate = clock.now().addSecs(-3600);
        row.dthUltAtualiz = clock.now().addSecs(-3600);
        row.usuResp = "ana";
        Eventos::insere(db, EventTable::STATUS_C, row);
    }

    void open(const QString& num = "C-1") { ASSERT_TRUE(dm->CarregaCertificado("OCC1", num)); }

    int count(const QString& sql) { return Sql::scalar(db, sql).toInt(); }
    QVariant value(const QString& sql) { return Sql::scalar(db, sql); }

    // Picks a product in the next "Seleciona Produto" that comes up.
    void pickProductInNextDialog(const QString& marca, const QString& modelo, int importado = 0) {
        onNextModal([=](QWidget* dialog) {
            ASSERT_NE(dialog, nullptr);
            auto* grid = dialog->findChild<QTableView*>("dbgProdutos");
            ASSERT_NE(grid, nullptr);
            auto* model = grid->model();
            for (int row = 0; row < model->rowCount(); ++row) {
                const QModelIndex first = model->index(row, 0);
                if (model->data(first).toString() == marca &&
                    model->data(model->index(row, 1)).toString() == modelo &&
                    (model->data(model->index(row, 2)).toString() == "Sim") == (importado == 1)) {
                    grid->setCurrentIndex(first);
                    break;
                }
            }
            clickOn(dialog, "btnOk");
        });
    }

    // Chooses the drop-down entry of a company by its key.
    static void chooseCompany(QWidget* tab, const QString& combo, const QString& pais, const QString& id) {
        auto* box = tab->findChild<QComboBox*>(combo);
        ASSERT_NE(box, nullptr);
        box->setCurrentIndex(box->findData(QVariantList{pais, id}));
        ASSERT_GE(box->currentIndex(), 0);
    }

    static void setDate(QWidget* tab, const QString& name, const QString& text) {
        auto* edit = tab->findChild<DateMaskEdit*>(name);
        ASSERT_NE(edit, nullptr);
        edit->setText(text);
    }

    // Selects the grid row whose product (and number) match.
    static bool selectRow(QWidget* tab, const QString& grid, const QString& marca,
                          const QString& numero = {}) {
        auto* view = tab->findChild<QTableView*>(grid);
        auto* model = view->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->data(model->index(row, 0)).toString() == marca &&
                (numero.isEmpty() || model->data(model->index(row, 5)).toString() == numero)) {
                view->setCurrentIndex(model->index(row, 0));
                return true;
            }
        }
        return false;
    }

    TestHome home;
    QSqlDatabase db;
    ManualClock clock;
    ScriptedPrompts prompts;
    Session session;
    QList<bool> asked;                               // one entry per justification asked
    std::optional<QString> justificativa = "Motivo"; // nothing: the user cancels
    std::unique_ptr<TDMCertif> dm;
};
