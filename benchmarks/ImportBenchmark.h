#pragma once

#include <QString>

// Two cases, each timed against plain prepared inserts of the same rows in one transaction, in the
// same run: a generated "TX-" file of `records` records (every record type, one certificate per 25
// records and one shared company), and one of a single certificate with `units` units of one
// product, each unit with its event (thousands of history notes of one certificate). Writes the
// files and the databases (with the sample reference data) into `directory`. Prints the times,
// their ratios and the process's peak memory. Returns false when an import did not go through.
bool benchImport(int records, int units, const QString& directory, const QString& sampleReferenceSql);

// Writes a generated "TX-" file of `records` records for the certifier "OCC1": one shared company,
// then every record type per certificate, the certificates numbered from `firstCertificate`.
void writeImportFile(const QString& path, int records, int firstCertificate = 0);
