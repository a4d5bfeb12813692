#include "ServicesFixture.h"

#include "DateMaskEdit.h"
#include "Servicos.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QString CaptionDuplicada = "Erro de chave duplicada";

class ServicosTest : public ServicesFixture {
protected:
    template <typename T> T* find(const QString& name) {
        T* widget = tab()->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }

    QPushButton* button(const QString& name) { return find<QPushButton>(name); }

    // Answers "Seleciona Empresa Certificada" with the company of this name (or cancels it).
    void answerCompanyDialog(const QString& razaoSocial) {
        onNextModal([razaoSocial](QWidget* dialog) {
            ASSERT_NE(dialog, nullptr);
            ASSERT_EQ(dialog->windowTitle(), "Seleciona Empresa Certificada");
            if (razaoSocial.isEmpty()) {
                clickOn(dialog, "btnCancela");
                return;
            }
            auto* grid = dialog->findChild<QTableView*>("dbgEmpresas");
            ASSERT_NE(grid, nullptr);
            for (int r = 0; r < grid->model()->rowCount(); ++r) {
                for (int c = 0; c < grid->model()->columnCount(); ++c) {
                    if (grid->model()->index(r, c).data().toString() == razaoSocial) {
                        grid->setCurrentIndex(grid->model()->index(r, c));
                        clickOn(dialog, "btnOk");
                        return;
                    }
                }
            }
            ADD_FAILURE() << "company not listed: " << razaoSocial.toStdString();
            clickOn(dialog, "btnCancela");
        });
    }

    void chooseClass(const QString& name) {
        auto* combo = find<QComboBox>("cmbClasseServico");
        const int index = combo->findText(name);
        ASSERT_GE(index, 0) << name.toStdString();
        combo->setCurrentIndex(index);
    }

    void typeEntryDate(const QString& text) { ASSERT_TRUE(typeInto(tab(), "medDtEntServico", text)); }

    // "&Incluir", the company dialog, a class, an entry date, "Aplicar".
    void includeService(const QString& classe, const QString& empresa,
                        const QString& entrada = "10/11/2015") {
        answerCompanyDialog(empresa);
        clickOn(tab(), "btnIncluiServico");
        chooseClass(classe);
        typeEntryDate(entrada);
        clickOn(tab(), "btnAplicaServico");
    }

    int rowsInGrid() { return find<QTableView>("DBGridServicos")->model()->rowCount(); }

    // Selects the grid row of the service with this class name (and company, when given).
    void selectRow(const QString& className, const QString& empresa = {}) {
        auto* grid = find<QTableView>("DBGridServicos");
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            if (grid->model()->index(r, 5).data().toString() == className &&
                (empresa.isEmpty() || grid->model()->index(r, 6).data().toString() == empresa)) {
                grid->setCurrentIndex(grid->model()->index(r, 5));
                return;
            }
        ADD_FAILURE() << "no row " << className.toStdString();
    }

    int eventsOf(int classe, const QString& empresa, const QString& evento) {
        return count(
            "SELECT Count(*) FROM STATUS_S WHERE IdClasseServ = :c AND IdEmpresa = :e AND Evento = :ev",
            {{":c", classe}, {":e", empresa}, {":ev", evento}});
    }

    bool aprovado() { return value("SELECT Aprovado FROM CERTIFIC WHERE NumCertif = 'CERT-1'").toBool(); }
    bool completo() { return value("SELECT Completo FROM CERTIFIC WHERE NumCertif = 'CERT-1'").toBool(); }

    const QString extintores = "Inspeção técnica e manutenção de extintores";
    const QString instalacao = "Instalação de ar condicionado";
};

