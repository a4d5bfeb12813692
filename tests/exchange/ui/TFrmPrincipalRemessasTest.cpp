#include "TFrmPrincipalRemessas.h"
#include "RemessasFixture.h"
#include "TFrmNovaRemessa.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>

namespace {

const QStringList BatchButtonNames{"BtPrepara", "BtTransfere", "BtRecebe", "BtCancela"};

} // namespace

// The batch control screen over a register built by the test.
class PrincipalRemessasTest : public RemessasFixture {
protected:
    // Opens the screen as the shell does (activating it loads the state and the list).
    std::unique_ptr<TFrmPrincipalRemessas> open(bool withSubScreens = true) {
        auto form = std::make_unique<TFrmPrincipalRemessas>(session, state);
        if (withSubScreens) {
            form->setTransfere([this](QWidget*, const QString& arquivo) { transferidos.append(arquivo); });
            form->setRecebe([this](QWidget*, const QString& arquivo) { recebidos.append(arquivo); });
        }
        form->show();
        return form;
    }

    static QTableView* grid(QWidget* form, const char* name) { return form->findChild<QTableView*>(name); }

    static bool enabled(QWidget* form, const QString& name) {
        auto* button = form->findChild<QPushButton*>(name);
        EXPECT_NE(button, nullptr) << name.toStdString();
        return button && button->isEnabled();
    }

    // The enabled batch buttons, in the order Prepara, Transfere, Recebe, Cancela.
    static QStringList enabledBatchButtons(QWidget* form) {
        QStringList on;
        for (const QString& name : BatchButtonNames)
            if (enabled(form, name))
                on.append(name);
        return on;
    }

    QStringList transferidos;
    QStringList recebidos;
};

TEST_F(PrincipalRemessasTest, EmptyRegisterOffersOnlyThePreparation) {
    auto form = open();
    EXPECT_EQ(form->windowTitle(), "Controle de Remessas");
    EXPECT_EQ(grid(form.get(), "GrRemessa")->model()->rowCount(), 0);
    EXPECT_EQ(grid(form.get(), "GrEventos")->model()->rowCount(), 0);
    EXPECT_EQ(enabledBatchButtons(form.get()), QStringList{"BtPrepara"});
    EXPECT_TRUE(enabled(form.get(), "BtLimpa"));
    EXPECT_TRUE(enabled(form.get(), "BtSaida"));
    // The shared state was loaded when the screen came up.
    EXPECT_EQ(state.DirLocalTransf, transf);
    EXPECT_EQ(state.SiglaCertificador, "OCC1");
    EXPECT_EQ(state.Usuario, "joao");
}

TEST_F(PrincipalRemessasTest, ListShowsEachBatchOnceNewestFirstWithItsEvents) {
    event("2015112401", "C", "PR", 0);
    event("2015112401", "C", "TR", 10);
    event("2015112401", "C", "OK", 20, "Aceita");
    event("2015112402", "T", "PR", 30);
    auto form = open();
    QTableView* remessas = grid(form.get(), "GrRemessa");
    ASSERT_EQ(remessas->model()->rowCount(), 2);
    EXPECT_EQ(column(remessas, 0), (QStringList{"2015112402", "2015112401"}));
    EXPECT_EQ(column(remessas, 1), (QStringList{"Aguardando Transferência", "Finalizada"}));
    // The type by its name; the code stays with the row.
    EXPECT_EQ(column(remessas, 2), (QStringList{"Completa", "Parcial"}));
    EXPECT_EQ(remessas->model()->index(0, 2).data(Qt::UserRole).toString(), "T");
    EXPECT_EQ(remessas->model()->headerData(0, Qt::Horizontal).toString(), "Remessa");
    // Evento and Ultima are kept but not shown.
    EXPECT_TRUE(remessas->isColumnHidden(3));
    EXPECT_TRUE(remessas->isColumnHidden(4));

    QTableView* eventos = grid(form.get(), "GrEventos");
    EXPECT_EQ(column(eventos, 0), QStringList{"25/11/15 08:00:30"});
    EXPECT_EQ(column(eventos, 1), QStringList{"Remessa Preparada"});
    EXPECT_EQ(column(eventos, 2), QStringList{"ana"});

    remessas->selectRow(1);
    EXPECT_EQ(column(eventos, 1),
              (QStringList{"Finalizada - OK", "Enviada para o Kavorel", "Remessa Preparada"}));
    EXPECT_EQ(column(eventos, 3), (QStringList{"Aceita", "", ""}));
    QStringList titles;
    for (int c = 0; c < 4; ++c)
        titles.append(eventos->model()->headerData(c, Qt::Horizontal).toString());
    EXPECT_EQ(titles, (QStringList{"Data/Hora", "Evento", "Usuário Responsável", "Observações"}));
}

