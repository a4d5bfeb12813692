#include "BatchControl.h"

#include "Backups.h"
#include "ChangeJournal.h"
#include "Clock.h"
#include "DbError.h"
#include "Files.h"
#include "Formats.h"
#include "Session.h"
#include "SharedBatchState.h"
#include "Sql.h"
#include "Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace BatchEvents {

QString descricao(const QString& evento) {
    if (evento == Preparada)
        return QStringLiteral("Remessa Preparada");
    if (evento == Transferida)
        return QStringLiteral("Enviada para o Kavorel");
    if (evento == FinalizadaOk)
        return QStringLiteral("Finalizada - OK");
    if (evento == FinalizadaErro)
        return QStringLiteral("Finalizada - Erro");
    return {};
}

QString status(const QString& evento) {
    if (evento == Preparada)
        return QStringLiteral("Aguardando Transferência");
    if (evento == Transferida)
        return QStringLiteral("Aguardando Resultado");
    if (evento == FinalizadaOk || evento == FinalizadaErro)
        return QStringLiteral("Finalizada");
    return {};
}

} // namespace BatchEvents

namespace BatchTypes {

QString descricao(const QString& tipoRemessa) {
    if (tipoRemessa == Parcial)
        return QStringLiteral("Parcial");
    if (tipoRemessa == Completa)
        return QStringLiteral("Completa");
    return tipoRemessa;
}

QString prefixo(const QString& tipoRemessa) {
    if (tipoRemessa == Parcial)
        return QStringLiteral("OC-");
    if (tipoRemessa == Completa)
        return QStringLiteral("OT-");
    return {};
}

QString nomeArquivo(const QString& tipoRemessa, const QString& sigla, const QString& numero) {
    const QString p = prefixo(tipoRemessa);
    return p.isEmpty() ? QString() : p + sigla + numero + QStringLiteral(".zip");
}

} // namespace BatchTypes

BatchButtons botoesParaRemessa(const std::optional<BatchListRow>& selected, bool semEventos) {
    BatchButtons b;
    if (selected && selected->isLatest()) {
        if (selected->Evento == BatchEvents::Preparada) {
            b.BtTransfere = true;
            b.BtCancela = true;
        } else if (selected->Evento == BatchEvents::Transferida) {
            b.BtRecebe = true;
        } else {
            b.BtPrepara = true;
        }
    }
    if (semEventos) {
        b.BtPrepara = true;
        b.BtCancela = false;
    }
    return b;
}

BatchControl::BatchControl(Session& session, SharedBatchState& state) : session_(session), state_(state) {}

QString BatchControl::confirmacaoCancelamento() {
    return QStringLiteral("Tem certeza que deseja cancelar a remessa?");
}

QString BatchControl::confirmacaoLimpeza() {
    return QStringLiteral("Tem certeza que deseja limpar o histórico?");
}

QString BatchControl::obsCancelamento() {
    return QStringLiteral("Remessa Cancelada pelo Usuário");
}

QString BatchControl::listaRemessasSql() {
    return QStringLiteral(
        "SELECT NumeroRemessa, Status, Evento, Ultima, TipoRemessa FROM Controle_Temp ORDER BY rowid");
}

QString BatchControl::eventosSql() {
    return QStringLiteral("SELECT DataHoraEvento, NumeroRemessa, Evento, Usuario, Obs FROM CONTROLE "
                          "WHERE NumeroRemessa = :NumeroRemessa ORDER BY DataHoraEvento DESC");
}

QList<BatchListRow> BatchControl::atualizaListaRemessas() {
    const QSqlDatabase db = session_.database();
    Transaction transaction(db);
    Sql::execute(db, QStringLiteral("DELETE FROM Controle_Temp"));
    // Newest event first; the events of one batch are taken to be consecutive in time.
    QSqlQuery events = Sql::exec(db, QStringLiteral("SELECT NumeroRemessa, TipoRemessa, Evento FROM CONTROLE "
                                                    "ORDER BY DataHoraEvento DESC, rowid DESC"));
    QSqlQuery insert =
        Sql::prepare(db, QStringLiteral("INSERT INTO Controle_Temp (NumeroRemessa, Status, "
                                        "Evento, Ultima, TipoRemessa) VALUES (:n, :s, :e, :u, :t)"));
    bool first = true;
    bool haveLast = false;
    QString last;
    while (events.next()) {
        const QString numero = events.value(0).toString();
        if (haveLast && numero == last)
            continue;
        haveLast = true;
        last = numero;
        const QString tipo = events.value(1).toString();
        const QString evento = events.value(2).toString();
        Sql::bind(insert, {{QStringLiteral(":n"), events.value(0)},
                           {QStringLiteral(":s"), BatchEvents::status(evento)},
                           {QStringLiteral(":e"), events.value(2)},
                           {QStringLiteral(":u"), first ? QStringLiteral("S") : QString()},
                           {QStringLiteral(":t"), tipo.isEmpty() ? QVariant() : QVariant(tipo)}});
        Sql::exec(insert);
        first = false;
    }
    transaction.commit();
    return listaRemessas();
}

