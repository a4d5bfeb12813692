#include "ShellControls.h"
#include "ShellFixture.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

const std::set<ShellFunction> Everything{ShellFunction::ManBaseDados,      ShellFunction::AprovaCertificados,
                                         ShellFunction::GerarRemessa,      ShellFunction::EnvioTXT,
                                         ShellFunction::AtualizTabKavorel, ShellFunction::Certificador,
                                         ShellFunction::Diretorios,        ShellFunction::CadUsuarios,
                                         ShellFunction::AlteraSenha,       ShellFunction::Login};

QSet<QString> enabledNames(const ShellState& state) {
    const QHash<QString, bool> e = ShellControls::enabled(state);
    QSet<QString> names;
    for (auto it = e.cbegin(); it != e.cend(); ++it)
        if (it.value())
            names.insert(it.key());
    return names;
}

QSet<QString> setOf(std::initializer_list<const char*> names) {
    QSet<QString> s;
    for (const char* n : names)
        s.insert(QLatin1String(n));
    return s;
}

} // namespace

// The menus, menu items and speed buttons of the main window, named here on their own.
const QStringList ControlesDaJanela{"sbSair",
                                    "mniSair",
                                    "sbReentrar",
                                    "SbAjuda",
                                    "mniAjuda",
                                    "mnuFuncoes",
                                    "mnuConfiguracoes",
                                    "mnuUsuarios",
                                    "mniManBaseDados",
                                    "spbManBaseDados",
                                    "mniAprovaCertificados",
                                    "spbAprovaCertificados",
                                    "mniContRemessas",
                                    "mniGerarRemessa",
                                    "mniEnvioTXT",
                                    "spbContRemessas",
                                    "mniAtualizTabKavorel",
                                    "spbAtualizTabKavorel",
                                    "mniCertificador",
                                    "spbCertificador",
                                    "mniDiretorios",
                                    "spbDiretorios",
                                    "mniCadUsuarios",
                                    "spbCadUsuarios",
                                    "mniAlteraSenha",
                                    "spbAlteraSenha"};

// What a user sees on the real main window once logged in: exactly the controls of the functions
// everyone has and of the user's own permissions are enabled, every other one is not.
TEST(ShellControls, CadaUsuarioVeHabilitadosSoOsSeusControles) {
    const QSet<QString> comuns =
        setOf({"sbSair", "mniSair", "sbReentrar", "SbAjuda", "mnuFuncoes", "mniAjuda", "mnuConfiguracoes",
               "mnuUsuarios", "mniAlteraSenha", "spbAlteraSenha"});
    const auto com = [](std::initializer_list<bool Permissions::*> flags) {
        Permissions p;
        for (bool Permissions::*flag : flags)
            p.*flag = true;
        return p;
    };
    const struct {
        const char* usuario;
        Permissions permissoes;
        QSet<QString> alem; // enabled beyond the common ones
    } casos[] = {
        {"semPermissoes", Permissions{}, {}},
        {"registroEAprovacao", com({&Permissions::AcManBase, &Permissions::AcAprovCertific}),
         setOf({"mniManBaseDados", "spbManBaseDados", "mniAprovaCertificados", "spbAprovaCertificados"})},
        {"remessas", com({&Permissions::AcContRemessas}),
         setOf({"mniContRemessas", "mniGerarRemessa", "mniEnvioTXT", "spbContRemessas"})},
        {"configuracao",
         com({&Permissions::AcConfigOCC, &Permissions::AcConfigDir, &Permissions::AcCadastraUsu}),
         setOf({"mniCertificador", "spbCertificador", "mniDiretorios", "spbDiretorios", "mniCadUsuarios",
                "spbCadUsuarios"})},
        {"administrador", Permissions::all(),
         QSet<QString>(ControlesDaJanela.cbegin(), ControlesDaJanela.cend()) - comuns},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.usuario);
        ShellFixture shell;
        shell.registerAll();
        shell.window.applyLogin(userWith(QStringLiteral("ana"), c.permissoes));
        QSet<QString> habilitados;
        for (const QString& nome : ControlesDaJanela)
            if (shell.enabled(nome))
                habilitados.insert(nome);
        EXPECT_EQ(habilitados, comuns + c.alem);
    }
}

TEST(ShellControls, BeforeLoginOnlyLeavingHelpAndLoginAreOpen) {
    ShellState state;
    state.permissions = Permissions::all(); // flags alone open nothing without a login
    state.available = Everything;
    EXPECT_EQ(enabledNames(state), setOf({"sbSair", "mniSair", "sbReentrar", "SbAjuda"}));
}

