#include "ApprovalFunctions.h"
#include "Clock.h"
#include "Database.h"
#include "ErrorHandler.h"
#include "ExchangeFunctions.h"
#include "LocalTime.h"
#include "QtPrompts.h"
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

    SystemClock clock;
    QtPrompts prompts;
    ErrorHandler errors(clock, prompts);
    app.setErrorHandler(&errors);
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
    const int result = app.exec();

    app.setErrorHandler(nullptr);
    Database::close();
    return result;
}
