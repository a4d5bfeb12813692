#pragma once

#include "Clock.h"
#include "Database.h"
#include "Modal.h"
#include "ScriptedPrompts.h"
#include "Session.h"
#include "TDMCapaSistema.h"
#include "TFrmCapaSistema.h"
#include "TestHome.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// A main window over a fresh base directory, with scripted prompts and a clock that stands still.
struct ShellFixture {
    TestHome home;
    ManualClock clock{QDateTime(QDate(2015, 11, 25), QTime(14, 3, 59))};
    ScriptedPrompts prompts;
    Session session{Database::ConnectionName, clock, prompts};
    TFrmCapaSistema window{session};
    TDMCapaSistema capaSistema{session};

    ShellFixture() { window.setCapaSistema(&capaSistema); }

    // Enabled state of a menu, menu item or speed button found by its objectName.
    bool enabled(const QString& name) const {
        if (auto* menu = window.findChild<QMenu*>(name))
            return menu->menuAction()->isEnabled();
        if (auto* action = window.findChild<QAction*>(name))
            return action->isEnabled();
        if (auto* button = window.findChild<QAbstractButton*>(name))
            return button->isEnabled();
        ADD_FAILURE() << "no control named " << name.toStdString();
        return false;
    }

    // Makes every function available; the operations count their runs in `runs`.
    void registerAll() {
        for (ShellFunction f : allFunctions)
            window.registerFunction(f, [this, f] { runs.append(f); });
    }

    static inline const QList<ShellFunction> allFunctions{
        ShellFunction::ManBaseDados, ShellFunction::AprovaCertificados, ShellFunction::GerarRemessa,
        ShellFunction::EnvioTXT,     ShellFunction::AtualizTabKavorel,  ShellFunction::Certificador,
        ShellFunction::Diretorios,   ShellFunction::CadUsuarios,        ShellFunction::AlteraSenha,
        ShellFunction::Login};

    QList<ShellFunction> runs;
};

inline LoggedUser userWith(const QString& sigla, Permissions permissions, const QString& organismo = "OCC1") {
    return LoggedUser{sigla, organismo, permissions};
}