TEST_F(ServicosTest, InclusionIntoAnApprovedCertificateAsksWritesIncAndWithdrawsTheApproval) {
    insertCertificate();
    approve(QDateTime(QDate(2015, 6, 1), QTime(10, 0)));
    openServicesTab();
    ASSERT_TRUE(dm->DataUltimaAprovacao().isValid());

    justificativas = {"  Novo serviço prestado  "};
    includeService(extintores, "Extintores Alfa Ltda", "10/11/2015");

    EXPECT_EQ(perguntas, 1);
    EXPECT_FALSE(perguntouData);
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    QSqlQuery q = Sql::exec(db, "SELECT * FROM STATUS_S");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value("Evento").toString(), "INC");
    EXPECT_EQ(q.value("IdClasseServ").toInt(), 10);
    EXPECT_EQ(q.value("IdEmpresa").toString(), CnpjA);
    EXPECT_EQ(q.value("Justificativa").toString(), "Novo serviço prestado");
    EXPECT_EQ(q.value("HistoricoSis").toString(), "2");
    EXPECT_EQ(q.value("Status_S").toString(), "A");
    EXPECT_EQ(q.value("DthStatusServico").toDateTime(), QDateTime(QDate(2015, 11, 10), QTime(0, 0)));
    EXPECT_EQ(q.value("UsuResp").toString(), "joao");
    EXPECT_FALSE(q.next());

    q = Sql::exec(db, "SELECT * FROM SERVICO");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value("StatusServico").toString(), "A");
    EXPECT_EQ(q.value("DthEntCertif").toDateTime(), QDateTime(QDate(2015, 11, 10), QTime(0, 0)));
    EXPECT_EQ(q.value("DthStatusServico").toDateTime(), QDateTime(QDate(2015, 11, 10), QTime(0, 0)));
    EXPECT_EQ(q.value("DthUltAtualiz").toDateTime(), clock.now());
    EXPECT_EQ(q.value("UsuResp").toString(), "joao");
    EXPECT_FALSE(aprovado());
    EXPECT_FALSE(dm->registro().Aprovado);
    EXPECT_EQ(rowsInGrid(), 1);
    EXPECT_FALSE(button("btnAplicaServico")->isEnabled());
    EXPECT_TRUE(button("btnIncluiServico")->isEnabled());
    EXPECT_EQ(find<QLineEdit>("edtRazSocialServico")->text(), "Extintores Alfa Ltda");
    EXPECT_EQ(find<QLineEdit>("edtCNPJServico")->text(), "11.222.333/0001-81");
}

TEST_F(ServicosTest, CancelledJustificationLeavesEverythingAsItWas) {
    insertCertificate();
    approve(QDateTime(QDate(2015, 6, 1), QTime(10, 0)));
    openServicesTab();

    justificativas = {""}; // cancels
    includeService(extintores, "Extintores Alfa Ltda");

    EXPECT_EQ(perguntas, 1);
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(count("SELECT Count(*) FROM SERVICO"), 0);
    EXPECT_EQ(count("SELECT Count(*) FROM STATUS_S"), 0);
    EXPECT_TRUE(aprovado());
    EXPECT_EQ(rowsInGrid(), 0);
    EXPECT_FALSE(button("btnAplicaServico")->isEnabled());
}

TEST_F(ServicosTest, NeverApprovedInclusionUsesTheSystemJustificationAndAlterationWritesNoEvent) {
    insertCertificate();
    openServicesTab();
    // "&Incluir" proposes the emission date.
    answerCompanyDialog("Extintores Alfa Ltda");
    clickOn(tab(), "btnIncluiServico");
    EXPECT_EQ(find<DateMaskEdit>("medDtEntServico")->textoData(), "05/01/2015");
    chooseClass(extintores);
    clickOn(tab(), "btnAplicaServico");

    EXPECT_EQ(perguntas, 0);
    EXPECT_EQ(value("SELECT Justificativa FROM STATUS_S WHERE Evento = 'INC'").toString(),
              HistoricoGeradoPeloSistema);
    EXPECT_EQ(value("SELECT DthEntCertif FROM SERVICO").toDateTime(),
              QDateTime(QDate(2015, 1, 5), QTime(0, 0)));

    clickOn(tab(), "btnEditaServico");
    find<QPlainTextEdit>("memObsServico")->setPlainText("Atende filiais");
    typeEntryDate("20/01/2015");
    clickOn(tab(), "btnAplicaServico");
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(count("SELECT Count(*) FROM STATUS_S"), 1);
    EXPECT_EQ(value("SELECT Observacoes FROM SERVICO").toString(), "Atende filiais");
    // Never approved: the status date follows the entry date.
    EXPECT_EQ(value("SELECT DthStatusServico FROM SERVICO").toDateTime(),
              QDateTime(QDate(2015, 1, 20), QTime(0, 0)));
}

