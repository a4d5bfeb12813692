#pragma once

#include <QSqlDatabase>
#include <QString>

class Clock;
class Prompts;

// Installs the package `arquivo` (a name in the reception directory `diretorioRecepcao`) as version
// `numero`: unpacks it into a fresh temporary directory (the archive stays; nothing else lying in
// the reception directory is ever merged), merges the package's own tables into the reference
// tables in their fixed order (a row whose key is present replaces it, others are added, absent
// rows stay) and records the version in CONTROLE_AUX, all in one transaction, and removes the
// unpacked files in every case. On failure nothing changes; the box "Ocorreu um Erro na
// Atualização." is shown and false returned, with the reason in *detalhe.
bool InstalaVersao(const QSqlDatabase& db, const Clock& clock, Prompts& prompts,
                   const QString& diretorioRecepcao, const QString& arquivo, const QString& numero,
                   QString* detalhe = nullptr);

// The reference tables of the package unpacked in `diretorio` merged into the database, inside the
// caller's transaction; returns how many tables were applied. Throws DbError.
int AplicaTabelasReferencia(const QSqlDatabase& db, const QString& diretorio);