QList<BatchListRow> BatchControl::listaRemessas() const {
    QSqlQuery query = Sql::exec(session_.database(), listaRemessasSql());
    QList<BatchListRow> rows;
    while (query.next())
        rows.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                     query.value(3).toString(), query.value(4).toString()});
    return rows;
}

QList<BatchEventRow> BatchControl::eventos(const QString& numeroRemessa) const {
    QSqlQuery query =
        Sql::exec(session_.database(), eventosSql(), {{QStringLiteral(":NumeroRemessa"), numeroRemessa}});
    QList<BatchEventRow> rows;
    while (query.next()) {
        const QString evento = query.value(2).toString();
        rows.append({query.value(0).toDateTime(), query.value(1).toString(), evento,
                     BatchEvents::descricao(evento), query.value(3).toString(), query.value(4).toString()});
    }
    return rows;
}

std::optional<BatchListRow> BatchControl::ultimaRemessa() const {
    for (const BatchListRow& row : listaRemessas())
        if (row.isLatest())
            return row;
    return std::nullopt;
}

bool BatchControl::removeArquivoDaUltimaAceita() {
    // From the events themselves: the batch list may not have been brought up to date.
    QSqlQuery latest = Sql::exec(session_.database(),
                                 QStringLiteral("SELECT NumeroRemessa, TipoRemessa, Evento FROM CONTROLE "
                                                "ORDER BY DataHoraEvento DESC, rowid DESC LIMIT 1"));
    if (!latest.next() || latest.value(2).toString() != BatchEvents::FinalizadaOk)
        return false;
    const QString nome = BatchTypes::nomeArquivo(latest.value(1).toString(), state_.SiglaCertificador,
                                                 latest.value(0).toString());
    const QString archive = QDir(state_.DirLocalTransf).filePath(nome);
    return !nome.isEmpty() && QFileInfo(archive).isFile() && QFile::remove(archive);
}

BatchButtons BatchControl::botoes(const std::optional<BatchListRow>& selected) const {
    const bool semEventos = !selected || eventos(selected->NumeroRemessa).isEmpty();
    return botoesParaRemessa(selected, semEventos);
}

QString BatchControl::numeroAnterior() const {
    const std::optional<BatchListRow> latest = ultimaRemessa();
    return latest ? latest->NumeroRemessa : NumeroRemessa::Nenhum;
}

QString BatchControl::ultimoNumeroEmitido() const {
    // Numbers of a history older than the numbering table count as issued too.
    const QVariant value = Sql::scalar(
        session_.database(),
        QStringLiteral("SELECT max(n) FROM (SELECT max(UltimaRemessa) AS n FROM CONTROLE_NUMERACAO UNION ALL "
                       "SELECT max(NumeroRemessa) FROM CONTROLE)"));
    return value.isNull() ? NumeroRemessa::Nenhum
                          : NumeroRemessa::maior(value.toString(), NumeroRemessa::Nenhum);
}

void BatchControl::registraPreparacao(const QString& numeroRemessa, const QString& tipoRemessa,
                                      std::optional<qint64> ultimaAlteracao) {
    const QSqlDatabase db = session_.database();
    Transaction transaction(db);
    registraEvento(numeroRemessa, tipoRemessa, BatchEvents::Preparada);
    guardaUltimoNumero(numeroRemessa);
    if (ultimaAlteracao)
        ChangeJournal::registraRemessa(db, numeroRemessa, *ultimaAlteracao);
    transaction.commit();
}

void BatchControl::guardaUltimoNumero(const QString& numeroRemessa) {
    const QSqlDatabase db = session_.database();
    Sql::execute(db, QStringLiteral("DELETE FROM CONTROLE_NUMERACAO"));
    Sql::execute(db, QStringLiteral("INSERT INTO CONTROLE_NUMERACAO (UltimaRemessa) VALUES (:n)"),
                 {{QStringLiteral(":n"), numeroRemessa}});
}

void BatchControl::registraEvento(const QString& numeroRemessa, const QString& tipoRemessa,
                                  const QString& evento, const QString& obs) {
    Sql::execute(
        session_.database(),
        QStringLiteral("INSERT INTO CONTROLE (DataHoraEvento, NumeroRemessa, TipoRemessa, Evento, Usuario, "
                       "Obs) VALUES (:d, :n, :t, :e, :u, :o)"),
        {{QStringLiteral(":d"), session_.clock().now()},
         {QStringLiteral(":n"), numeroRemessa},
         {QStringLiteral(":t"), tipoRemessa},
         {QStringLiteral(":e"), evento},
         {QStringLiteral(":u"), state_.Usuario},
         {QStringLiteral(":o"), obs.isEmpty() ? QVariant() : QVariant(obs)}});
}