TEST_F(ServicosTest, AlterationOfAnApprovedCertificateWritesAltWithNowAndWithdrawsTheApproval) {
    insertCertificate();
    insertService(10, CnpjA, QDateTime(QDate(2015, 2, 1), QTime(9, 0)));
    approve(QDateTime(QDate(2015, 6, 1), QTime(10, 0)));
    openServicesTab();

    justificativas = {"Correção"};
    clickOn(tab(), "btnEditaServico");
    find<QPlainTextEdit>("memObsServico")->setPlainText("x");
    typeEntryDate("03/02/2015");
    clickOn(tab(), "btnAplicaServico");

    EXPECT_EQ(perguntas, 1);
    EXPECT_EQ(eventsOf(10, CnpjA, "ALT"), 1);
    EXPECT_EQ(value("SELECT DthStatusServico FROM STATUS_S WHERE Evento = 'ALT'").toDateTime(), clock.now());
    // Approved before: the line's status date is not the entry date.
    EXPECT_EQ(value("SELECT DthStatusServico FROM SERVICO").toDateTime(),
              QDateTime(QDate(2015, 2, 1), QTime(0, 0)));
    EXPECT_EQ(value("SELECT DthEntCertif FROM SERVICO").toDateTime(),
              QDateTime(QDate(2015, 2, 3), QTime(0, 0)));
    EXPECT_FALSE(aprovado());
}

TEST_F(ServicosTest, DuplicateServiceIsRefusedAndTheSameClassByAnotherCompanyIsAccepted) {
    insertCertificate();
    openServicesTab();
    includeService(extintores, "Extintores Alfa Ltda");
    ASSERT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();

    includeService(extintores, "Extintores Alfa Ltda");
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown().last().caption, CaptionDuplicada);
    EXPECT_EQ(prompts.lastText(), "Este serviço já existe !!!. Cancele a Operação.");
    EXPECT_TRUE(button("btnAplicaServico")->isEnabled()) << "stays in edit mode";
    EXPECT_EQ(count("SELECT Count(*) FROM SERVICO"), 1);
    clickOn(tab(), "btnCancelaServico");
    EXPECT_FALSE(button("btnAplicaServico")->isEnabled());

    prompts.clear();
    includeService(extintores, "Beta Instalações S.A.");
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(count("SELECT Count(*) FROM SERVICO WHERE IdClasseServ = 10"), 2);
    EXPECT_EQ(rowsInGrid(), 2);
}

TEST_F(ServicosTest, MissingFieldsAndBadEntryDatesAreRefused) {
    insertCertificate();
    openServicesTab();
    answerCompanyDialog(""); // the company dialog is cancelled
    clickOn(tab(), "btnIncluiServico");
    chooseClass(extintores);
    clickOn(tab(), "btnAplicaServico");
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown().last().caption, "Campos em branco");
    EXPECT_EQ(prompts.lastText(), "Existem campos obrigatórios em branco !!! Reveja a inclusão ou edição...");

    answerCompanyDialog("Extintores Alfa Ltda");
    clickOn(tab(), "btnSelEmpServico");
    for (const auto& [date, message] : std::vector<std::pair<QString, QString>>{
             {"04/01/2015", "A data de entrada é menor que a data de emissão do certificado."},
             {"26/11/2015", "A data de entrada é maior que a data atual."},
             {"31/02/2015", "Data inválida."}}) {
        prompts.clear();
        typeEntryDate(date);
        clickOn(tab(), "btnAplicaServico");
        EXPECT_EQ(prompts.lastText(), message) << date.toStdString();
    }
    EXPECT_EQ(count("SELECT Count(*) FROM SERVICO"), 0);
    EXPECT_TRUE(button("btnAplicaServico")->isEnabled());
}

