#include "RegistraEvento.h"

#include "Sql.h"

#include <stdexcept>

std::optional<QDateTime> registraEvento(const QSqlDatabase& db, const JustificationAsker& asker,
                                        const RegistroEvento& registro, const QDate& dataEmissao,
                                        const QString& usuario, const QDateTime& agora) {
    EventRow row;
    row.key = registro.key;
    row.evento = registro.evento;
    row.status = registro.status;
    row.statusDate = registro.dataStatus;
    row.historicoSis = QStringLiteral("2"); // written by the program, typed justification or not
    row.dthUltAtualiz = agora;
    row.usuResp = usuario;

    if (registro.perguntaJustificativa) {
        if (!asker)
            throw std::logic_error("registraEvento: no justification asker given");
        const std::optional<Justificativa> typed = asker(registro.perguntaData, dataEmissao);
        if (!typed)
            return std::nullopt; // cancelled: nothing is written
        row.justificativa = registro.aparaJustificativa ? typed->texto.trimmed() : typed->texto;
        // The date the user gave is the status date, of the event and of the item.
        if (registro.perguntaData)
            row.statusDate = Sql::dateValue(typed->dataStatus);
    } else {
        row.justificativa = HistoricoGeradoPeloSistema;
    }

    Eventos::insere(db, registro.table, row);
    return row.statusDate;
}
