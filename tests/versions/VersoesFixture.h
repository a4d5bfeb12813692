#pragma once

#include "Clock.h"
#include "Database.h"
#include "EngineServices.h"
#include "PacoteReferencia.h"
#include "ParadoxTable.h"
#include "SampleReference.h"
#include "ScriptedPrompts.h"
#include "Sql.h"
#include "TestHome.h"
#include "Versoes.h"

#include <QDir>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A live database with the sample reference data, a reception directory, and a second database
// from which the tests write the authority's packages.
class VersoesFixture : public ::testing::Test {
protected:
    VersoesFixture() : db(home.openDatabase()), clock(QDateTime(QDate(2026, 3, 2), QTime(9, 0))) {
        loadSampleReference(db, "OCC1");
        reception = QDir(home.path()).filePath("recepcao");
        QDir().mkpath(reception);
        sourceDb = Database::open(sourceDir.filePath("autoridade.db"), QStringLiteral("autoridade"));
        loadSampleReference(sourceDb, "OCC1");
    }
    ~VersoesFixture() override {
        sourceDb = QSqlDatabase();
        Database::close(QStringLiteral("autoridade"));
    }

    QString count(const QString& sql) const { return Sql::scalar(db, sql).toString(); }
    void onSource(const QString& sql) { Sql::exec(sourceDb, sql); }
    QString package(const QString& numero, const QStringList& tables = Versoes::tabelasReferencia(),
                    const QString& directory = {}) {
        return escrevePacoteReferencia(sourceDb, prompts, directory.isEmpty() ? reception : directory, numero,
                                       tables, ParadoxTable::SenhaTabelas);
    }
    // A full snapshot of the twelve tables and the history, to compare before and after.
    QString snapshot() const {
        QStringList all;
        for (const QString& table : Versoes::tabelasReferencia() + QStringList{"CONTROLE_AUX"}) {
            QSqlQuery q = Sql::exec(db, QStringLiteral("SELECT * FROM %1").arg(table));
            while (q.next()) {
                QString row = table + ':';
                for (int i = 0; i < q.record().count(); ++i)
                    row += q.value(i).toString() + '|';
                all << row;
            }
        }
        all.sort();
        return all.join('\n');
    }

    TestHome home;
    QSqlDatabase db;
    ManualClock clock;
    ScriptedPrompts prompts;
    QString reception;
    QTemporaryDir sourceDir;
    QSqlDatabase sourceDb;
};
