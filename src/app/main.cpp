#include "ApprovalFunctions.h"
#include "Clock.h"
#include "Database.h"
#include "ErrorHandler.h"
#include "ExchangeFunctions.h"
#include "LocalTime.h"
#include "ProgramHelp.h"
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

#include <cstdio>

int main(int argc, char** argv) {
    // Answered before the application is made, so they need no display.
    if (const std::optional<QString> answer = ProgramHelp::answerTo(argc, argv)) {
        QByteArray text = answer->toUtf8();
        if (!text.endsWith('\n'))
            text += '\n';
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return 0;
    }
    pinLocalTimeZone();
    TarvendixApplication app(argc, argv);
    // The title the users know; the display name follows it.
    QApplication::setApplicationName(QStringLiteral("Tarvendix"));
    // The standard dialogs (file choosers, printing) in Portuguese like the rest of the program.
    installQtTranslations(app);
    // The desktop entry it is started from, for the desktop to match its windows to it.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tarvendix.Tarvendix"));

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
