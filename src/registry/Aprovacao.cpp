#include "Aprovacao.h"

#include "DbError.h"
#include "Eventos.h"
#include "Sql.h"
#include "Transaction.h"

namespace Aprovacao {

QList<Candidato> candidatos(const QSqlDatabase& db) {
    QSqlQuery query = Sql::exec(db, SqlCandidatos);
    QList<Candidato> found;
    while (query.next())
        found.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                      query.value(3).toDateTime()});
    return found;
}

void aprova(const QSqlDatabase& db, const QList<Candidato>& selecionados, const QString& usuario,
            const QDateTime& agora) {
    Transaction transaction(db);
    for (const Candidato& c : selecionados) {
        const int changed = Sql::execute(
            db,
            QStringLiteral("Update certific set Aprovado = True "
                           "where SiglaCertificador = :sigla and NumCertif = :num"),
            {{QStringLiteral(":sigla"), c.SiglaCertificador}, {QStringLiteral(":num"), c.NumCertif}});
        // An event for a certificate that is gone would be an orphan.
        if (changed != 1)
            throw DbError(QStringLiteral("O certificado %1 não foi encontrado.").arg(c.NumCertif));

        EventRow event;
        event.key = {c.SiglaCertificador, c.NumCertif};
        event.evento = QStringLiteral("APR");
        event.justificativa = HistoricoGeradoPeloSistema;
        event.historicoSis = QStringLiteral("2");
        event.status = c.StatusCertificado; // the status does not change
        event.statusDate = agora;
        event.dthUltAtualiz = agora;
        event.usuResp = usuario;
        Eventos::insere(db, EventTable::STATUS_C, event);
    }
    transaction.commit();
}

} // namespace Aprovacao
