#pragma once

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

// Approval of certificates for sending: only a complete certificate not yet approved can be
// approved; each approval sets Aprovado and leaves an APR event of the certificate.
namespace Aprovacao {

// The candidates, in the order the database returns them.
inline const QString SqlCandidatos =
    QStringLiteral("select SiglaCertificador, NumCertif,StatusCertificado, DthStatusCertificado "
                   "from certific "
                   "where ( ( completo = true) and (aprovado = false) )");

inline const QString MensagemErro =
    QStringLiteral("Erro na aprovação de certificados !!! As alterações não foram efetuadas.");

struct Candidato {
    QString SiglaCertificador;
    QString NumCertif;
    QString StatusCertificado; // written unchanged into the APR event
    QDateTime DthStatusCertificado;
};

QList<Candidato> candidatos(const QSqlDatabase& db);

// Approves the certificates in one transaction: Aprovado = True and an APR event for each. Any
// failure, the event of any one of them included, rolls back all of them and throws DbError.
void aprova(const QSqlDatabase& db, const QList<Candidato>& selecionados, const QString& usuario,
            const QDateTime& agora);

} // namespace Aprovacao
