#pragma once

#include "Clock.h"
#include "Database.h"
#include "Eventos.h"
#include "InstalaServicos.h"
#include "Modal.h"
#include "PanelModificaCertificado.h"
#include "SampleReference.h"
#include "ScriptedPrompts.h"
#include "Session.h"
#include "SlotPanel.h"
#include "Sql.h"
#include "TDMCertif.h"
#include "TFormPrincipal.h"
#include "TestHome.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>
#include <gtest/gtest.h>
#include <memory>

// The registry screen with the services tab and the signatories panel installed, over a fresh
// database with the sample reference data (certifier OCC1, accredited for the service classes 10
// and 20), two legal persons and one natural person, and the clock at 25/11/2015 14:03:59.250.
// Justifications are answered from `justificativas` (an empty entry cancels) and counted.
class ServicesFixture : public ::testing::Test {
protected:
    static constexpr const char* CnpjA = "11222333000181";
    static constexpr const char* CnpjB = "45997418000153";

    ServicesFixture()
        : db(home.openDatabase()), clock(QDateTime(QDate(2015, 11, 25), QTime(14, 3, 59, 250))),
          session(Database::ConnectionName, clock, prompts) {
        session.setUser(LoggedUser{QStringLiteral("joao"), QStringLiteral("OCC1"), Permissions::all()});
        loadSampleReference(db, QStringLiteral("OCC1"));
        Sql::execute(
            db,
            "INSERT INTO CONFIG_LOCAL (SiglaCertificador, NomeOCC) VALUES ('OCC1', 'Organismo de Teste')");
        Sql::execute(db, "INSERT INTO CREDENCIAMENTO_SERV (SiglaCertificador, IdClasseCertif, IdClasseServ) "
                         "VALUES ('OCC1', 'SERV', 20)");
        insertCompany(CnpjA, "1", "Extintores Alfa Ltda");
        insertCompany(CnpjB, "1", "Beta Instalações S.A.");
        insertCompany("12345678909", "2", "Carla Pessoa");
        asker = [this](bool askDate, const QDate&) -> std::optional<Justificativa> {
            ++perguntas;
            perguntouData = askDate;
            const QString text = justificativas.isEmpty() ? QString() : justificativas.takeFirst();
            if (text.isEmpty())
                return std::nullopt;
            return Justificativa{text, dataStatus};
        };
        dm = std::make_unique<TDMCertif>(session, asker);
    }

    void insertCompany(const QString& id, const QString& tipo, const QString& nome) {
        Sql::execute(
            db,
            "INSERT INTO EMPRESA (CodigoPais, IdEmpresa, CGC, RazSocialEmp, NomPessoaFisica, CPF, "
            "TipoPessoa, "
            "DthUltAtualiz, UsuResp) VALUES ('BR', :id, :cgc, :razao, :pf, :cpf, :tipo, :dth, 'ana')",
            {{":id", id},
             {":cgc", tipo == "1" ? QVariant(id) : QVariant(QMetaType(QMetaType::QString))},
             {":razao", tipo == "1" ? QVariant(nome) : QVariant(QMetaType(QMetaType::QString))},
             {":pf", tipo == "2" ? QVariant(nome) : QVariant(QMetaType(QMetaType::QString))},
             {":cpf", tipo == "2" ? QVariant(id) : QVariant(QMetaType(QMetaType::QString))},
             {":tipo", tipo},
             {":dth", clock.now()}});
    }

    // A certificate of services issued on 05/01/2015, linked to both legal persons and the person.
    void insertCertificate(const QString& num = "CERT-1") {
        Sql::execute(
            db,
            "INSERT INTO CERTIFIC (SiglaCertificador, NumCertif, StatusCertificado, IdClasseCertif, "
            "IdClasseProd, DataEmissao, DataValid, Completo, Aprovado, DthStatusCertificado, DthUltAtualiz, "
            "UsuResp) VALUES ('OCC1', :num, 'A', 'SERV', 110, :emissao, :validade, 0, 0, :emissao, "
            ":emissao, 'ana')",
            {{":num", num},
             {":emissao", Sql::dateValue(QDate(2015, 1, 5))},
             {":validade", Sql::dateValue(QDate(2018, 1, 5))}});
        for (const QString& id : {QString(CnpjA), QString(CnpjB), QStringLiteral("12345678909")})
            Sql::execute(
                db,
                "INSERT INTO EMP_CERT (SiglaCertificador, NumCertif, CodigoPais, IdEmpresa, StatusEmpresa, "
                "IdPapelEmp, DthUltAtualiz, UsuResp) VALUES ('OCC1', :num, 'BR', :id, 'A', 4, :dth, 'ana')",
                {{":num", num}, {":id", id}, {":dth", clock.now()}});
    }