TEST(ShellControls, LoggedInWithoutPermissionsKeepsOnlyTheCommonFunctions) {
    ShellState state;
    state.loggedIn = true;
    state.available = Everything;
    EXPECT_EQ(enabledNames(state),
              setOf({"sbSair", "mniSair", "sbReentrar", "SbAjuda", "mnuFuncoes", "mniAjuda",
                     "mnuConfiguracoes", "mnuUsuarios", "mniAlteraSenha", "spbAlteraSenha"}));
}

// Each flag opens exactly its own menu item and speed button.
struct FlagCase {
    const char* name;
    bool Permissions::*flag;
    QSet<QString> opens;
};

void PrintTo(const FlagCase& c, std::ostream* os) {
    *os << c.name;
}

class ShellControlsFlag : public ::testing::TestWithParam<FlagCase> {};

TEST_P(ShellControlsFlag, OpensItsOwnPairOnly) {
    ShellState without;
    without.loggedIn = true;
    without.available = Everything;
    ShellState with = without;
    with.permissions.*(GetParam().flag) = true;
    EXPECT_EQ(enabledNames(with) - enabledNames(without), GetParam().opens);
    EXPECT_TRUE((enabledNames(without) - enabledNames(with)).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Permissions, ShellControlsFlag,
    ::testing::Values(
        FlagCase{"AcManBase", &Permissions::AcManBase, setOf({"mniManBaseDados", "spbManBaseDados"})},
        FlagCase{"AcAprovCertific", &Permissions::AcAprovCertific,
                 setOf({"mniAprovaCertificados", "spbAprovaCertificados"})},
        FlagCase{"AcContRemessas", &Permissions::AcContRemessas,
                 setOf({"mniContRemessas", "mniGerarRemessa", "mniEnvioTXT", "spbContRemessas"})},
        FlagCase{"AcAtualTabAux", &Permissions::AcAtualTabAux,
                 setOf({"mniAtualizTabKavorel", "spbAtualizTabKavorel"})},
        FlagCase{"AcConfigOCC", &Permissions::AcConfigOCC, setOf({"mniCertificador", "spbCertificador"})},
        FlagCase{"AcConfigDir", &Permissions::AcConfigDir, setOf({"mniDiretorios", "spbDiretorios"})},
        FlagCase{"AcCadastraUsu", &Permissions::AcCadastraUsu, setOf({"mniCadUsuarios", "spbCadUsuarios"})}),
    [](const ::testing::TestParamInfo<FlagCase>& info) { return std::string(info.param.name); });

TEST(ShellControls, WorkPageClosesTheOtherFunctions) {
    ShellState state;
    state.loggedIn = true;
    state.permissions = Permissions::all();
    state.available = Everything;
    const QSet<QString> onPrincipal = enabledNames(state);
    state.workPageOpen = true;
    const QSet<QString> closed = onPrincipal - enabledNames(state);
    EXPECT_EQ(closed, setOf({"spbManBaseDados", "spbAprovaCertificados", "spbContRemessas",
                             "spbAtualizTabKavorel", "spbCertificador", "spbDiretorios", "spbCadUsuarios",
                             "spbAlteraSenha", "mniManBaseDados", "mniContRemessas", "mniAtualizTabKavorel",
                             "mnuConfiguracoes", "mnuUsuarios"}));
    EXPECT_TRUE((enabledNames(state) - onPrincipal).isEmpty());
}

TEST(ShellControls, FunctionsWithoutTheirScreenStayClosed) {
    ShellState state;
    state.loggedIn = true;
    state.permissions = Permissions::all();
    EXPECT_EQ(enabledNames(state), setOf({"sbSair", "mniSair", "SbAjuda", "mnuFuncoes", "mniAjuda",
                                          "mnuConfiguracoes", "mnuUsuarios"}));

    // The batch sub-menu opens with either of its screens; its speed button needs the batch control.
    state.available = {ShellFunction::EnvioTXT};
    EXPECT_TRUE(enabledNames(state).contains(QStringLiteral("mniContRemessas")));
    EXPECT_TRUE(enabledNames(state).contains(QStringLiteral("mniEnvioTXT")));
    EXPECT_FALSE(enabledNames(state).contains(QStringLiteral("mniGerarRemessa")));
    EXPECT_FALSE(enabledNames(state).contains(QStringLiteral("spbContRemessas")));
}
