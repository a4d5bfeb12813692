#include "RegistryFunctions.h"

#include "InstalaImportacao.h"
#include "InstalaRelatorios.h"
#include "MontaRegistro.h"
#include "Pictures.h"
#include "TDMCapaSistema.h"
#include "TDMCertif.h"
#include "TFormPrincipal.h"
#include "TFrmCapaSistema.h"

#include <QLabel>
#include <memory>

void installRegistry(TFrmCapaSistema& window, TDMCapaSistema& dm) {
    auto certif = std::make_shared<TDMCertif>(dm.session());
    window.registerFunction(ShellFunction::ManBaseDados, [&window, &dm, certif] {
        TFormPrincipal form(*certif, &window);
        montaRegistro(form);
        instalaImportacao(form, dm);
        InstalaRelatorios::noRegistro(form, dm.session(), mostraNaPrevia(dm.session().prompts()));
        form.setImagem(Pictures::banner(QSize(640, 280), QStringLiteral("Manutenção da Base de Dados")));
        // The status bar of the main panel repeats the shell's user and version texts.
        const auto text = [&window](const char* name) {
            const auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
            return label ? label->text() : QString();
        };
        form.setTextosStatus(text("StatusBar1Panel0"), text("StatusBar1Panel1"));
        form.exec();
    });
}
