#include "ReportFunctions.h"
#include "ShellFixture.h"
#include "Sql.h"
#include "TFrmAjuda.h"

#include <QLabel>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

namespace {

QString plain(QString text) {
    return text.remove(QLatin1Char('&'));
}

const QStringList SpeedButtons{
    "spbManBaseDados", "spbAprovaCertificados", "spbContRemessas", "spbAtualizTabKavorel", "spbCertificador",
    "spbDiretorios",   "spbCadUsuarios",        "spbAlteraSenha",  "sbReentrar",           "SbAjuda",
    "sbSair"};

struct Shell : ::testing::Test, ShellFixture {
    QString panel(int n) const {
        return window.findChild<QLabel*>(QStringLiteral("StatusBar1Panel%1").arg(n))->text();
    }
    QStringList enabledAmong(const QStringList& names) const {
        QStringList result;
        for (const QString& n : names)
            if (enabled(n))
                result << n;
        return result;
    }
    void click(const char* button) {
        auto* b = window.findChild<QToolButton*>(QLatin1String(button));
        ASSERT_NE(b, nullptr) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void trigger(const char* item) {
        auto* a = window.findChild<QAction*>(QLatin1String(item));
        ASSERT_NE(a, nullptr) << item;
        a->trigger();
    }
};

Permissions allBut(bool Permissions::*flag) {
    Permissions p = Permissions::all();
    p.*flag = false;
    return p;
}

} // namespace

TEST_F(Shell, CaptionStatusBarAndPages) {
    EXPECT_EQ(window.objectName(), QStringLiteral("TFrmCapaSistema"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tarvendix - Módulo do Certificador - Versão 2.4.8"));
    EXPECT_EQ(panel(1), QStringLiteral("Módulo do Certificador - Versão 2.4.8"));
    EXPECT_EQ(panel(0), QString());
    EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("LbAguarde"))->isVisibleTo(&window));
    EXPECT_FALSE(window.findChild<QWidget*>(QStringLiteral("PbAguarde"))->isVisibleTo(&window));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("LbAguarde"))->text(),
              QStringLiteral("Aguarde, verificando tabelas..."));

    auto* pages = window.findChild<QStackedWidget*>();
    ASSERT_NE(pages, nullptr);
    QStringList names;
    for (int i = 0; i < pages->count(); ++i)
        names << pages->widget(i)->objectName();
    EXPECT_EQ(names, (QStringList{"Principal", "CadastroUsuarios", "ConfiguraDiretorios",
                                  "ConfigCertificador", "AprovaCertificados"}));
    EXPECT_EQ(pages->currentWidget()->objectName(), QStringLiteral("Principal"));

    // Sized by its layouts and resizable (a fixed size cut controls short under other fonts);
    // minimise and close only.
    EXPECT_NE(window.minimumSize(), window.maximumSize());
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(Shell, MenusItemsAndHints) {
    QStringList menus;
    for (QAction* a : window.menuBar()->actions())
        menus << plain(a->text());
    EXPECT_EQ(menus, (QStringList{"Funções", "Configurações", "Usuários", "Cópia de Segurança",
                                  "Manual de Uso", "Sobre..."}));

    const QList<std::pair<const char*, const char*>> items{
        {"mniManBaseDados", "Manutenção da Base de Dados..."},
        {"mniAprovaCertificados", "Aprovação de Certificados"},
        {"mniGerarRemessa", "Gerar Remessa "},
        {"mniEnvioTXT", "Envio de Arquivo TXT"},
        {"mniAtualizTabKavorel", "Atualização de Tabelas Kavorel..."},
        {"mniSair", "Sair"},
        {"mniCertificador", "Certificador..."},
        {"mniDiretorios", "Diretórios..."},
        {"mniCadUsuarios", "Cadastro de Usuários..."},
        {"mniAlteraSenha", "Altera Senha..."},
        {"mniManual", "Manual de Uso"},
        {"mniAjuda", "Sobre..."}};
    for (const auto& [name, text] : items) {
        auto* a = window.findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(plain(a->text()), QString::fromUtf8(text)) << name;
    }
    EXPECT_EQ(plain(window.findChild<QMenu*>(QStringLiteral("mniContRemessas"))->title()),
              QStringLiteral("Controle de Remessas"));

    const QList<std::pair<const char*, const char*>> hints{
        {"spbManBaseDados", "Manutenção da Base de Dados"},
        {"spbAprovaCertificados", "Aprovação de Certificados"},
        {"spbContRemessas", "Controle de Remessas"},
        {"spbAtualizTabKavorel", "Atualização de Tabelas Kavorel"},
        {"spbCertificador", "Certificador"},
        {"spbDiretorios", "Diretórios"},
        {"spbCadUsuarios", "Cadastro de Usuários"},
        {"spbAlteraSenha", "Altera Senha"},
        {"sbReentrar", "Altera Usuário Logado"},
        {"SbAjuda", "Ajuda"},
        {"sbSair", "Saída"}};
    for (const auto& [name, hint] : hints) {
        auto* b = window.findChild<QToolButton*>(QLatin1String(name));
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(hint)) << name;
        EXPECT_EQ(b->parentWidget()->objectName(), QStringLiteral("pnlBotoes")) << name;
    }
    EXPECT_EQ(window.findChild<QToolButton*>(QStringLiteral("spbAprovaCertificados"))->text(),
              QStringLiteral("A"));
}