TEST_F(ServicosTest, DeletionRemovesEventsAndDocumentLinksTogether) {
    insertCertificate();
    insertService(10, CnpjA, QDateTime(QDate(2015, 2, 1), QTime(9, 0)));
    insertService(20, CnpjB, QDateTime(QDate(2015, 2, 2), QTime(9, 0)));
    linkDocument(10, CnpjA, 2001);
    openServicesTab();
    selectRow(extintores);

    prompts.planAnswer(PromptAnswer::Yes);
    clickOn(tab(), "btnExcluiServico");
    EXPECT_EQ(prompts.lastText(), "Confirma a exclusão do serviço?");
    EXPECT_EQ(count("SELECT Count(*) FROM SERVICO WHERE IdClasseServ = 10"), 0);
    EXPECT_EQ(count("SELECT Count(*) FROM STATUS_S WHERE IdClasseServ = 10"), 0);
    EXPECT_EQ(count("SELECT Count(*) FROM DOC_NORM_SERV"), 0);
    EXPECT_EQ(count("SELECT Count(*) FROM STATUS_DNS"), 0);
    // The other line keeps its event.
    EXPECT_EQ(count("SELECT Count(*) FROM STATUS_S WHERE IdClasseServ = 20"), 1);
    EXPECT_EQ(rowsInGrid(), 1);
}

TEST_F(ServicosTest, AnsweringNaoOrAFailedDeletionLeavesEveryRow) {
    insertCertificate();
    insertService(10, CnpjA, QDateTime(QDate(2015, 2, 1), QTime(9, 0)));
    linkDocument(10, CnpjA, 2001);
    openServicesTab();

    prompts.planAnswer(PromptAnswer::No);
    clickOn(tab(), "btnExcluiServico");
    EXPECT_EQ(count("SELECT Count(*) FROM SERVICO"), 1);

    // The last statement fails: the events and links deleted before it come back.
    ASSERT_SQL(db,
               "CREATE TRIGGER falha BEFORE DELETE ON SERVICO BEGIN SELECT RAISE(ABORT, 'disco cheio'); END");
    prompts.clear();
    prompts.planAnswer(PromptAnswer::Yes);
    clickOn(tab(), "btnExcluiServico");
    ASSERT_EQ(prompts.shown().size(), 2);
    EXPECT_EQ(prompts.shown().last().caption, "Erro de gravação");
    EXPECT_EQ(prompts.lastText(),
              "Erro genérico de gravação no Banco de Dados !!! As alterações não foram efetuadas.");
    EXPECT_EQ(count("SELECT Count(*) FROM SERVICO"), 1);
    EXPECT_EQ(count("SELECT Count(*) FROM STATUS_S"), 1);
    EXPECT_EQ(count("SELECT Count(*) FROM DOC_NORM_SERV"), 1);
    EXPECT_EQ(count("SELECT Count(*) FROM STATUS_DNS"), 1);
    EXPECT_EQ(rowsInGrid(), 1);
}

TEST_F(ServicosTest, OnlyServicesIncludedAfterTheLastApprovalCanBeDeleted) {
    insertCertificate();
    insertService(10, CnpjA, QDateTime(QDate(2015, 2, 1), QTime(9, 0)));
    approve(QDateTime(QDate(2015, 6, 1), QTime(10, 0)));
    insertService(20, CnpjB, QDateTime(QDate(2015, 7, 1), QTime(9, 0)));
    openServicesTab();

    selectRow(extintores);
    clickOn(tab(), "btnExcluiServico");
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown().last().caption, "Erro de deleção");
    EXPECT_EQ(prompts.lastText(),
              "Este registro não pode ser apagado do certificado, pois já foi aprovado para "
              "emissão para o Kavorel.");
    EXPECT_EQ(count("SELECT Count(*) FROM SERVICO"), 2);

    prompts.clear();
    selectRow(instalacao);
    prompts.planAnswer(PromptAnswer::Yes);
    clickOn(tab(), "btnExcluiServico");
    EXPECT_EQ(prompts.lastText(), "Confirma a exclusão do serviço?");
    EXPECT_EQ(count("SELECT Count(*) FROM SERVICO"), 1);
    EXPECT_EQ(count("SELECT Count(*) FROM STATUS_S WHERE IdClasseServ = 20"), 0);
    EXPECT_FALSE(aprovado());
}

