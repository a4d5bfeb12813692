#include "SettingsFunctions.h"

#include "CadastroUsuariosPage.h"
#include "ConfigPages.h"
#include "InstalaRelatorios.h"
#include "Session.h"
#include "TDMCapaSistema.h"
#include "TFrmAlteraSenha.h"
#include "TFrmCapaSistema.h"
#include "TFrmLoginUsuario.h"
#include "TFrmSenhaAdministrador.h"
#include "UsuLocal.h"

namespace {

void runLogin(TFrmCapaSistema& window, TDMCapaSistema& dm) {
    Session& session = window.session();
    // A new installation has no administrator password yet; nothing is usable until it is set.
    if (UsuLocalTable::administradorSemSenha(dm.database())) {
        TFrmSenhaAdministrador first(session, &window);
        if (first.exec() != QDialog::Accepted) {
            window.close();
            return;
        }
    }
    TFrmLoginUsuario login(session, &window);
    login.exec();
    switch (login.outcome()) {
    case TFrmLoginUsuario::Outcome::LoggedIn:
        window.applyLogin(login.user());
        break;
    case TFrmLoginUsuario::Outcome::Cancelled:
        window.close(); // closing the main window ends the program
        break;
    case TFrmLoginUsuario::Outcome::Closed:
        break; // whoever was logged in stays
    }
}

template <typename Page>
void installPage(TFrmCapaSistema& window, TFrmCapaSistema::PageId id, ShellFunction function, Page* page) {
    window.setPage(id, page);
    QObject::connect(page, &Page::finished, &window, &TFrmCapaSistema::returnToMainPage);
    window.registerFunction(function, [page] { page->open(); });
}

} // namespace

void installSettingsFunctions(TFrmCapaSistema& window, TDMCapaSistema& dm) {
    Session& session = window.session();
    window.setLoginHook([&window, &dm] { runLogin(window, dm); });
    window.registerFunction(ShellFunction::AlteraSenha, [&window, &session] {
        TFrmAlteraSenha dialog(session, &window);
        dialog.exec();
    });
    auto* certificador = new ConfigCertificadorPage(session, dm);
    installPage(window, TFrmCapaSistema::PageId::ConfigCertificador, ShellFunction::Certificador,
                certificador);
    // Saving the acronym writes it into every user's row: the status bar shows it at once.
    QObject::connect(certificador, &ConfigCertificadorPage::saved, &window, [&window, &dm] {
        LoggedUser user = window.session().user();
        if (!user.isLoggedIn())
            return;
        if (const std::optional<Usuario> row = UsuLocalTable::find(dm.database(), user.SiglaUsu)) {
            user.SiglaCertificador = row->SiglaCertificador;
            window.applyLogin(user);
        }
    });
    installPage(window, TFrmCapaSistema::PageId::ConfiguraDiretorios, ShellFunction::Diretorios,
                new ConfiguraDiretoriosPage(session, dm));
    auto* usuarios = new CadastroUsuariosPage(session, dm);
    usuarios->setListagem([&session](QWidget* parent) {
        InstalaRelatorios::listaUsuarios(session, mostraNaPrevia(session.prompts()), parent);
    });
    installPage(window, TFrmCapaSistema::PageId::CadastroUsuarios, ShellFunction::CadUsuarios, usuarios);
}
