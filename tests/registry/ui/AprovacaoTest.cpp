#include "Aprovacao.h"
#include "AprovaCertificadosPage.h"
#include "EventsFixture.h"
#include "Modal.h"

#include <QGroupBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

class AprovacaoTest : public EventsFixture {
protected:
    AprovacaoTest() : page(session), done(&page, &AprovaCertificadosPage::finished) {
        page.resize(600, 400);
        page.show();
    }

    QTableView* grid() { return page.findChild<QTableView*>("DBGrid24"); }

    // The certificate numbers the grid lists, in order.
    QStringList listed() {
        QStringList numbers;
        for (int row = 0; row < grid()->model()->rowCount(); ++row)
            numbers << grid()->model()->index(row, 1).data().toString();
        return numbers;
    }

    // Ctrl+click on the row of a certificate, as a user picks several rows.
    void pick(const QString& num) {
        const int row = int(listed().indexOf(num));
        ASSERT_GE(row, 0) << num.toStdString();
        const QRect cell = grid()->visualRect(grid()->model()->index(row, 0));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::ControlModifier, cell.center());
    }

    void approve() { ASSERT_TRUE(clickOn(&page, "BitBtn9")); }

    QStringList aprEvents() {
        QStringList events;
        for (const QSqlRecord& r : rows("SELECT NumCertif || ':' || SeqEvento FROM STATUS_C "
                                        "WHERE Evento = 'APR' ORDER BY SeqEvento"))
            events << r.value(0).toString();
        return events;
    }

    AprovaCertificadosPage page;
    QSignalSpy done;
};

TEST_F(AprovacaoTest, ListaSoCompletosNaoAprovados) {
    insertCertificate("C1", true, false);
    insertCertificate("C2", false, false);
    insertCertificate("C3", false, true);
    insertCertificate("C4", true, true);
    insertCertificate("C5", true, false);
    page.open();
    EXPECT_EQ(listed(), QStringList({"C1", "C5"}));
    EXPECT_EQ(grid()->model()->headerData(0, Qt::Horizontal).toString(), "Sigla do Certificador");
    EXPECT_EQ(grid()->model()->headerData(1, Qt::Horizontal).toString(), "Número do Certificado");
    EXPECT_FALSE(grid()->isColumnHidden(1));
    EXPECT_TRUE(grid()->isColumnHidden(2));
    EXPECT_TRUE(grid()->isColumnHidden(3));
    EXPECT_EQ(grid()->selectionBehavior(), QAbstractItemView::SelectRows);

    QStringList logic;
    for (const Aprovacao::Candidato& c : Aprovacao::candidatos(db))
        logic << c.NumCertif;
    EXPECT_EQ(logic, listed());
}

TEST_F(AprovacaoTest, DoisSelecionadosGanhamAPRConsecutivosESaemDaLista) {
    insertCertificate("C1", true, false, "S");
    insertCertificate("C2", true, false, "A");
    insertCertificate("C3", true, false, "C");
    // Events of other certificates are already there: numbering goes on from them.
    Eventos::insere(db, EventTable::STATUS_C, event({"OCC1", "C0"}, "INC", clock.now().addDays(-3)));
    Eventos::insere(db, EventTable::STATUS_C, event({"OCC1", "C3"}, "INC", clock.now().addDays(-2)));
    page.open();
    pick("C1");
    pick("C3");
    approve();

    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_EQ(aprEvents(), QStringList({"C1:3", "C3:4"}));
    EXPECT_EQ(listed(), QStringList({"C2"}));
    EXPECT_TRUE(grid()->selectionModel()->selectedRows().isEmpty());
    EXPECT_EQ(count("SELECT count(*) FROM CERTIFIC WHERE Aprovado = True"), 2);
    EXPECT_EQ(count("SELECT Aprovado FROM CERTIFIC WHERE NumCertif = 'C2'"), 0);

    // The event carries the unchanged status and the system's justification.
    const QList<QSqlRecord> c1 = rows("SELECT * FROM STATUS_C WHERE Evento = 'APR' AND NumCertif = 'C1'");
    ASSERT_EQ(c1.size(), 1);
    EXPECT_EQ(c1[0].value("SiglaCertificador").toString(), "OCC1");
    EXPECT_EQ(c1[0].value("StatusCertificado").toString(), "S");
    EXPECT_EQ(c1[0].value("Justificativa").toString(), "Historico gerado pelo sistema");
    EXPECT_EQ(c1[0].value("HistoricoSis").toString(), "2");
    EXPECT_EQ(c1[0].value("DthStatusCertificado").toString(), "2015-11-25T14:03:59.250");
    EXPECT_EQ(c1[0].value("DthUltAtualiz").toString(), "2015-11-25T14:03:59.250");
    EXPECT_EQ(c1[0].value("UsuResp").toString(), "joao");
    EXPECT_EQ(count("SELECT count(*) FROM STATUS_C WHERE NumCertif = 'C3' AND StatusCertificado = 'C' "
                    "AND Evento = 'APR'"),
              1);
    // The certificate's own status date stays.
    EXPECT_EQ(Sql::scalar(db, "SELECT DthStatusCertificado FROM CERTIFIC WHERE NumCertif = 'C1'").toString(),
              "2015-01-05T00:00:00.000");
}

