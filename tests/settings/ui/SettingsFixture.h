#pragma once

#include "Clock.h"
#include "ConfigLocal.h"
#include "Database.h"
#include "ScriptedPrompts.h"
#include "Session.h"
#include "TDMCapaSistema.h"
#include "TestHome.h"
#include "UsuLocal.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

// A fresh installation: empty database with only the administrator, no configuration.
class SettingsFixture : public ::testing::Test {
protected:
    SettingsFixture()
        : clock(QDateTime(QDate(2026, 12, 9), QTime(10, 0))),
          session(Database::ConnectionName, clock, prompts), dm(session) {
        dm.database();
    }

    QSqlDatabase db() { return dm.database(); }

    void configure(const QString& sigla) {
        ConfigLocal row;
        row.SiglaCertificador = sigla;
        row.NomeOCC = QStringLiteral("Organismo de Teste");
        dm.salvaConfiguracao(row);
    }

    void addUser(const QString& sigla, const QString& senha, Permissions permissions = {}) {
        Usuario u;
        u.SiglaUsu = sigla;
        u.SiglaCertificador = dm.siglaCertificador();
        u.NomeUsu = sigla;
        u.SenhaUsu = Senhas::embaralha(senha);
        u.permissions = permissions;
        UsuLocalTable::insert(db(), u);
    }

    template <typename T = QWidget> static T* child(QWidget* parent, const char* name) {
        T* found = parent->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << "no control " << name;
        return found;
    }

    static void type(QWidget* parent, const char* name, const QString& text) {
        QLineEdit* edit = child<QLineEdit>(parent, name);
        edit->clear();
        // QTest types ASCII only; other characters are inserted as one edit.
        bool ascii = true;
        for (const QChar c : text)
            ascii = ascii && c.unicode() < 128;
        if (ascii)
            QTest::keyClicks(edit, text);
        else
            edit->insert(text);
    }

    static void click(QWidget* parent, const char* name) {
        QTest::mouseClick(child<QPushButton>(parent, name), Qt::LeftButton);
    }

    TestHome home;
    ManualClock clock;
    ScriptedPrompts prompts;
    Session session;
    TDMCapaSistema dm;
};