TEST_F(ServicosTest, ChangingTheCompanyCarriesEventsAndDocumentLinks) {
    insertCertificate();
    insertService(10, CnpjA, QDateTime(QDate(2015, 2, 1), QTime(9, 0)));
    linkDocument(10, CnpjA, 2001);
    approve(QDateTime(QDate(2015, 6, 1), QTime(10, 0)));
    openServicesTab();

    justificativas = {"Outra empresa presta o serviço"};
    clickOn(tab(), "btnEditaServico");
    answerCompanyDialog("Beta Instalações S.A.");
    clickOn(tab(), "btnSelEmpServico");
    clickOn(tab(), "btnAplicaServico");

    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(count("SELECT Count(*) FROM SERVICO WHERE IdEmpresa = :e", {{":e", CnpjB}}), 1);
    EXPECT_EQ(count("SELECT Count(*) FROM SERVICO WHERE IdEmpresa = :e", {{":e", CnpjA}}), 0);
    EXPECT_EQ(eventsOf(10, CnpjB, "INC"), 1);
    EXPECT_EQ(eventsOf(10, CnpjB, "ALT"), 1);
    EXPECT_EQ(count("SELECT Count(*) FROM STATUS_S WHERE IdEmpresa = :e", {{":e", CnpjA}}), 0);
    EXPECT_EQ(count("SELECT Count(*) FROM DOC_NORM_SERV WHERE IdEmpresa = :e", {{":e", CnpjB}}), 1);
    EXPECT_EQ(count("SELECT Count(*) FROM STATUS_DNS WHERE IdEmpresa = :e", {{":e", CnpjB}}), 1);
    EXPECT_EQ(count("SELECT Count(*) FROM DOC_NORM_SERV WHERE IdEmpresa = :e", {{":e", CnpjA}}), 0);
    EXPECT_EQ(find<QLineEdit>("edtRazSocialServico")->text(), "Beta Instalações S.A.");
}

TEST_F(ServicosTest, ChangingTheClassCarriesEventsButNotDocumentsOfTheOldClass) {
    insertCertificate();
    insertService(10, CnpjA, QDateTime(QDate(2015, 2, 1), QTime(9, 0)));
    insertService(10, CnpjB, QDateTime(QDate(2015, 2, 1), QTime(9, 0)));
    linkDocument(10, CnpjB, 2001);
    openServicesTab();

    // A document names its class: the linked line cannot move to another class.
    selectRow(extintores, "Beta Instalações S.A.");
    clickOn(tab(), "btnEditaServico");
    chooseClass(instalacao);
    clickOn(tab(), "btnAplicaServico");
    EXPECT_EQ(prompts.lastText(), EditorServicos::ClasseComDocumentos);
    EXPECT_TRUE(button("btnAplicaServico")->isEnabled());
    clickOn(tab(), "btnCancelaServico");
    EXPECT_EQ(
        count("SELECT Count(*) FROM SERVICO WHERE IdClasseServ = 10 AND IdEmpresa = :e", {{":e", CnpjB}}), 1);
    EXPECT_EQ(count("SELECT Count(*) FROM DOC_NORM_SERV WHERE IdClasseServ = 10"), 1);
    EXPECT_EQ(eventsOf(10, CnpjB, "INC"), 1);

    // Without links the events follow the new class.
    prompts.clear();
    selectRow(extintores, "Extintores Alfa Ltda");
    clickOn(tab(), "btnEditaServico");
    chooseClass(instalacao);
    clickOn(tab(), "btnAplicaServico");
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(
        count("SELECT Count(*) FROM SERVICO WHERE IdClasseServ = 20 AND IdEmpresa = :e", {{":e", CnpjA}}), 1);
    EXPECT_EQ(eventsOf(20, CnpjA, "INC"), 1);
    EXPECT_EQ(eventsOf(10, CnpjA, "INC"), 0);
}

