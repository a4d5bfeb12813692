#pragma once

#include "ConfigLocal.h"

#include <QSqlDatabase>
#include <QString>

class Session;

// The data module of the database "CapaCertific", its users and its configuration. Created once at
// start-up and alive until the end; no table is opened before it is first needed.
class TDMCapaSistema {
public:
    explicit TDMCapaSistema(Session& session);

    // The connection, opened (and created from the schema when the file is missing) on first use.
    // Throws DbError when the database cannot be reached.
    QSqlDatabase database();

    // Reads SiglaCertificador from the configuration row and keeps it; empty when the installation
    // has no configuration row yet or the column is NULL. Throws DbError.
    QString siglaCertificadorConfigurada();

    // Saves the configuration row and takes its acronym. Throws DbError.
    void salvaConfiguracao(const ConfigLocal& row);

    // The acronym as last read from the configuration.
    const QString& siglaCertificador() const { return siglaCertificador_; }

    Session& session() const { return session_; }

private:
    Session& session_;
    QString siglaCertificador_;
};