TEST_F(Shell, BeforeLoginOnlyLeavingReenteringAndHelpAreUsable) {
    registerAll();
    EXPECT_EQ(enabledAmong(SpeedButtons), (QStringList{"sbReentrar", "SbAjuda", "sbSair"}));
    EXPECT_EQ(enabledAmong({"mnuFuncoes", "mnuConfiguracoes", "mnuUsuarios", "mniAjuda", "mniAlteraSenha"}),
              QStringList());
    EXPECT_FALSE(session.user().isLoggedIn());
    EXPECT_EQ(session.user().permissions, Permissions());
}

TEST_F(Shell, WithoutALoginDialogTheShellStaysBeforeLogin) {
    registerAll();
    window.registerFunction(ShellFunction::Login, nullptr);
    window.runLogin();
    EXPECT_EQ(enabledAmong(SpeedButtons), (QStringList{"SbAjuda", "sbSair"}));
    EXPECT_FALSE(enabled(QStringLiteral("mnuFuncoes")));
}

TEST_F(Shell, UserWithoutManBaseKeepsItClosedAcrossAWorkPage) {
    registerAll();
    window.applyLogin(userWith(QStringLiteral("joao"), allBut(&Permissions::AcManBase)));
    EXPECT_FALSE(enabled(QStringLiteral("mniManBaseDados")));
    EXPECT_FALSE(enabled(QStringLiteral("spbManBaseDados")));
    EXPECT_TRUE(enabled(QStringLiteral("spbCertificador")));

    click("spbCertificador");
    EXPECT_EQ(window.currentPage(), TFrmCapaSistema::PageId::ConfigCertificador);
    EXPECT_EQ(runs, QList<ShellFunction>{ShellFunction::Certificador});
    window.returnToMainPage();
    EXPECT_EQ(window.currentPage(), TFrmCapaSistema::PageId::Principal);
    EXPECT_FALSE(enabled(QStringLiteral("mniManBaseDados")));
    EXPECT_FALSE(enabled(QStringLiteral("spbManBaseDados")));
    EXPECT_TRUE(enabled(QStringLiteral("spbCertificador")));

    window.applyLogin(userWith(QStringLiteral("maria"), Permissions::all()));
    EXPECT_TRUE(enabled(QStringLiteral("mniManBaseDados")));
    EXPECT_TRUE(enabled(QStringLiteral("spbManBaseDados")));
    click("spbManBaseDados");
    trigger("mniManBaseDados");
    EXPECT_EQ(runs.count(ShellFunction::ManBaseDados), 2);
}

TEST_F(Shell, ScreenNotYetThereStaysClosedWhateverThePermissions) {
    window.applyLogin(userWith(QStringLiteral("admin"), Permissions::all()));
    EXPECT_FALSE(enabled(QStringLiteral("mniManBaseDados")));
    EXPECT_FALSE(enabled(QStringLiteral("spbManBaseDados")));
    trigger("mniManBaseDados"); // even forced, it does nothing
    EXPECT_TRUE(runs.isEmpty());

    window.registerFunction(ShellFunction::ManBaseDados,
                            [this] { runs.append(ShellFunction::ManBaseDados); });
    EXPECT_TRUE(enabled(QStringLiteral("mniManBaseDados")));
    EXPECT_TRUE(enabled(QStringLiteral("spbManBaseDados")));
    EXPECT_FALSE(enabled(QStringLiteral("spbCertificador")));
}

