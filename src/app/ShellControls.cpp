#include "ShellControls.h"

namespace ShellControls {

const QStringList& names() {
    static const QStringList all{
        QStringLiteral("mnuFuncoes"),
        QStringLiteral("mnuConfiguracoes"),
        QStringLiteral("mnuUsuarios"),
        QStringLiteral("mniAjuda"),
        QStringLiteral("mniManBaseDados"),
        QStringLiteral("spbManBaseDados"),
        QStringLiteral("mniAprovaCertificados"),
        QStringLiteral("spbAprovaCertificados"),
        QStringLiteral("mniContRemessas"),
        QStringLiteral("mniGerarRemessa"),
        QStringLiteral("mniEnvioTXT"),
        QStringLiteral("spbContRemessas"),
        QStringLiteral("mniAtualizTabKavorel"),
        QStringLiteral("spbAtualizTabKavorel"),
        QStringLiteral("mniSair"),
        QStringLiteral("sbSair"),
        QStringLiteral("mniCertificador"),
        QStringLiteral("spbCertificador"),
        QStringLiteral("mniDiretorios"),
        QStringLiteral("spbDiretorios"),
        QStringLiteral("mniCadUsuarios"),
        QStringLiteral("spbCadUsuarios"),
        QStringLiteral("mniAlteraSenha"),
        QStringLiteral("spbAlteraSenha"),
        QStringLiteral("sbReentrar"),
        QStringLiteral("SbAjuda"),
    };
    return all;
}

QHash<QString, bool> enabled(const ShellState& state) {
    const Permissions& p = state.permissions;
    const bool in = state.loggedIn;
    const bool onPrincipal = !state.workPageOpen;
    const auto has = [&](ShellFunction f) { return state.available.count(f) > 0; };

    QHash<QString, bool> e;
    // Leaving, the about box and the re-login are open to everybody, logged in or not.
    e[QStringLiteral("sbSair")] = true;
    e[QStringLiteral("mniSair")] = true;
    e[QStringLiteral("SbAjuda")] = true;
    e[QStringLiteral("sbReentrar")] = has(ShellFunction::Login);

    e[QStringLiteral("mnuFuncoes")] = in;
    e[QStringLiteral("mniAjuda")] = in;
    e[QStringLiteral("mnuConfiguracoes")] = in && onPrincipal;
    e[QStringLiteral("mnuUsuarios")] = in && onPrincipal;

    // A menu item and its speed button: allowed by the flag once the screen exists. While a work
    // page is open every speed button is off, and so are the items that open another screen.
    const auto pair = [&](const char* item, const char* button, bool allowed, bool itemOffOnWorkPage) {
        e[QLatin1String(item)] = allowed && (onPrincipal || !itemOffOnWorkPage);
        e[QLatin1String(button)] = allowed && onPrincipal;
    };
    pair("mniManBaseDados", "spbManBaseDados", in && p.AcManBase && has(ShellFunction::ManBaseDados), true);
    pair("mniAprovaCertificados", "spbAprovaCertificados",
         in && p.AcAprovCertific && has(ShellFunction::AprovaCertificados), false);
    pair("mniAtualizTabKavorel", "spbAtualizTabKavorel",
         in && p.AcAtualTabAux && has(ShellFunction::AtualizTabKavorel), true);
    pair("mniCertificador", "spbCertificador", in && p.AcConfigOCC && has(ShellFunction::Certificador),
         false);
    pair("mniDiretorios", "spbDiretorios", in && p.AcConfigDir && has(ShellFunction::Diretorios), false);
    pair("mniCadUsuarios", "spbCadUsuarios", in && p.AcCadastraUsu && has(ShellFunction::CadUsuarios), false);
    pair("mniAlteraSenha", "spbAlteraSenha", in && has(ShellFunction::AlteraSenha), false);

    // "Controle de Remessas" is a sub-menu: the flag opens it, and each of its items needs its screen.
    const bool remessas = in && p.AcContRemessas;
    const bool gerar = remessas && has(ShellFunction::GerarRemessa);
    const bool envio = remessas && has(ShellFunction::EnvioTXT);
    e[QStringLiteral("mniGerarRemessa")] = gerar;
    e[QStringLiteral("mniEnvioTXT")] = envio;
    e[QStringLiteral("mniContRemessas")] = (gerar || envio) && onPrincipal;
    e[QStringLiteral("spbContRemessas")] = gerar && onPrincipal;
    return e;
}

const QStringList& copyNames() {
    static const QStringList all{QStringLiteral("mnuCopias"), QStringLiteral("mniFazerCopia"),
                                 QStringLiteral("mniRestaurarCopia")};
    return all;
}

QHash<QString, bool> copyControls(const ShellState& state) {
    const bool in = state.loggedIn;
    QHash<QString, bool> e;
    e[QStringLiteral("mnuCopias")] = in;
    e[QStringLiteral("mniFazerCopia")] = in;
    e[QStringLiteral("mniRestaurarCopia")] = in && state.permissions.AcConfigOCC && !state.workPageOpen;
    return e;
}

} // namespace ShellControls
