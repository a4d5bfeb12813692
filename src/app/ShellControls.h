#pragma once

#include "Session.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <set>

// The functions of the main window that run a screen of their own. A function becomes available
// when its screen registers it with the window; until then its menu item and speed button stay
// disabled whatever the user's permissions, so no control leads nowhere.
enum class ShellFunction {
    ManBaseDados,       // the registry screen
    AprovaCertificados, // the approval page
    GerarRemessa,       // the batch-control screen
    EnvioTXT,           // the text-file delivery screen
    AtualizTabKavorel,  // the reference-table versions screen
    Certificador,       // the certifier page
    Diretorios,         // the directories page
    CadUsuarios,        // the users page
    AlteraSenha,        // the password change
    Login,              // the login dialog
};

// What decides which controls of the main window are enabled.
struct ShellState {
    bool loggedIn = false; // the login has run (a user may still be missing if it was closed)
    Permissions permissions;
    bool workPageOpen = false; // one of the pages other than "Principal" is shown
    std::set<ShellFunction> available;
};

namespace ShellControls {

// The objectNames of every control the rules decide on: the menus, the menu items and the speed
// buttons of the main window.
const QStringList& names();

// Enabled state of each control named by names().
QHash<QString, bool> enabled(const ShellState& state);

// The menu "Cópia de Segurança": any logged-in user may make a copy; restoring one replaces the
// whole database, so it takes the certifier's configuration permission and no work page open.
const QStringList& copyNames();
QHash<QString, bool> copyControls(const ShellState& state);

} // namespace ShellControls
