#pragma once

#include "EstruturaRegistro.h"

#include <QSet>
#include <QSqlDatabase>
#include <QString>

// The codes of the reference tables that import records point at: countries, company roles and
// the classes of certificate, product and service. A record whose code the tables lack would drop
// out of every report that joins them, so it is refused. The tables are small and change only
// with a reference package: they are read once per file.
class CodigosReferencia {
public:
    // Throws DbError.
    static CodigosReferencia carrega(const QSqlDatabase& db);

    // Whether the table that `verificacao` names holds `codigo` (the field's stored value: trimmed,
    // a country in upper case). Numbers are compared as numbers. False for any other check.
    bool contem(Verificacao verificacao, const QString& codigo) const;

private:
    QSet<QString> paises_;
    QSet<QString> classesCertificado_;
    QSet<int> papeis_;
    QSet<int> classesProduto_;
    QSet<int> classesServico_;
};