    // An APR event of the certificate at `when`, and its flag set, as the approval leaves them.
    void approve(const QDateTime& when, const QString& num = "CERT-1") {
        EventRow row;
        row.key = {"OCC1", num};
        row.evento = "APR";
        row.status = "A";
        row.statusDate = when;
        row.dthUltAtualiz = when;
        row.usuResp = "ana";
        Eventos::insere(db, EventTable::STATUS_C, row);
        Sql::execute(db, "UPDATE CERTIFIC SET Aprovado = 1 WHERE NumCertif = :num", {{":num", num}});
    }

    // A stored service line with its INC event at `when`.
    void insertService(int classe, const QString& empresa, const QDateTime& when,
                       const QString& num = "CERT-1") {
        Sql::execute(
            db,
            "INSERT INTO SERVICO (IdClasseServ, NumCertif, SiglaCertificador, CodigoPais, IdEmpresa, "
            "StatusServico, DthUltAtualiz, UsuResp, DthEntCertif, DthStatusServico) VALUES (:classe, :num, "
            "'OCC1', 'BR', :empresa, 'A', :when, 'ana', :entrada, :entrada)",
            {{":classe", classe},
             {":num", num},
             {":empresa", empresa},
             {":when", when},
             {":entrada", Sql::dateValue(when.date())}});
        EventRow row;
        row.key = {classe, "OCC1", num, "BR", empresa};
        row.evento = "INC";
        row.justificativa = HistoricoGeradoPeloSistema;
        row.status = "A";
        row.statusDate = Sql::dateValue(when.date());
        row.dthUltAtualiz = when;
        row.usuResp = "ana";
        Eventos::insere(db, EventTable::STATUS_S, row);
    }

    // A normative-document link of the service, with its INC event.
    void linkDocument(int classe, const QString& empresa, int idDoc, const QString& num = "CERT-1") {
        Sql::execute(
            db,
            "INSERT INTO DOC_NORM_SERV (SiglaCertificador, NumCertif, IdClasseCertif, IdClasseServ, "
            "IdDocNorm, "
            "IdEmpresa, CodigoPais, DthEntDNS, Status_DNS, DthStatusDNS, DthUltAtualiz, UsuResp) VALUES "
            "('OCC1', :num, 'SERV', :classe, :doc, :empresa, 'BR', :dth, 'A', :dth, :dth, 'ana')",
            {{":num", num},
             {":classe", classe},
             {":doc", idDoc},
             {":empresa", empresa},
             {":dth", clock.now()}});
        EventRow row;
        row.key = {idDoc, "SERV", classe, "OCC1", num, "BR", empresa};
        row.evento = "INC";
        row.justificativa = HistoricoGeradoPeloSistema;
        row.status = "A";
        row.statusDate = clock.now();
        row.dthUltAtualiz = clock.now();
        row.usuResp = "ana";
        Eventos::insere(db, EventTable::STATUS_DNS, row);
    }

    // The screen, open on the certificate's "Serviços" tab.
    void openServicesTab(const QString& num = "CERT-1") {
        form = std::make_unique<TFormPrincipal>(*dm);
        instalaServicos(*form);
        // The screen installs the justification dialog; the tests answer in its place.
        dm->setJustificationAsker(asker);
        form->show();
        form->MostraPainel("ModificaCertificado");
        ASSERT_TRUE(dm->CarregaCertificado("OCC1", num));
        form->panelModifica()->mostraCertificado();
        form->panelModifica()->abas()->setCurrentWidget(form->panelModifica()->aba("TabModificaServico"));
        ASSERT_EQ(form->panelModifica()->abas()->currentWidget(),
                  form->panelModifica()->aba("TabModificaServico"));
    }

    QWidget* tab() const { return form->panelModifica()->aba("TabModificaServico")->content(); }

    int count(const QString& sql, Sql::Params params = {}) { return Sql::scalar(db, sql, params).toInt(); }
    QVariant value(const QString& sql, Sql::Params params = {}) { return Sql::scalar(db, sql, params); }

    TestHome home;
    QSqlDatabase db;
    ManualClock clock;
    ScriptedPrompts prompts;
    Session session;
    JustificationAsker asker;
    std::unique_ptr<TDMCertif> dm;
    std::unique_ptr<TFormPrincipal> form;
    QStringList justificativas;
    QDate dataStatus = QDate(2015, 11, 20);
    int perguntas = 0;
    bool perguntouData = false;
};
