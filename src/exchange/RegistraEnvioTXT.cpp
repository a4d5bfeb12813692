#include "RegistraEnvioTXT.h"

#include "DbError.h"
#include "Sql.h"

bool RegistraEnvioTXT(const QSqlDatabase& db, const QDateTime& quando, const QString& nomeArquivo,
                      const QString& obs, const QString& usuario, QString* erro) {
    try {
        Sql::execute(
            db,
            QStringLiteral("INSERT INTO CONTROLE_TXT(DATAHORAEVENTO,NOMEARQUIVO,OBS,USURESP,ENVIADOKAVOREL) "
                           "VALUES(:DATAHORAEVENTO,:NOMEARQUIVO,:OBS,:USURESP,:ENVIADOKAVOREL)"),
            {{QStringLiteral(":DATAHORAEVENTO"), quando},
             {QStringLiteral(":NOMEARQUIVO"), nomeArquivo},
             {QStringLiteral(":OBS"), obs},
             {QStringLiteral(":USURESP"), usuario},
             {QStringLiteral(":ENVIADOKAVOREL"), QStringLiteral("S")}});
        return true;
    } catch (const DbError& failure) {
        if (erro)
            *erro = failure.message();
        return false;
    }
}
