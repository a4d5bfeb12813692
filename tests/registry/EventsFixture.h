#pragma once

#include "Clock.h"
#include "Database.h"
#include "Eventos.h"
#include "ScriptedPrompts.h"
#include "Session.h"
#include "Sql.h"
#include "TestHome.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <gtest/gtest.h>

// A fresh database, a clock standing at 25/11/2015 14:03:59.250, scripted prompts and a session
// with the user "joao".
class EventsFixture : public ::testing::Test {
protected:
    EventsFixture()
        : db(home.openDatabase()), clock(QDateTime(QDate(2015, 11, 25), QTime(14, 3, 59, 250))),
          session(Database::ConnectionName, clock, prompts) {
        session.setUser(LoggedUser{QStringLiteral("joao"), QStringLiteral("OCC1"), Permissions::all()});
    }

    void insertCertificate(const QString& num, bool completo, bool aprovado, const QString& status = "A",
                           const QDate& emissao = QDate(2015, 1, 5)) {
        Sql::execute(
            db,
            "INSERT INTO CERTIFIC (SiglaCertificador, NumCertif, StatusCertificado, DataEmissao, "
            "Completo, Aprovado, DthStatusCertificado, DthUltAtualiz, UsuResp) "
            "VALUES ('OCC1', :num, :status, :emissao, :completo, :aprovado, :emissao, :emissao, 'ana')",
            {{":num", num},
             {":status", status},
             {":emissao", Sql::dateValue(emissao)},
             {":completo", completo},
             {":aprovado", aprovado}});
    }

    int count(const QString& sql) { return Sql::scalar(db, sql).toInt(); }

    // The rows of a statement, each as a record.
    QList<QSqlRecord> rows(const QString& sql) {
        QSqlQuery query = Sql::exec(db, sql);
        QList<QSqlRecord> all;
        while (query.next())
            all.append(query.record());
        return all;
    }

    static EventRow event(const QVariantList& key, const QString& evento, const QDateTime& when,
                          const QString& justificativa = "Motivo") {
        EventRow row;
        row.key = key;
        row.evento = evento;
        row.justificativa = justificativa;
        row.status = "A";
        row.statusDate = when;
        row.dthUltAtualiz = when;
        row.usuResp = "joao";
        return row;
    }

    TestHome home;
    QSqlDatabase db;
    ManualClock clock;
    ScriptedPrompts prompts;
    Session session;
};
