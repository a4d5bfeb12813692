#pragma once

class QCoreApplication;

// Qt's own texts (the file and print dialogs, the buttons of standard boxes, the context menus of
// text fields) in Brazilian Portuguese, from the translations Qt installs (Debian's
// qt6-translations-l10n). True when they were found and installed; without them Qt speaks English.
bool installQtTranslations(QCoreApplication& app);