struct ButtonCase {
    const char* name;
    QStringList latestEvents; // events of the latest batch, in time order
    bool selectOlder;         // select the earlier (finished) batch instead of the latest
    QStringList expected;
};

class PrincipalRemessasButtonsTest : public PrincipalRemessasTest,
                                     public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(PrincipalRemessasButtonsTest, ButtonsFollowTheStateOfTheSelectedBatch) {
    const ButtonCase& c = GetParam();
    event("2015112401", "C", "PR", 0);
    event("2015112401", "C", "NO", 5, "Remessa Cancelada pelo Usuário");
    int t = 10;
    for (const QString& e : c.latestEvents)
        event("2015112402", "C", e, t++);
    auto form = open();
    if (c.selectOlder)
        grid(form.get(), "GrRemessa")->selectRow(1);
    EXPECT_EQ(enabledBatchButtons(form.get()), c.expected);
    EXPECT_TRUE(enabled(form.get(), "BtLimpa"));
    EXPECT_TRUE(enabled(form.get(), "BtSaida"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, PrincipalRemessasButtonsTest,
    ::testing::Values(ButtonCase{"Preparada", {"PR"}, false, {"BtTransfere", "BtCancela"}},
                      ButtonCase{"Transferida", {"PR", "TR"}, false, {"BtRecebe"}},
                      ButtonCase{"Aceita", {"PR", "TR", "OK"}, false, {"BtPrepara"}},
                      ButtonCase{"Recusada", {"PR", "TR", "NO"}, false, {"BtPrepara"}},
                      ButtonCase{"Cancelada", {"PR", "NO"}, false, {"BtPrepara"}},
                      ButtonCase{"OutroCodigo", {"XX"}, false, {"BtPrepara"}},
                      ButtonCase{"AnteriorComUltimaPreparada", {"PR"}, true, {}},
                      ButtonCase{"AnteriorComUltimaFinalizada", {"PR", "TR", "OK"}, true, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrincipalRemessasTest, DeliveryAndResultStayDisabledUntilTheirScreensArePluggedIn) {
    event("2015112401", "C", "PR", 0);
    auto form = open(false);
    EXPECT_EQ(enabledBatchButtons(form.get()), QStringList{"BtCancela"});
    // The history listing comes with the reports.
    EXPECT_FALSE(enabled(form.get(), "BtListagem"));
    form->setListagem([](QWidget*) {});
    EXPECT_TRUE(enabled(form.get(), "BtListagem"));
}

struct ArchiveCase {
    const char* name;
    QString tipo;
    QString expected;
};

class PrincipalRemessasArchiveTest : public PrincipalRemessasTest,
                                     public ::testing::WithParamInterface<ArchiveCase> {};

TEST_P(PrincipalRemessasArchiveTest, SubScreensGetTheBatchAndItsArchiveName) {
    const ArchiveCase& c = GetParam();
    event("2015112501", c.tipo, "PR", 0);
    auto form = open();
    ASSERT_TRUE(clickOn(form.get(), "BtTransfere"));
    EXPECT_EQ(transferidos, QStringList{c.expected});
    EXPECT_EQ(state.NumeroRemessa, "2015112501");
    EXPECT_EQ(state.TipoRemessa, c.tipo);

    event("2015112501", c.tipo, "TR", 10);
    form->AtualizaListaRemessas();
    ASSERT_TRUE(clickOn(form.get(), "BtRecebe"));
    EXPECT_EQ(recebidos, QStringList{c.expected});
}

INSTANTIATE_TEST_SUITE_P(Table, PrincipalRemessasArchiveTest,
                         ::testing::Values(ArchiveCase{"Parcial", "C", "OC-OCC12015112501.zip"},
                                           ArchiveCase{"Completa", "T", "OT-OCC12015112501.zip"},
                                           ArchiveCase{"OutroTipo", "X", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrincipalRemessasTest, CancellingThePreparedBatchFinishesItAndDeletesItsArchives) {
    event("2015112401", "C", "PR", 0);
    event("2015112401", "C", "TR", 5);
    event("2015112401", "C", "OK", 6);
    event("2015112501", "C", "PR", 10);
    touch("OC-OCC12015112501.zip");
    touch("OT-OCC12015112501.zip");
    touch("OC-OCC12015112401.zip");
    auto form = open();
    prompts.planAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(clickOn(form.get(), "BtCancela"));

    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::YesNo);
    EXPECT_EQ(prompts.shown()[0].text, "Tem certeza que deseja cancelar a remessa?");
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE WHERE NumeroRemessa = '2015112501' AND Evento = 'NO' "
                    "AND Usuario = 'joao' AND Obs = 'Remessa Cancelada pelo Usuário' AND TipoRemessa = 'C'"),
              1);
    EXPECT_FALSE(QFileInfo::exists(transf + "OC-OCC12015112501.zip"));
    EXPECT_FALSE(QFileInfo::exists(transf + "OT-OCC12015112501.zip"));
    EXPECT_TRUE(QFileInfo::exists(transf + "OC-OCC12015112401.zip")); // another batch's archive stays

    QTableView* remessas = grid(form.get(), "GrRemessa");
    EXPECT_EQ(column(remessas, 1), (QStringList{"Finalizada", "Finalizada"}));
    QTableView* eventos = grid(form.get(), "GrEventos");
    EXPECT_EQ(eventos->model()->index(0, 1).data().toString(), "Finalizada - Erro");
    EXPECT_EQ(eventos->model()->index(0, 3).data().toString(), "Remessa Cancelada pelo Usuário");
    EXPECT_EQ(enabledBatchButtons(form.get()), QStringList{"BtPrepara"});
}

TEST_F(PrincipalRemessasTest, DecliningTheCancellationChangesNothing) {
    event("2015112501", "C", "PR", 0);
    touch("OC-OCC12015112501.zip");
    auto form = open();
    prompts.planAnswer(PromptAnswer::No);
    ASSERT_TRUE(clickOn(form.get(), "BtCancela"));
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE"), 1);
    EXPECT_TRUE(QFileInfo::exists(transf + "OC-OCC12015112501.zip"));
    EXPECT_EQ(enabledBatchButtons(form.get()), (QStringList{"BtTransfere", "BtCancela"}));
}

TEST_F(PrincipalRemessasTest, ClearingWhileABatchIsInProgressKeepsOnlyThatBatch) {
    event("2015112401", "C", "PR", 0);
    event("2015112401", "C", "NO", 5);
    event("2015112402", "C", "PR", 6);
    event("2015112402", "C", "TR", 7);
    event("2015112402", "C", "OK", 8);
    event("2015112501", "C", "PR", 10);
    event("2015112501", "C", "TR", 11);
    auto form = open();
    prompts.planAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(clickOn(form.get(), "BtLimpa"));
    EXPECT_EQ(prompts.lastText(), "Tem certeza que deseja limpar o histórico?");
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE"), 2);
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE WHERE NumeroRemessa <> '2015112501'"), 0);
    EXPECT_EQ(column(grid(form.get(), "GrRemessa"), 0), QStringList{"2015112501"});
    EXPECT_EQ(grid(form.get(), "GrEventos")->model()->rowCount(), 2);
    EXPECT_EQ(enabledBatchButtons(form.get()), QStringList{"BtRecebe"});
}

TEST_F(PrincipalRemessasTest, ClearingWithNoBatchInProgressEmptiesTheHistory) {
    event("2015112401", "C", "PR", 0);
    event("2015112401", "C", "TR", 5);
    event("2015112401", "C", "OK", 6);
    auto form = open();
    prompts.planAnswer(PromptAnswer::No);
    ASSERT_TRUE(clickOn(form.get(), "BtLimpa"));
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE"), 3);

    prompts.planAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(clickOn(form.get(), "BtLimpa"));
    EXPECT_EQ(count("SELECT count(*) FROM CONTROLE"), 0);
    EXPECT_EQ(grid(form.get(), "GrRemessa")->model()->rowCount(), 0);
    EXPECT_EQ(grid(form.get(), "GrEventos")->model()->rowCount(), 0);
    EXPECT_EQ(enabledBatchButtons(form.get()), QStringList{"BtPrepara"});
}

TEST_F(PrincipalRemessasTest, PrepareOpensThePreparationModallyAndRefreshesTheListAfterwards) {
    event("2015112401", "C", "PR", 0);
    event("2015112401", "C", "NO", 5);
    auto form = open();
    QString title;
    onNextModal([&](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        title = modal->windowTitle();
        EXPECT_NE(qobject_cast<TFrmNovaRemessa*>(modal), nullptr);
        // Meanwhile another part of the program recorded a batch: the list shows it afterwards.
        event("2015112501", "C", "PR", 20);
        clickOn(modal, "BtSaida");
    });
    ASSERT_TRUE(clickOn(form.get(), "BtPrepara"));
    EXPECT_EQ(title, "Prepara Nova Remessa");
    EXPECT_EQ(column(grid(form.get(), "GrRemessa"), 0), (QStringList{"2015112501", "2015112401"}));
    EXPECT_EQ(enabledBatchButtons(form.get()), (QStringList{"BtTransfere", "BtCancela"}));
}

TEST_F(PrincipalRemessasTest, GridsAreAtLeastEightRowsTallAndNamedByTheirCaptions) {
    auto form = open();
    for (const char* name : {"GrRemessa", "GrEventos"}) {
        QTableView* g = grid(form.get(), name);
        EXPECT_GE(g->minimumHeight(), 8 * g->verticalHeader()->defaultSectionSize()) << name;
        EXPECT_FALSE(g->accessibleName().isEmpty()) << name;
    }
    for (QPushButton* b : form->findChildren<QPushButton*>())
        EXPECT_FALSE(b->accessibleName().isEmpty()) << b->objectName().toStdString();
    EXPECT_EQ(repeatedMnemonics(form.get()), QStringList{});
    // Resizable: no fixed size.
    EXPECT_NE(form->minimumSize(), form->maximumSize());
}

TEST_F(PrincipalRemessasTest, ClearingWithAnOlderBatchSelectedStillKeepsTheBatchInProgress) {
    event("2015112401", "C", "PR", 0);
    event("2015112401", "C", "NO", 5);
    event("2015112501", "C", "PR", 10);
    auto form = open();
    grid(form.get(), "GrRemessa")->selectRow(1);
    prompts.planAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(clickOn(form.get(), "BtLimpa"));
    EXPECT_EQ(column(grid(form.get(), "GrRemessa"), 0), QStringList{"2015112501"});
    EXPECT_EQ(enabledBatchButtons(form.get()), (QStringList{"BtTransfere", "BtCancela"}));
}
