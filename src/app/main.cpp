#include "ApprovalFunctions.h"
#include "Clock.h"
#include "Database.h"
#include "ErrorHandler.h"
#include "ExchangeFunctions.h"
#include "LocalTime.h"
#include "QtPrompts.h"
#include "QtTranslations.h"
#include "RegistryFunctions.h"
#include "ReportFunctions.h"
#include "Session.h"
#include "SettingsFunctions.h"
#include "TDMCapaSistema.h"
#include "TFrmCapaSistema.h"
#include "TarvendixApplication.h"
#include "VersionsFunctions.h"

int main(int argc, char** argv) {
    pinLocalTimeZone();
    TarvendixApplication app(argc, argv);
    // The title the users know; the display name follows it.
    QApplication::setApplicationName(QStringLiteral("Tarvendix"));
    // The standard dialogs (file choosers, printing) in Portuguese like the rest of the program.
    installQtTranslations(app);

    SystemClock clock;
    QtPrompts prompts;
    ErrorHandler errors(clock, prompts);
    app.setErrorHandler(&errors);
    int result = 1;
    try {
        Session session(Database::ConnectionName, clock, prompts);

        TFrmCapaSistema window(session);
        prompts.setParent(&window);

        // The data modules, created in this order and alive until the end. None opens a table yet.
        TDMCapaSistema capaSistema(session);
        window.setCapaSistema(&capaSistema);
        installSettingsFunctions(window, capaSistema);
        installRegistry(window, capaSistema);
        installApprovalPage(window);
        installVersions(window);
        installExchange(window);
        installReports(window);
        // TDMDocNorm is made by the normative-documents screen for the item it opens on.

        window.show();
        window.scheduleStartupCheck();
        result = app.exec();
    } catch (...) {
        // An error while the window is made (the event loop's own go through notify()): told and
        // logged like any other, then the program ends.
        prompts.setParent(nullptr);
        errors.handleCurrentException();
        result = 1;
    }

    app.setErrorHandler(nullptr);
    Database::close();
    return result;
}