TEST_F(ServicosTest, CompletoFollowsEveryServiceOperation) {
    insertCertificate();
    // A normative document makes the certificate referenced, so only its lines decide.
    Sql::execute(db, "INSERT INTO DOC_NORM_CERT_SERVICO (SiglaCertificador, NumCertif, IdClasseCertif, "
                     "IdClasseServ, IdDocNorm) VALUES ('OCC1', 'CERT-1', 'VOL', 1, 1)");
    openServicesTab();
    ASSERT_FALSE(completo());

    includeService(extintores, "Extintores Alfa Ltda");
    EXPECT_TRUE(completo());
    EXPECT_TRUE(dm->registro().Completo);

    clickOn(tab(), "btnEditaServico");
    chooseClass(instalacao);
    clickOn(tab(), "btnAplicaServico");
    EXPECT_TRUE(completo());

    prompts.planAnswer(PromptAnswer::Yes);
    clickOn(tab(), "btnExcluiServico");
    EXPECT_EQ(count("SELECT Count(*) FROM SERVICO"), 0);
    EXPECT_FALSE(completo());
    EXPECT_FALSE(dm->registro().Completo);
}

TEST_F(ServicosTest, TheTabCannotBeLeftWithAnUnappliedLine) {
    insertCertificate();
    openServicesTab();
    answerCompanyDialog("Extintores Alfa Ltda");
    clickOn(tab(), "btnIncluiServico");

    QTabWidget* abas = form->panelModifica()->abas();
    abas->setCurrentIndex(0);
    EXPECT_EQ(abas->currentWidget(), form->panelModifica()->aba("TabModificaServico"));
    EXPECT_EQ(prompts.lastText(),
              "Existem inclusões ou alterações não Aplicadas no painel de Serviços. Pressione o "
              "botão Aplicar ou Cancelar antes de mudar de painel.");

    clickOn(tab(), "btnCancelaServico");
    abas->setCurrentIndex(0);
    EXPECT_EQ(abas->currentIndex(), 0);
}

TEST_F(ServicosTest, StatusButtonsChangeTheStatusWithTheTypedDateAndWithdrawTheApproval) {
    insertCertificate();
    insertService(10, CnpjA, QDateTime(QDate(2015, 2, 1), QTime(9, 0)));
    approve(QDateTime(QDate(2015, 6, 1), QTime(10, 0)));
    openServicesTab();
    EXPECT_FALSE(button("sbAtivServ")->isVisibleTo(tab()));
    EXPECT_TRUE(button("sbSuspServ")->isVisibleTo(tab()));

    justificativas = {"Suspenso pela auditoria"};
    button("sbSuspServ")->click();
    EXPECT_TRUE(perguntouData);
    EXPECT_EQ(value("SELECT StatusServico FROM SERVICO").toString(), "S");
    EXPECT_EQ(value("SELECT DthStatusServico FROM SERVICO").toDateTime(), QDateTime(dataStatus, QTime(0, 0)));
    EXPECT_EQ(eventsOf(10, CnpjA, "SUS"), 1);
    EXPECT_FALSE(aprovado());
    EXPECT_TRUE(button("sbAtivServ")->isVisibleTo(tab()));
    EXPECT_FALSE(button("sbSuspServ")->isVisibleTo(tab()));

    // Cancelled: nothing changes.
    justificativas = {""};
    button("sbCancServ")->click();
    EXPECT_EQ(value("SELECT StatusServico FROM SERVICO").toString(), "S");
    EXPECT_EQ(count("SELECT Count(*) FROM STATUS_S"), 2);
}

} // namespace
