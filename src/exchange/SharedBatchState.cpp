#include "SharedBatchState.h"

#include "Session.h"
#include "Sql.h"

QString SharedBatchState::withTrailingSlash(const QString& directory) {
    return directory.endsWith(QLatin1Char('/')) ? directory : directory + QLatin1Char('/');
}

void SharedBatchState::load(const QSqlDatabase& db, const LoggedUser& user) {
    Usuario = user.SiglaUsu;
    QSqlQuery query = Sql::exec(
        db, QStringLiteral("SELECT DirLocalSincr, DirLocalTransf, DirLocalRecepAux, EndKavorelEnvio, "
                           "EndKavorelResult, SiglaCertificador, NomeOCC, LoginFTP, SenhaFTP, EndSMTPHost, "
                           "EndSMTPPort, EndSMTPUsuario FROM CONFIG_LOCAL LIMIT 1"));
    if (!query.next())
        return;
    const auto text = [&](int i) { return query.value(i).toString(); };
    DirLocalSincr = withTrailingSlash(text(0));
    DirLocalTransf = withTrailingSlash(text(1));
    DirLocalRecepAux = withTrailingSlash(text(2));
    EndKavorelEnvio = text(3);
    EndKavorelResult = text(4);
    SiglaCertificador = text(5);
    NomeOCC = text(6);
    LoginFTP = text(7);
    SenhaFTP = text(8);
    EndSMTPHost = text(9);
    if (!text(10).trimmed().isEmpty()) {
        bool ok = false;
        const int port = text(10).trimmed().toInt(&ok);
        if (ok)
            EndSMTPPort = port;
    }
    EndSMTPUsuario = text(11);
}
