#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <cstdint>

// Fills a database with an invented register of realistic shape, for measuring the exchange on
// registers of the size a certification body reaches. Seeded: the same settings give the same rows.
//
// Per certificate: 2 or 3 company links (companies shared between certificates), 2 type lines, one
// lot and 5 units (each on a product of its own), their normative-document links, one service on
// every tenth certificate (certificate class "SERV"), and the events a register of that age holds
// (an inclusion for every item and document link, an approval for approved certificates).
struct GeneratorSettings {
    int certificates = 1000;
    std::uint32_t seed = 1;
    QString sigla = QStringLiteral("OCC1");
    int approvedPercent = 90; // complete and approved; the others are still being edited
    QDateTime now = QDateTime(QDate(2026, 1, 15), QTime(10, 0));
};

struct GeneratedCounts {
    qint64 rows = 0; // rows written, all tables together
    int certificates = 0;
};

// Writes the register in one transaction, numbering events as the program does (over the whole
// table, then within the certificate past the 16-bit ceiling). Loads the sample reference data and
// the configuration row for the acronym when the database has none. Throws DbError.
GeneratedCounts generateRegister(const QSqlDatabase& db, const GeneratorSettings& settings,
                                 const QString& sampleReferenceSql);

// Loads the sample reference data (with the accreditations of `sigla`) when the database has no
// reference rows, and configures `sigla` when the database has no configuration. Throws DbError.
void ensureReference(const QSqlDatabase& db, const QString& sigla, const QString& sampleReferenceSql);

// Brings every replica level with its live table (what an accepted complete batch leaves).
void levelReplicas(const QSqlDatabase& db);

// Changes about `percent` of the approved certificates as users do between two batches: a field of
// the certificate altered and one cleared, a unit's installation place set from empty, a unit
// removed and another added, each with its event, and the certificate approved again.
// Returns the number of certificates changed.
int changeCertificates(const QSqlDatabase& db, double percent, std::uint32_t seed, const QDateTime& now);
