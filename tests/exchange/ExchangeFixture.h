#pragma once

#include "BatchControl.h"
#include "Clock.h"
#include "Database.h"
#include "ParadoxTable.h"
#include "PreparaRemessa.h"
#include "ScriptedPrompts.h"
#include "Session.h"
#include "SharedBatchState.h"
#include "Sql.h"
#include "TestHome.h"

#include "PrintQString.h"
#include <QDir>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>
#include <gtest/gtest.h>

// The values of one row by column name.
using Row = QVariantMap;

// A fresh installation of the certifier "OCC" with its three directories, the user "maria" and a
// clock at 05/03/2024 10:00. Registers are built row by row: every column of a table is filled
// with a value of its declared type (so every column travels), the keys from the arguments.
class ExchangeFixture : public ::testing::Test {
protected:
    TestHome home;
    QSqlDatabase db;
    ManualClock clock{QDateTime(QDate(2024, 3, 5), QTime(10, 0, 0))};
    ScriptedPrompts prompts;
    Session session{Database::ConnectionName, clock, prompts};
    SharedBatchState state;
    std::atomic_bool interromper{false};

    void SetUp() override;

    QString today() const { return clock.today().toString(QStringLiteral("yyyyMMdd")); }
    QString transf() const { return home.path() + QStringLiteral("Transf/"); }

    // Inserts a row with every column filled (text columns with "<column>-<tag>", numbers 1,
    // booleans true, date-times a fixed moment), the given values taking precedence.
    void insertFull(const QString& table, const Row& values, const QString& tag = QStringLiteral("v"));
    // One certificate with a row in every table that hangs off it, its company and its product.
    // Every key carries the suffix, so two certificates share nothing unless told.
    void certificado(const QString& numero, bool aprovado,
                     const QString& empresa = QStringLiteral("12345678000199"),
                     const QString& marca = QStringLiteral("Marca"));
    void aprova(const QString& numero, bool aprovado = true);
    // The authority accepted everything: every replica becomes its live table.
    void nivelaReplicas();
    // Appends a batch event.
    void evento(const QString& numero, const QString& evento, const QString& tipo = QStringLiteral("C"),
                int segundosAtras = 0);

    PreparationResult prepara(const QString& tipo = QStringLiteral("C"), bool confirmada = false,
                              const PreparationProgressFn& progresso = {});

    // The entries of an archive (unzip -Z1), sorted.
    static QStringList entriesOf(const QString& archive);
    // Unpacks with unzip into a fresh directory under the home; returns it.
    QString unpack(const QString& archive);
    // The rows of a Paradox table, each as text per column (see textOf).
    static QList<QStringList> paradoxRows(const QString& path);
    // The rows of a statement, the same way.
    QList<QStringList> sqlRows(const QString& sql) const;
    // Files (and directories) left in the transfer directory.
    QStringList transferFiles() const;

    static QString textOf(const QVariant& value);
};

// The Paradox columns a live table must give, derived from its declared types in the catalogue.
QList<ParadoxField> expectedFieldsOf(const QSqlDatabase& db, const QString& table);
