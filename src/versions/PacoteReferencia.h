#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class Prompts;

// Writes the reference tables of a database as a version package "OC-TAB-" + numero + ".zip" in
// `diretorio`, the way the authority publishes them: one Paradox table per reference table (only
// those named in `tabelas`), optionally protected with a table password. Used to make the sample
// package and the packages of the tests. Returns the archive's path; throws DbError.
QString escrevePacoteReferencia(const QSqlDatabase& db, Prompts& prompts, const QString& diretorio,
                                const QString& numero, const QStringList& tabelas, const QString& senha = {});