TEST_F(Shell, WorkPagesCloseTheOtherFunctionsUntilTheReturn) {
    registerAll();
    window.applyLogin(userWith(QStringLiteral("admin"), Permissions::all()));
    const QStringList closedOnWorkPage{"spbManBaseDados",      "spbAprovaCertificados", "spbContRemessas",
                                       "spbAtualizTabKavorel", "spbCertificador",       "spbDiretorios",
                                       "spbCadUsuarios",       "spbAlteraSenha",        "mniManBaseDados",
                                       "mniContRemessas",      "mniAtualizTabKavorel",  "mnuConfiguracoes",
                                       "mnuUsuarios"};
    const QStringList openOnWorkPage{"sbSair",     "sbReentrar", "SbAjuda",
                                     "mnuFuncoes", "mniAjuda",   "mniAprovaCertificados"};
    ASSERT_EQ(enabledAmong(closedOnWorkPage), closedOnWorkPage);

    const QList<std::pair<const char*, TFrmCapaSistema::PageId>> openers{
        {"spbAprovaCertificados", TFrmCapaSistema::PageId::AprovaCertificados},
        {"spbCertificador", TFrmCapaSistema::PageId::ConfigCertificador},
        {"spbDiretorios", TFrmCapaSistema::PageId::ConfiguraDiretorios},
        {"spbCadUsuarios", TFrmCapaSistema::PageId::CadastroUsuarios}};
    for (const auto& [button, page] : openers) {
        SCOPED_TRACE(button);
        click(button);
        EXPECT_EQ(window.currentPage(), page);
        EXPECT_EQ(window.findChild<QStackedWidget*>()->currentWidget()->objectName(),
                  TFrmCapaSistema::pageName(page));
        EXPECT_EQ(enabledAmong(closedOnWorkPage), QStringList());
        EXPECT_EQ(enabledAmong(openOnWorkPage), openOnWorkPage);
        window.returnToMainPage();
        EXPECT_EQ(enabledAmong(closedOnWorkPage), closedOnWorkPage);
    }
    EXPECT_EQ(runs, (QList<ShellFunction>{ShellFunction::AprovaCertificados, ShellFunction::Certificador,
                                          ShellFunction::Diretorios, ShellFunction::CadUsuarios}));
}

TEST_F(Shell, ReloginReplacesThePermissionsAndTheStatusBar) {
    registerAll();
    QList<LoggedUser> logins{
        userWith(QStringLiteral("ana"), Permissions::all(), QStringLiteral("OCC-SP")),
        userWith(QStringLiteral("beto"), allBut(&Permissions::AcConfigDir), QStringLiteral("OCC-RJ"))};
    // Each run of the login dialog logs the next user in; with none left it is closed without a login.
    window.setLoginHook([&] {
        if (!logins.isEmpty())
            window.applyLogin(logins.takeFirst());
    });

    click("sbReentrar");
    EXPECT_EQ(panel(0), QStringLiteral("USUÁRIO: ana  |  ORGANISMO: OCC-SP"));
    EXPECT_EQ(session.user().SiglaUsu, QStringLiteral("ana"));
    EXPECT_TRUE(enabled(QStringLiteral("spbDiretorios")));

    click("sbReentrar");
    EXPECT_EQ(panel(0), QStringLiteral("USUÁRIO: beto  |  ORGANISMO: OCC-RJ"));
    EXPECT_EQ(session.user().permissions, allBut(&Permissions::AcConfigDir));
    EXPECT_FALSE(enabled(QStringLiteral("spbDiretorios")));
    EXPECT_FALSE(enabled(QStringLiteral("mniDiretorios")));

    click("sbReentrar"); // closed without logging in: beto stays
    EXPECT_EQ(panel(0), QStringLiteral("USUÁRIO: beto  |  ORGANISMO: OCC-RJ"));
    EXPECT_EQ(session.user().SiglaUsu, QStringLiteral("beto"));
    EXPECT_FALSE(enabled(QStringLiteral("spbDiretorios")));
    EXPECT_TRUE(enabled(QStringLiteral("spbCertificador")));
}

TEST_F(Shell, EnvioTXTShowsItsNoticeBeforeTheScreen) {
    registerAll();
    window.registerFunction(ShellFunction::EnvioTXT, [this] {
        EXPECT_EQ(prompts.shown().size(), 1); // the notice came first
        runs.append(ShellFunction::EnvioTXT);
    });
    window.applyLogin(userWith(QStringLiteral("ana"), Permissions::all()));
    ASSERT_TRUE(enabled(QStringLiteral("mniEnvioTXT")));
    trigger("mniEnvioTXT");
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Information);
    EXPECT_EQ(prompts.shown()[0].text,
              QStringLiteral(
                  "Esta opção só deve ser utilizada para os certificadores, que optaram por migração de "
                  "dados utilizando arquivo TXT e  não vão utilizar o Modulo OCC para inserir os dados. O "
                  "arquivo TXT será enviado e processado no KAVOREL."));
    EXPECT_EQ(runs, QList<ShellFunction>{ShellFunction::EnvioTXT});
}

