#include "ExchangeFixture.h"

#include <QFileInfo>

namespace {

using Buttons = BatchButtons;

struct ButtonCase {
    const char* name;
    bool hasSelection;
    const char* ultima;
    const char* evento;
    bool semEventos;
    Buttons expected;
};

class ButtonTable : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(ButtonTable, EnablesExactlyTheOperationsTheStateAllows) {
    const ButtonCase c = GetParam();
    std::optional<BatchListRow> selected;
    if (c.hasSelection)
        selected =
            BatchListRow{"2024030501", "", QString::fromUtf8(c.evento), QString::fromUtf8(c.ultima), "C"};
    EXPECT_EQ(botoesParaRemessa(selected, c.semEventos), c.expected);
}

// Prepara, Transfere, Recebe, Cancela.
INSTANTIATE_TEST_SUITE_P(
    Cases, ButtonTable,
    ::testing::Values(ButtonCase{"OlderBatch", true, "", "PR", false, {false, false, false, false}},
                      ButtonCase{"OlderFinished", true, "", "OK", false, {false, false, false, false}},
                      ButtonCase{"LatestPrepared", true, "S", "PR", false, {false, true, false, true}},
                      ButtonCase{"LatestDelivered", true, "S", "TR", false, {false, false, true, false}},
                      ButtonCase{"LatestAccepted", true, "S", "OK", false, {true, false, false, false}},
                      ButtonCase{"LatestRejected", true, "S", "NO", false, {true, false, false, false}},
                      ButtonCase{"LatestOtherCode", true, "S", "XX", false, {true, false, false, false}},
                      ButtonCase{"EmptyList", false, "", "", true, {true, false, false, false}},
                      ButtonCase{"PreparedWithoutEvents", true, "S", "PR", true, {true, true, false, false}}),
    [](const auto& info) { return std::string(info.param.name); });

struct NumberCase {
    const char* name;
    const char* anterior;
    const char* numero; // empty: refused
    bool aviso = false; // the clock looks wrong
};

class NextNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NextNumber, FollowsThePreviousOne) {
    const NumberCase c = GetParam();
    const NumeroRemessa::Proximo next =
        NumeroRemessa::proximo(QString::fromUtf8(c.anterior), QDate(2024, 3, 5));
    EXPECT_EQ(next.numero, QString::fromUtf8(c.numero));
    EXPECT_EQ(next.problema.isEmpty(), *c.numero != 0) << next.problema;
    EXPECT_EQ(next.aviso.isEmpty(), !c.aviso) << next.aviso;
    if (c.aviso) {
        EXPECT_TRUE(next.aviso.contains("05/03/2024")) << next.aviso;
        EXPECT_TRUE(next.aviso.contains(QString::fromUtf8(c.numero))) << next.aviso;
        EXPECT_TRUE(next.aviso.contains("relógio")) << next.aviso;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NextNumber,
    ::testing::Values(NumberCase{"None", "0000000000", "2024030501"},
                      NumberCase{"SameDay", "2024030501", "2024030502"},
                      NumberCase{"NineToTen", "2024030509", "2024030510"},
                      NumberCase{"TenToEleven", "2024030510", "2024030511"},
                      NumberCase{"EarlierDate", "2024030437", "2024030501"},
                      NumberCase{"NinetyNinthIsLast", "2024030598", "2024030599"},
                      NumberCase{"HundredthRefused", "2024030599", ""},
                      // A batch prepared with the clock set ahead: the
                      // numbering goes on after it, never back.
                      NumberCase{"FromTheFutureContinues", "2024030601", "2024030602", true},
                      NumberCase{"FromTheFutureNextDate", "2025123199", "2026010101", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BatchTexts, EventsStatusesAndArchiveNames) {
    EXPECT_EQ(BatchEvents::descricao("PR"), "Remessa Preparada");
    EXPECT_EQ(BatchEvents::descricao("TR"), "Enviada para o Kavorel");
    EXPECT_EQ(BatchEvents::descricao("OK"), "Finalizada - OK");
    EXPECT_EQ(BatchEvents::descricao("NO"), "Finalizada - Erro");
    EXPECT_EQ(BatchEvents::descricao("ZZ"), "");
    EXPECT_EQ(BatchEvents::status("PR"), "Aguardando Transferência");
    EXPECT_EQ(BatchEvents::status("TR"), "Aguardando Resultado");
    EXPECT_EQ(BatchEvents::status("OK"), "Finalizada");
    EXPECT_EQ(BatchEvents::status("NO"), "Finalizada");
    EXPECT_EQ(BatchTypes::nomeArquivo("C", "ABC", "2024030502"), "OC-ABC2024030502.zip");
    EXPECT_EQ(BatchTypes::nomeArquivo("T", "ABC", "2024030502"), "OT-ABC2024030502.zip");
    EXPECT_EQ(BatchTypes::nomeArquivo("X", "ABC", "2024030502"), "");
    EXPECT_EQ(BatchTypes::nomeArquivo("", "ABC", "2024030502"), "");
}

class Controle : public ExchangeFixture {
protected:
    BatchControl control{session, state};
};

TEST_F(Controle, AnEmptyRegisterAllowsOnlyAPreparationFromZero) {
    EXPECT_TRUE(control.atualizaListaRemessas().isEmpty());
    EXPECT_EQ(control.botoes(std::nullopt), (Buttons{true, false, false, false}));
    EXPECT_EQ(control.numeroAnterior(), "0000000000");
}

TEST_F(Controle, TheListHasOneRowPerBatchNewestFirst) {
    evento("2024030101", "PR", "C", 5000);
    evento("2024030101", "TR", "C", 4000);
    evento("2024030101", "OK", "C", 3000);
    evento("2024030401", "PR", "T", 2000);
    evento("2024030401", "NO", "T", 1000);
    evento("2024030501", "PR", "", 10);
    const QList<BatchListRow> rows = control.atualizaListaRemessas();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], (BatchListRow{"2024030501", "Aguardando Transferência", "PR", "S", ""}));
    EXPECT_EQ(rows[1], (BatchListRow{"2024030401", "Finalizada", "NO", "", "T"}));
    EXPECT_EQ(rows[2], (BatchListRow{"2024030101", "Finalizada", "OK", "", "C"}));
    EXPECT_TRUE(
        Sql::scalar(db, "SELECT TipoRemessa FROM Controle_Temp WHERE NumeroRemessa = '2024030501'").isNull());
    // Rebuilt, not appended to.
    EXPECT_EQ(control.atualizaListaRemessas().size(), 3);
    EXPECT_EQ(control.listaRemessas(), rows);
    EXPECT_EQ(control.numeroAnterior(), "2024030501");

    const QList<BatchEventRow> events = control.eventos("2024030101");
    ASSERT_EQ(events.size(), 3);
    EXPECT_EQ(events[0].Evento, "OK");
    EXPECT_EQ(events[0].DscEvento, "Finalizada - OK");
    EXPECT_EQ(events[2].DscEvento, "Remessa Preparada");
    EXPECT_EQ(events[0].Usuario, "ana");

    EXPECT_EQ(control.botoes(rows[0]), (Buttons{false, true, false, true}));
    EXPECT_EQ(control.botoes(rows[1]), (Buttons{false, false, false, false}));
}

TEST_F(Controle, CancellingThePreparedBatchFinishesItAndDeletesItsArchives) {
    evento("2024030501", "PR", "C", 10);
    const BatchListRow latest = control.atualizaListaRemessas().first();
    for (const char* name : {"OC-OCC2024030501.zip", "OT-OCC2024030501.zip", "OC-OCC2024030401.zip"}) {
        QFile file(transf() + QString::fromUtf8(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    // Declined: nothing happens.
    EXPECT_FALSE(control.cancelaRemessa(latest, false).done);
    EXPECT_EQ(control.eventos("2024030501").size(), 1);

    ASSERT_TRUE(control.cancelaRemessa(latest, true).done);
    const QList<BatchEventRow> events = control.eventos("2024030501");
    ASSERT_EQ(events.size(), 2);
    EXPECT_EQ(events[0].Evento, "NO");
    EXPECT_EQ(events[0].DscEvento, "Finalizada - Erro");
    EXPECT_EQ(events[0].Obs, "Remessa Cancelada pelo Usuário");
    EXPECT_EQ(events[0].Usuario, "maria");
    EXPECT_EQ(transferFiles(), QStringList{"OC-OCC2024030401.zip"});
    const QList<BatchListRow> rows = control.listaRemessas();
    EXPECT_EQ(rows[0].Status, "Finalizada");
    EXPECT_EQ(control.botoes(rows[0]), (Buttons{true, false, false, false}));
    EXPECT_EQ(state.NumeroRemessa, "2024030501");
}

TEST_F(Controle, OnlyThePreparedLatestBatchCanBeCancelled) {
    evento("2024030401", "PR", "C", 100);
    evento("2024030401", "TR", "C", 90);
    evento("2024030501", "PR", "C", 10);
    evento("2024030501", "TR", "C", 5);
    const QList<BatchListRow> rows = control.atualizaListaRemessas();
    for (const BatchListRow& row : rows) {
        const BatchControl::Outcome outcome = control.cancelaRemessa(row, true);
        EXPECT_FALSE(outcome.done);
        EXPECT_FALSE(outcome.message.isEmpty());
    }
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM CONTROLE").toInt(), 4);
}

TEST_F(Controle, ClearingWhileABatchIsInProgressKeepsOnlyThatBatch) {
    evento("2024030401", "PR", "C", 100);
    evento("2024030401", "OK", "C", 90);
    evento("2024030501", "PR", "C", 10);
    evento("2024030501", "TR", "C", 5);
    const BatchListRow latest = control.atualizaListaRemessas().first();
    EXPECT_FALSE(control.limpaHistorico(latest, false).done);
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM CONTROLE").toInt(), 4);

    ASSERT_TRUE(control.limpaHistorico(latest, true).done);
    EXPECT_EQ(Sql::scalar(db, "SELECT count(DISTINCT NumeroRemessa) FROM CONTROLE").toString(), "1");
    EXPECT_EQ(control.eventos("2024030501").size(), 2);
    EXPECT_EQ(control.listaRemessas().size(), 1);
}

TEST_F(Controle, ClearingWithAnOlderBatchSelectedStillKeepsTheBatchInProgress) {
    evento("2024030401", "PR", "C", 100);
    evento("2024030401", "OK", "C", 90);
    evento("2024030501", "PR", "C", 10);
    const QList<BatchListRow> rows = control.atualizaListaRemessas();
    ASSERT_EQ(rows.size(), 2);
    ASSERT_TRUE(control.limpaHistorico(rows[1], true).done);
    EXPECT_EQ(control.eventos("2024030501").size(), 1);
    EXPECT_TRUE(control.eventos("2024030401").isEmpty());
}

TEST_F(Controle, ClearingAFinishedHistoryEmptiesItButRemembersTheLastNumber) {
    evento("2024030401", "PR", "C", 100);
    evento("2024030401", "OK", "C", 90);
    control.atualizaListaRemessas();
    ASSERT_TRUE(control.limpaHistorico(control.ultimaRemessa(), true).done);
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM CONTROLE").toInt(), 0);
    EXPECT_TRUE(control.listaRemessas().isEmpty());
    EXPECT_EQ(control.numeroAnterior(), "0000000000");
    // This batch was recorded only in the history (as before the numbering table): it still
    // counts as issued.
    EXPECT_EQ(control.ultimoNumeroEmitido(), "2024030401");
}

// The result deletes the accepted batch's archive after its commit; a run killed in between leaves
// it, and the next preparation or clearing takes it away. Any other batch's archive stays.
TEST_F(Controle, TheArchiveOfTheLatestAcceptedBatchIsDeletedAndNoOther) {
    for (const char* name : {"OC-OCC2024030401.zip", "OC-OCC2024030501.zip", "OT-OCC2024030501.zip"}) {
        QFile file(transf() + QString::fromUtf8(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    evento("2024030401", "PR", "C", 100);
    evento("2024030401", "NO", "C", 90);
    EXPECT_FALSE(control.removeArquivoDaUltimaAceita()); // refused: kept
    evento("2024030501", "PR", "C", 10);
    evento("2024030501", "TR", "C", 5);
    EXPECT_FALSE(control.removeArquivoDaUltimaAceita()); // awaiting its result
    EXPECT_EQ(transferFiles().size(), 3);

    evento("2024030501", "OK", "C", 1);
    EXPECT_TRUE(control.removeArquivoDaUltimaAceita());
    EXPECT_EQ(transferFiles(), (QStringList{"OC-OCC2024030401.zip", "OT-OCC2024030501.zip"}));
    EXPECT_FALSE(control.removeArquivoDaUltimaAceita());
}

TEST_F(Controle, ClearingTheHistoryTakesTheAcceptedBatchsLeftoverArchive) {
    QFile file(transf() + "OC-OCC2024030401.zip");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    evento("2024030401", "PR", "C", 100);
    evento("2024030401", "OK", "C", 90);
    ASSERT_TRUE(control.limpaHistorico(std::nullopt, true).done);
    EXPECT_TRUE(transferFiles().isEmpty());
}

TEST_F(Controle, ThePreparationIsRecordedWithTheNumberIssued) {
    control.registraPreparacao("2024030503", "T");
    EXPECT_EQ(control.ultimoNumeroEmitido(), "2024030503");
    const BatchListRow latest = control.atualizaListaRemessas().first();
    EXPECT_EQ(latest, (BatchListRow{"2024030503", "Aguardando Transferência", "PR", "S", "T"}));
    ASSERT_TRUE(control.limpaHistorico(std::nullopt, true).done);
    EXPECT_EQ(control.ultimoNumeroEmitido(), "2024030503");
}

TEST_F(Controle, TheSharedStateComesFromTheConfiguration) {
    EXPECT_EQ(state.SiglaCertificador, "OCC");
    EXPECT_EQ(state.NomeOCC, "Organismo");
    EXPECT_EQ(state.DirLocalTransf, home.path() + "Transf/");
    EXPECT_EQ(state.DirLocalSincr, home.path() + "Sincr/");
    EXPECT_EQ(state.EndSMTPPort, 2525);
    EXPECT_EQ(state.Usuario, "maria");
    // An empty port keeps the previous value; an empty directory still ends with the separator.
    Sql::execute(db, "UPDATE CONFIG_LOCAL SET EndSMTPPort = NULL, DirLocalTransf = NULL");
    state.load(db, session.user());
    EXPECT_EQ(state.EndSMTPPort, 2525);
    EXPECT_EQ(state.DirLocalTransf, "/");
}

} // namespace
