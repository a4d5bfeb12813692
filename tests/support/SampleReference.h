#pragma once

#include <QSqlDatabase>
#include <QString>

// Loads the invented sample reference data (scripts/sample-reference.sql) with the certifier
// accredited under `sigla`: countries with "Brasil" (BR), the states, company roles, classes of
// certificate (COMP, VOL, SERV), of product (110, 200 accredited; 120 not) and of service (10
// accredited), kinds of document and a few normative documents.
void loadSampleReference(const QSqlDatabase& db, const QString& sigla);
