#pragma once

#include "Session.h"

#include <QSqlDatabase>
#include <QString>
#include <optional>

// A user of the installation: a row of USU_LOCAL.
struct Usuario {
    QString SiglaUsu;
    QString SiglaCertificador;
    QString NomeUsu;
    QString SenhaUsu; // scrambled
    Permissions permissions;
};

namespace UsuLocalTable {

inline const QString Administrador = QStringLiteral("admin");

// The row whose login name matches, whatever its case ("MARIA" finds "maria"); the row keeps its own.
std::optional<Usuario> find(const QSqlDatabase& db, const QString& siglaUsu);
void insert(const QSqlDatabase& db, const Usuario& user);
// Saves the row formerly known as originalSigla (the login name may have been edited).
void update(const QSqlDatabase& db, const QString& originalSigla, const Usuario& user);
void remove(const QSqlDatabase& db, const QString& siglaUsu);
void setSenha(const QSqlDatabase& db, const QString& siglaUsu, const QString& senhaEmbaralhada);

// True while the administrator has no password (a new installation).
bool administradorSemSenha(const QSqlDatabase& db);

} // namespace UsuLocalTable

namespace Senhas {

// Passwords are 1 to 9 characters, blanks around them never count, and they are scrambled over
// their Windows-1252 bytes. The reason a typed password cannot be stored, or empty when it can.
QString problema(const QString& senhaDigitada);
// The scrambled form stored in SenhaUsu (the password trimmed first).
QString embaralha(const QString& senhaDigitada);
// True when the typed password matches the stored scrambled one.
bool confere(const QString& senhaDigitada, const QString& senhaEmbaralhada);

} // namespace Senhas