TEST_F(Shell, MenuItemsAndSpeedButtonsRunTheSameOperation) {
    registerAll();
    window.applyLogin(userWith(QStringLiteral("ana"), Permissions::all()));
    const QList<std::tuple<const char*, const char*, ShellFunction>> pairs{
        {"mniGerarRemessa", "spbContRemessas", ShellFunction::GerarRemessa},
        {"mniAtualizTabKavorel", "spbAtualizTabKavorel", ShellFunction::AtualizTabKavorel},
        {"mniAlteraSenha", "spbAlteraSenha", ShellFunction::AlteraSenha},
        {"mniDiretorios", "spbDiretorios", ShellFunction::Diretorios}};
    for (const auto& [item, button, function] : pairs) {
        SCOPED_TRACE(item);
        runs.clear();
        trigger(item);
        window.returnToMainPage();
        click(button);
        window.returnToMainPage();
        EXPECT_EQ(runs, (QList<ShellFunction>{function, function}));
    }
    EXPECT_TRUE(prompts.shown().isEmpty());
}

TEST_F(Shell, InstalledPageContentSitsInItsSlot) {
    auto* content = new QLabel(QStringLiteral("aprovação"));
    content->setObjectName(QStringLiteral("conteudo"));
    window.setPage(TFrmCapaSistema::PageId::AprovaCertificados, content);
    EXPECT_EQ(window.page(TFrmCapaSistema::PageId::AprovaCertificados)
                  ->findChild<QLabel*>(QStringLiteral("conteudo")),
              content);
    window.showPage(TFrmCapaSistema::PageId::AprovaCertificados);
    EXPECT_EQ(window.findChild<QStackedWidget*>()->currentWidget()->objectName(),
              QStringLiteral("AprovaCertificados"));
}

TEST_F(Shell, SairClosesTheWindow) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    click("sbSair");
    EXPECT_FALSE(window.isVisible());

    window.show();
    window.applyLogin(userWith(QStringLiteral("ana"), Permissions()));
    trigger("mniSair");
    EXPECT_FALSE(window.isVisible());
}

TEST_F(Shell, AjudaOpensTheAboutBoxModally) {
    QString caption;
    QStringList texts;
    onNextModal([&](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        EXPECT_EQ(modal->objectName(), QStringLiteral("TFrmAjuda"));
        caption = modal->windowTitle();
        for (QLabel* label : modal->findChildren<QLabel*>())
            if (!label->text().isEmpty())
                texts << label->text();
        QTest::mouseClick(modal->findChild<QAbstractButton*>(QStringLiteral("btnOK")), Qt::LeftButton);
    });
    click("SbAjuda");
    EXPECT_EQ(caption, QStringLiteral("Sobre o Sistema..."));
    EXPECT_EQ(texts, (QStringList{"Tarvendix - Módulo OCC", "Versão 2.4.8 - 27 de Novembro de 2015",
                                  TFrmAjuda::Email, TFrmAjuda::WebSite}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(window.findChild<TFrmAjuda*>(), nullptr); // released when closed
}

TEST_F(Shell, AfterLoginTheStatusBarSaysHowManyCertificatesAreAboutToExpire) {
    QSqlDatabase db = home.openDatabase();
    Sql::execute(
        db, QStringLiteral("INSERT INTO CONFIG_LOCAL (SiglaCertificador, NomeOCC) VALUES ('OCC1', 'Org')"));
    for (const char* numero : {"A-1", "A-2", "A-3"})
        Sql::execute(db,
                     QStringLiteral("INSERT INTO CERTIFIC (SiglaCertificador, NumCertif, StatusCertificado, "
                                    "DataValid, Completo, Aprovado) VALUES ('OCC1', :n, 'A', :v, 0, 0)"),
                     {{QStringLiteral(":n"), QString::fromLatin1(numero)},
                      {QStringLiteral(":v"), Sql::dateValue(QDate(2016, 1, 10))}});
    installReports(window);
    const auto aviso = [this] {
        return window.findChild<QLabel*>(QStringLiteral("StatusBar1Aviso"))->text();
    };
    EXPECT_EQ(aviso(), QString());
    window.applyLogin(userWith(QStringLiteral("ana"), Permissions::all()));
    EXPECT_EQ(aviso(), QStringLiteral("3 certificados vencem em até 60 dias"));

    Sql::execute(db, QStringLiteral("UPDATE CERTIFIC SET DataValid = :v"),
                 {{QStringLiteral(":v"), Sql::dateValue(QDate(2017, 1, 10))}});
    window.applyLogin(userWith(QStringLiteral("beto"), Permissions::all()));
    EXPECT_EQ(aviso(), QString());
}
