#pragma once

#include "Clock.h"
#include "ConfigLocal.h"
#include "Database.h"
#include "Modal.h"
#include "PrintQString.h"
#include "ScriptedPrompts.h"
#include "Session.h"
#include "SharedBatchState.h"
#include "Sql.h"
#include "TestHome.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QSqlQuery>
#include <QTableView>
#include <gtest/gtest.h>

// A fresh database configured for the certifier "OCC1" with its three local directories, a clock
// standing at 25/11/2015 14:03:59.250, scripted prompts and the user "joao" with every permission.
class RemessasFixture : public ::testing::Test {
protected:
    RemessasFixture()
        : db(home.openDatabase()), clock(QDateTime(QDate(2015, 11, 25), QTime(14, 3, 59, 250))),
          session(Database::ConnectionName, clock, prompts) {
        session.setUser(LoggedUser{QStringLiteral("joao"), QStringLiteral("OCC1"), Permissions::all()});
        transf = home.path() + "Transf/";
        for (const char* dir : {"Sincr", "Transf", "Aux"})
            QDir(home.path()).mkpath(QString::fromLatin1(dir));
        ConfigLocal config;
        config.SiglaCertificador = "OCC1";
        config.NomeOCC = "Organismo Um";
        config.DirLocalSincr = home.path() + "Sincr/";
        config.DirLocalTransf = transf;
        config.DirLocalRecepAux = home.path() + "Aux/";
        ConfigLocalTable::save(db, config);
    }

    // One event of CONTROLE, `secs` seconds after 25/11/2015 08:00.
    void event(const QString& numero, const QString& tipo, const QString& evento, int secs,
               const QString& obs = {}) {
        Sql::execute(
            db,
            "INSERT INTO CONTROLE (DataHoraEvento, NumeroRemessa, TipoRemessa, Evento, Usuario, Obs) "
            "VALUES (:d, :n, :t, :e, 'ana', :o)",
            {{":d", QDateTime(QDate(2015, 11, 25), QTime(8, 0)).addSecs(secs)},
             {":n", numero},
             {":t", tipo},
             {":e", evento},
             {":o", obs.isEmpty() ? QVariant() : QVariant(obs)}});
    }

    void insertCertificate(const QString& num, bool aprovado) {
        Sql::execute(
            db,
            "INSERT INTO CERTIFIC (SiglaCertificador, NumCertif, StatusCertificado, DataEmissao, "
            "Completo, Aprovado, DthStatusCertificado, DthUltAtualiz, UsuResp) "
            "VALUES ('OCC1', :num, 'A', '2015-01-05T00:00:00.000', 1, :aprovado, '2015-01-05T00:00:00.000', "
            "'2015-01-05T00:00:00.000', 'ana')",
            {{":num", num}, {":aprovado", aprovado}});
    }

    // Brings the replicas of the three settings tables level with the live ones, so only the
    // certificates make differences.
    void settingsAlreadySent() {
        for (const char* t : {"CONFIG_LOCAL", "SIGNATARIOS", "USU_LOCAL"})
            Sql::execute(db, QStringLiteral("INSERT INTO REP_%1 SELECT * FROM %1").arg(QLatin1String(t)));
    }

    int count(const QString& sql) { return Sql::scalar(db, sql).toInt(); }

    void touch(const QString& name) {
        QFile f(transf + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }

    // The keyboard mnemonics ("&x") used more than once among the captions of the window.
    static QStringList repeatedMnemonics(QWidget* window) {
        QStringList texts;
        for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
            texts.append(b->text());
        for (QLabel* l : window->findChildren<QLabel*>())
            texts.append(l->text());
        for (QGroupBox* g : window->findChildren<QGroupBox*>())
            texts.append(g->title());
        QStringList seen, repeated;
        for (const QString& text : texts) {
            const qsizetype at = text.indexOf('&');
            if (at < 0 || at + 1 >= text.size())
                continue;
            const QString key = text.mid(at + 1, 1).toLower();
            (seen.contains(key) ? repeated : seen).append(key);
        }
        return repeated;
    }

    static QStringList column(QTableView* grid, int col) {
        QStringList values;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            values.append(grid->model()->index(r, col).data().toString());
        return values;
    }

    TestHome home;
    QSqlDatabase db;
    ManualClock clock;
    ScriptedPrompts prompts;
    Session session;
    SharedBatchState state;
    QString transf;
};
