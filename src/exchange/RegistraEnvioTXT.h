#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

// The register of delivered text files, CONTROLE_TXT (a routine of the batch data module).

// Appends the row of a delivered text file: the time, the file's name as chosen (with ".txt"), the
// remark (empty for FTP and e-mail, the floppy remark for media), the user and ENVIADOKAVOREL "S".
// True when written; false on any database error, whose text goes to *erro when given.
bool RegistraEnvioTXT(const QSqlDatabase& db, const QDateTime& quando, const QString& nomeArquivo,
                      const QString& obs, const QString& usuario, QString* erro = nullptr);
