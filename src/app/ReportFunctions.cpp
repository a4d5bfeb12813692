#include "ReportFunctions.h"

#include "DbError.h"
#include "InstalaRelatorios.h"
#include "TFrmCapaSistema.h"

void installReports(TFrmCapaSistema& window) {
    window.setLoginNotice([&window]() -> QString {
        try {
            return InstalaRelatorios::avisoAVencer(window.session());
        } catch (const DbError&) {
            return {}; // a notice never stands in the way of the login
        }
    });
}