TEST_F(AprovacaoTest, FalhaNoSegundoEventoDesfazTudoEAvisa) {
    insertCertificate("C1", true, false);
    insertCertificate("C2", true, false);
    ASSERT_SQL(db, "CREATE TRIGGER falha_c2 BEFORE INSERT ON STATUS_C WHEN NEW.NumCertif = 'C2' "
                   "BEGIN SELECT RAISE(ABORT, 'falha forçada'); END");
    page.open();
    pick("C1");
    pick("C2");
    approve();

    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Error);
    EXPECT_EQ(prompts.shown()[0].caption, "Erro");
    EXPECT_EQ(prompts.shown()[0].text,
              "Erro na aprovação de certificados !!! As alterações não foram efetuadas.");
    EXPECT_EQ(count("SELECT count(*) FROM CERTIFIC WHERE Aprovado = True"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM STATUS_C"), 0);
    EXPECT_EQ(listed(), QStringList({"C1", "C2"}));
    EXPECT_TRUE(grid()->selectionModel()->selectedRows().isEmpty());
    EXPECT_FALSE(Database::inTransaction(db));
}

TEST_F(AprovacaoTest, NadaSelecionadoNadaMuda) {
    insertCertificate("C1", true, false);
    page.open();
    approve();
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_EQ(count("SELECT count(*) FROM STATUS_C"), 0);
    EXPECT_EQ(count("SELECT Aprovado FROM CERTIFIC"), 0);
    EXPECT_EQ(listed(), QStringList({"C1"}));
}

TEST_F(AprovacaoTest, AprovadoEDepoisAlteradoVoltaAListaEGanhaSegundoAPR) {
    insertCertificate("C1", true, false);
    page.open();
    pick("C1");
    approve();
    EXPECT_TRUE(listed().isEmpty());

    // A change in the registry withdraws the approval.
    ASSERT_SQL(db, "UPDATE CERTIFIC SET Aprovado = 0 WHERE NumCertif = 'C1'");
    clock.advanceSeconds(3600);
    page.open();
    EXPECT_EQ(listed(), QStringList({"C1"}));
    pick("C1");
    approve();
    EXPECT_EQ(aprEvents(), QStringList({"C1:1", "C1:2"}));
    EXPECT_EQ(Eventos::ultimaAprovacao(db, "OCC1", "C1"), clock.now());
}

TEST_F(AprovacaoTest, CertificadoQueSumiuNaoGanhaEvento) {
    insertCertificate("C1", true, false);
    insertCertificate("C2", true, false);
    const QList<Aprovacao::Candidato> candidatos = Aprovacao::candidatos(db);
    ASSERT_SQL(db, "DELETE FROM CERTIFIC WHERE NumCertif = 'C2'");
    EXPECT_THROW(Aprovacao::aprova(db, candidatos, "joao", clock.now()), DbError);
    EXPECT_EQ(count("SELECT count(*) FROM STATUS_C"), 0);
    EXPECT_EQ(count("SELECT Aprovado FROM CERTIFIC WHERE NumCertif = 'C1'"), 0);
}

TEST_F(AprovacaoTest, SaidaVoltaAPaginaPrincipal) {
    ASSERT_TRUE(clickOn(&page, "BitBtn17"));
    EXPECT_EQ(done.count(), 1);
    auto* saida = page.findChild<QPushButton*>("BitBtn17");
    EXPECT_EQ(saida->text(), "&Saida");
    EXPECT_EQ(page.findChild<QPushButton*>("BitBtn9")->text(), "Aprova Certificado");
    EXPECT_TRUE(page.findChild<QPushButton*>("BitBtn9")->isDefault());
    EXPECT_EQ(page.findChild<QGroupBox*>()->title(), "Aprovação de Certificados");
}
