#include "TDMCapaSistema.h"

#include "Database.h"
#include "Paths.h"
#include "Session.h"
#include "Sql.h"

TDMCapaSistema::TDMCapaSistema(Session& session) : session_(session) {}

QSqlDatabase TDMCapaSistema::database() {
    QSqlDatabase db = session_.database();
    if (db.isOpen())
        return db;
    return Database::open(Paths::databaseFile(), session_.connectionName());
}

QString TDMCapaSistema::siglaCertificadorConfigurada() {
    // The configuration is a single row; should there ever be more, the first one counts.
    const QVariant value =
        Sql::scalar(database(), QStringLiteral("SELECT SiglaCertificador FROM CONFIG_LOCAL LIMIT 1"));
    siglaCertificador_ = value.isNull() ? QString() : value.toString();
    return siglaCertificador_;
}

void TDMCapaSistema::salvaConfiguracao(const ConfigLocal& row) {
    ConfigLocalTable::save(database(), row);
    siglaCertificador_ = row.SiglaCertificador;
}
