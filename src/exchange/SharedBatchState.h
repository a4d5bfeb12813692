#pragma once

#include <QSqlDatabase>
#include <QString>

struct LoggedUser;

// The values every batch screen and operation shares: the configuration they need (loaded when
// the batch control opens), the signed-in user, and the batch the user picked last. Directories
// are held with a trailing "/".
struct SharedBatchState {
    QString DirLocalSincr;
    QString DirLocalTransf;
    QString DirLocalRecepAux; // needed by the run-time directory check
    QString EndKavorelEnvio;
    QString EndKavorelResult;
    QString SiglaCertificador;
    QString NomeOCC;
    QString LoginFTP;
    QString SenhaFTP;
    QString EndSMTPHost;
    int EndSMTPPort = 0; // read only when the column is not empty; otherwise the previous value stays
    QString EndSMTPUsuario;
    QString Usuario; // SiglaUsu of the signed-in user

    // The batch the last button acted on.
    QString NumeroRemessa; // 10 characters
    QString TipoRemessa;   // "C" partial, "T" complete

    // Reads CONFIG_LOCAL (its first row; nothing changes when there is none) and takes the user.
    // Throws DbError.
    void load(const QSqlDatabase& db, const LoggedUser& user);

    // The directories as read (with the trailing "/"); empty text stays "/" like the original
    // "\" of an empty setting.
    static QString withTrailingSlash(const QString& directory);
};
