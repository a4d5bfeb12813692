#include "VersionsFunctions.h"

#include "TFrmCapaSistema.h"
#include "TFrmPrincipalVersoes.h"

void installVersions(TFrmCapaSistema& window) {
    window.registerFunction(ShellFunction::AtualizTabKavorel, [&window] {
        // The register reads the reference tables each time it opens, so an installed version is
        // what its drop-downs offer next.
        TFrmPrincipalVersoes form(window.session(), &window);
        form.exec();
    });
}
