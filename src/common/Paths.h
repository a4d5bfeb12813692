#pragma once

#include <QString>

// Where the program keeps its files. The base directory holds the database, the work directory
// "Trabalho/", the error log and the program's settings file. It is the program's own directory when writable
// (the layout the users know), otherwise the per-user data directory; TARVENDIX_HOME overrides both.
namespace Paths {

QString baseDirectory(); // absolute, with a trailing "/", created when missing
QString databaseFile();  // <base>/CapaCertific.db
QString workDirectory(); // <base>/Trabalho/
QString errorLogFile();  // <base>/<program name>-LOGERROS.log
QString settingsFile();  // <base>/tarvendix.conf
QString withTrailingSlash(const QString& directory);

} // namespace Paths
