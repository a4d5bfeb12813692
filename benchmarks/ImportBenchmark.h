#pragma once

#include <QString>

// The import of a generated "TX-" file of `records` records (every record type, one certificate per
// 25 records and one shared company), timed against plain prepared inserts of the same rows in one
// transaction, in the same run. Writes the file and two databases into `directory`. Prints the times,
// their ratio and the process's peak memory. Returns false when the import did not go through.
bool benchImport(int records, const QString& directory);

// Writes a generated "TX-" file of `records` records for the certifier "OCC1": one shared company,
// then every record type per certificate, the certificates numbered from `firstCertificate`.
void writeImportFile(const QString& path, int records, int firstCertificate = 0);