BatchControl::Outcome BatchControl::cancelaRemessa(const BatchListRow& selected, bool confirmado) {
    if (!botoes(selected).BtCancela)
        return {false, QStringLiteral("Somente a última remessa, preparada e ainda não transferida, pode ser "
                                      "cancelada.")};
    if (!confirmado)
        return {};
    state_.NumeroRemessa = selected.NumeroRemessa;
    state_.TipoRemessa = selected.TipoRemessa;
    registraEvento(selected.NumeroRemessa, selected.TipoRemessa, BatchEvents::FinalizadaErro,
                   obsCancelamento());
    for (const QString& tipo : {BatchTypes::Parcial, BatchTypes::Completa}) {
        const QString archive =
            QDir(state_.DirLocalTransf)
                .filePath(BatchTypes::nomeArquivo(tipo, state_.SiglaCertificador, selected.NumeroRemessa));
        if (QFileInfo(archive).isFile())
            QFile::remove(archive);
    }
    atualizaListaRemessas();
    return {true, {}};
}

BatchControl::Outcome BatchControl::limpaHistorico(const std::optional<BatchListRow>& selected,
                                                   bool confirmado) {
    if (!confirmado)
        return {};
    Q_UNUSED(selected);
    try {
        Backups::before(session_.database(), Backups::Limpeza);
    } catch (const DbError& failure) {
        return {false, failure.message()};
    }
    // The batch in progress (the latest, prepared or delivered) keeps its events whichever batch is
    // selected: with an older one selected, keeping that one instead would erase the record of the
    // batch the authority is about to receive or answer.
    const std::optional<BatchListRow> latest = ultimaRemessa();
    const bool emAndamento =
        latest && (latest->Evento == BatchEvents::Preparada || latest->Evento == BatchEvents::Transferida);
    removeArquivoDaUltimaAceita();
    const QSqlDatabase db = session_.database();
    Transaction transaction(db);
    // Numbers recorded only in the history (before the numbering table existed) stay issued.
    guardaUltimoNumero(ultimoNumeroEmitido());
    if (!emAndamento)
        Sql::execute(db, QStringLiteral("DELETE FROM CONTROLE"));
    else
        Sql::execute(
            db, QStringLiteral("DELETE FROM CONTROLE WHERE NumeroRemessa <> :n OR NumeroRemessa IS NULL"),
            {{QStringLiteral(":n"), latest->NumeroRemessa}});
    transaction.commit();
    atualizaListaRemessas();
    return {true, {}};
}

namespace NumeroRemessa {

QString maior(const QString& a, const QString& b) {
    return a.compare(b) >= 0 ? a : b;
}

namespace {

// The number after "anterior" within its own date, or the first of the next date after the 99th.
QString seguinte(const QString& anterior) {
    const int sequencia = anterior.mid(8, 2).toInt() + 1;
    if (sequencia <= 99)
        return anterior.left(8) + QStringLiteral("%1").arg(sequencia, 2, 10, QLatin1Char('0'));
    const QDate data = QDate::fromString(anterior.left(8), QStringLiteral("yyyyMMdd"));
    return DataAAAAMMDD(data.addDays(1)) + QStringLiteral("01");
}

} // namespace

Proximo proximo(const QString& anterior, const QDate& hoje) {
    const QString data = DataAAAAMMDD(hoje);
    if (anterior.left(8) > data &&
        QDate::fromString(anterior.left(8), QStringLiteral("yyyyMMdd")).isValid()) {
        // A number was issued with the clock set ahead. Numbers never go back, so the sequence goes
        // on after it rather than blocking every preparation until that date comes.
        const QString numero = seguinte(anterior);
        return {
            numero,
            {},
            QStringLiteral("A data de hoje (%1) é anterior à da última remessa emitida (%2): o relógio do "
                           "computador parece errado. A numeração continua depois dela, na remessa %3. "
                           "Verifique o relógio do computador.")
                .arg(hoje.toString(QStringLiteral("dd/MM/yyyy")), anterior, numero)};
    }
    if (anterior.left(8) != data)
        return {data + QStringLiteral("01"), {}, {}};
    const int sequencia = anterior.mid(8, 2).toInt() + 1;
    if (sequencia > 99)
        return {{},
                QStringLiteral(
                    "Já foram preparadas 99 remessas na data de hoje; o número da remessa não comporta "
                    "mais uma. Prepare a próxima remessa amanhã."),
                {}};
    return {seguinte(anterior), {}, {}};
}

} // namespace NumeroRemessa
