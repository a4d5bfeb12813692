#include "Eventos.h"

#include "DbError.h"
#include "EventSequence.h"
#include "Sql.h"

#include <QSqlQuery>
#include <iterator>

namespace {

const QString Sigla = QStringLiteral("SiglaCertificador");
const QString Num = QStringLiteral("NumCertif");
const QString Lote = QStringLiteral("NumLote");
const QString Serie = QStringLiteral("NumSerieProd");
const QString Marca = QStringLiteral("MarcaProd");
const QString Modelo = QStringLiteral("ModeloProd");
const QString Importado = QStringLiteral("Importado");
const QString Pais = QStringLiteral("CodigoPais");
const QString Empresa = QStringLiteral("IdEmpresa");
const QString ClasseCertif = QStringLiteral("IdClasseCertif");
const QString ClasseProd = QStringLiteral("IdClasseProd");
const QString ClasseServ = QStringLiteral("IdClasseServ");
const QString DocNorm = QStringLiteral("IdDocNorm");

// The justification column holds this many characters.
constexpr int MaxJustificativa = 255;

// Table and column names reach the statements only from here; every value is a bound parameter.
const EventTableInfo& info(EventTable table) {
    static const EventTableInfo tables[] = {
        {QStringLiteral("STATUS_C"),
         {Sigla, Num},
         QStringLiteral("StatusCertificado"),
         QStringLiteral("DthStatusCertificado")},
        {QStringLiteral("EVENTO_EMP"),
         {Sigla, Num, Pais, Empresa},
         QStringLiteral("StatusEmpresa"),
         QStringLiteral("DthStatusEmpresa")},
        {QStringLiteral("STATUS_T"),
         {Sigla, Num, Marca, Modelo, Importado},
         QStringLiteral("StatusProduto"),
         QStringLiteral("DthStatusProduto")},
        {QStringLiteral("STATUS_L"),
         {Lote, Sigla, Num, Marca, Modelo, Importado},
         QStringLiteral("Status_L"),
         QStringLiteral("DthStatus_L")},
        {QStringLiteral("STATUS_U"),
         {Serie, Sigla, Num, Marca, Modelo, Importado},
         QStringLiteral("StatusUnidade"),
         QStringLiteral("DthStatusUnidade")},
        {QStringLiteral("STATUS_S"),
         {ClasseServ, Sigla, Num, Pais, Empresa},
         QStringLiteral("Status_S"),
         QStringLiteral("DthStatusServico")},
        {QStringLiteral("STATUS_DNCP"),
         {Sigla, Num, ClasseCertif, ClasseProd, DocNorm},
         QStringLiteral("Status_DNCP"),
         QStringLiteral("DthStatusDNCP")},
        {QStringLiteral("STATUS_DNCS"),
         {Sigla, Num, ClasseCertif, ClasseServ, DocNorm},
         QStringLiteral("Status_DNCS"),
         QStringLiteral("DthStatusDNCS")},
        {QStringLiteral("STATUS_DNT"),
         {Sigla, Num, Marca, Modelo, Importado, ClasseCertif, ClasseProd, DocNorm},
         QStringLiteral("Status_DNT"),
         QStringLiteral("DthStatusDNT")},
        {QStringLiteral("STATUS_DNL"),
         {Lote, Sigla, Num, Marca, Modelo, Importado, ClasseCertif, ClasseProd, DocNorm},
         QStringLiteral("Status_DNL"),
         QStringLiteral("DthStatusDNL")},
        {QStringLiteral("STATUS_DNU"),
         {Serie, Sigla, Num, Marca, Modelo, Importado, ClasseCertif, ClasseProd, DocNorm},
         QStringLiteral("Status_DNU"),
         QStringLiteral("DthStatusDNU")},
        {QStringLiteral("STATUS_DNS"),
         {DocNorm, ClasseCertif, ClasseServ, Sigla, Num, Pais, Empresa},
         QStringLiteral("Status_DNS"),
         QStringLiteral("DthStatusDNS")},
    };
    static_assert(std::size(tables) == std::size_t(EventTable::STATUS_DNS) + 1);
    return tables[int(table)];
}

void checkKey(const EventTableInfo& table, const QVariantList& key) {
    if (key.size() != table.keyColumns.size())
        throw DbError(QStringLiteral("A chave de um evento de %1 tem %2 valores em vez de %3.")
                          .arg(table.name)
                          .arg(key.size())
                          .arg(table.keyColumns.size()));
}

// "col1 = :k0 AND col2 = :k1 ...", the parameters named after their position in the key.
QString keyCondition(const EventTableInfo& table, const QString& prefix = QStringLiteral("k")) {
    QStringList terms;
    for (int i = 0; i < table.keyColumns.size(); ++i)
        terms << QStringLiteral("%1 = :%2%3").arg(table.keyColumns[i], prefix).arg(i);
    return terms.join(QStringLiteral(" AND "));
}

void bindKey(QSqlQuery& query, const QVariantList& key, const QString& prefix = QStringLiteral("k")) {
    for (int i = 0; i < key.size(); ++i)
        query.bindValue(QStringLiteral(":%1%2").arg(prefix).arg(i), key[i]);
}

QVariant textOrNull(const QString& text) {
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

// DthUltAtualiz of the newest event of one code, compared as date-times.
QDateTime newestEvent(const QSqlDatabase& db, EventTable table, const QVariantList& key,
                      const QString& evento) {
    const EventTableInfo& t = info(table);
    checkKey(t, key);
    QSqlQuery query =
        Sql::prepare(db, QStringLiteral("SELECT DthUltAtualiz FROM %1 WHERE %2 AND Evento = :evento")
                             .arg(t.name, keyCondition(t)));
    bindKey(query, key);
    query.bindValue(QStringLiteral(":evento"), evento);
    Sql::exec(query);
    QDateTime newest;
    while (query.next()) {
        const QDateTime when = query.value(0).toDateTime();
        if (when.isValid() && (!newest.isValid() || when > newest))
            newest = when;
    }
    return newest;
}

} // namespace

const EventTableInfo& eventTableInfo(EventTable table) {
    return info(table);
}

namespace Eventos {

int ProximoSeqEvento(const QSqlDatabase& db, EventTable table, const QVariantList& key) {
    const EventTableInfo& t = info(table);
    checkKey(t, key);
    return EventSequence::next(db, t.name, key.value(t.keyColumns.indexOf(Sigla)).toString(),
                               key.value(t.keyColumns.indexOf(Num)).toString());
}

int insere(const QSqlDatabase& db, EventTable table, const EventRow& row) {
    const EventTableInfo& t = info(table);
    checkKey(t, row.key);
    // The column would refuse it with a constraint's name; say it plainly instead of cutting.
    if (row.justificativa.size() > MaxJustificativa)
        throw DbError(
            QStringLiteral("A justificativa tem %1 caracteres; o máximo é %2. O evento não foi gravado.")
                .arg(row.justificativa.size())
                .arg(MaxJustificativa));

    QStringList columns = t.keyColumns;
    columns << QStringLiteral("SeqEvento") << QStringLiteral("Evento") << QStringLiteral("Justificativa")
            << QStringLiteral("HistoricoSis") << t.statusColumn << t.statusDateColumn
            << QStringLiteral("DthUltAtualiz") << QStringLiteral("UsuResp");
    QStringList values;
    for (int i = 0; i < t.keyColumns.size(); ++i)
        values << QStringLiteral(":k%1").arg(i);
    values << QStringLiteral(":seqevento") << QStringLiteral(":evento") << QStringLiteral(":justificativa")
           << QStringLiteral(":historicosis") << QStringLiteral(":status") << QStringLiteral(":dthstatus")
           << QStringLiteral(":dthultatualiz") << QStringLiteral(":usuresp");

    const int seq = ProximoSeqEvento(db, table, row.key);
    QSqlQuery query = Sql::prepare(
        db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(t.name, columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))));
    bindKey(query, row.key);
    query.bindValue(QStringLiteral(":seqevento"), seq);
    query.bindValue(QStringLiteral(":evento"), row.evento);
    query.bindValue(QStringLiteral(":justificativa"), textOrNull(row.justificativa));
    query.bindValue(QStringLiteral(":historicosis"), row.historicoSis);
    query.bindValue(QStringLiteral(":status"), textOrNull(row.status));
    query.bindValue(QStringLiteral(":dthstatus"), Sql::dateTimeOrNull(row.statusDate));
    query.bindValue(QStringLiteral(":dthultatualiz"), Sql::dateTimeOrNull(row.dthUltAtualiz));
    query.bindValue(QStringLiteral(":usuresp"), textOrNull(row.usuResp));
    Sql::exec(query);
    return seq;
}

void apaga(const QSqlDatabase& db, EventTable table, const QVariantList& key, int seqEvento) {
    const EventTableInfo& t = info(table);
    checkKey(t, key);
    QSqlQuery query = Sql::prepare(
        db,
        QStringLiteral("DELETE FROM %1 WHERE %2 AND SeqEvento = :SeqEvento").arg(t.name, keyCondition(t)));
    bindKey(query, key);
    query.bindValue(QStringLiteral(":SeqEvento"), seqEvento);
    Sql::exec(query);
}

void apagaDoItem(const QSqlDatabase& db, EventTable table, const QVariantList& key) {
    const EventTableInfo& t = info(table);
    checkKey(t, key);
    QSqlQuery query =
        Sql::prepare(db, QStringLiteral("DELETE FROM %1 WHERE %2").arg(t.name, keyCondition(t)));
    bindKey(query, key);
    Sql::exec(query);
}

void mudaChave(const QSqlDatabase& db, EventTable table, const QVariantList& oldKey,
               const QVariantList& newKey) {
    const EventTableInfo& t = info(table);
    checkKey(t, oldKey);
    checkKey(t, newKey);
    QStringList assignments;
    for (int i = 0; i < t.keyColumns.size(); ++i)
        assignments << QStringLiteral("%1 = :n%2").arg(t.keyColumns[i]).arg(i);
    QSqlQuery query =
        Sql::prepare(db, QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                             .arg(t.name, assignments.join(QStringLiteral(", ")), keyCondition(t)));
    bindKey(query, oldKey);
    bindKey(query, newKey, QStringLiteral("n"));
    Sql::exec(query);
}

QDateTime ultimaAprovacao(const QSqlDatabase& db, const QString& sigla, const QString& numCertif) {
    return newestEvent(db, EventTable::STATUS_C, {sigla, numCertif}, QStringLiteral("APR"));
}

QDateTime ultimaInclusao(const QSqlDatabase& db, EventTable table, const QVariantList& key) {
    return newestEvent(db, table, key, QStringLiteral("INC"));
}

AprovacaoAnterior aprovacaoAnterior(const QSqlDatabase& db, const QString& sigla, const QString& numCertif) {
    AprovacaoAnterior a;
    a.data = ultimaAprovacao(db, sigla, numCertif);
    if (a.data.isValid()) {
        a.houve = true;
        return a;
    }
    // The replica holds the certificate as last accepted: every item change touches the
    // certificate's DthUltAtualiz, so what was included later is unknown to the authority.
    QSqlQuery replica = Sql::prepare(db, QStringLiteral("SELECT DthUltAtualiz FROM REP_CERTIFIC "
                                                        "WHERE SiglaCertificador = :s AND NumCertif = :n"));
    replica.bindValue(QStringLiteral(":s"), sigla);
    replica.bindValue(QStringLiteral(":n"), numCertif);
    Sql::exec(replica);
    if (replica.next()) {
        a.houve = true;
        a.data = replica.value(0).toDateTime();
        return a;
    }
    // Approved by the text import, which writes no APR event: nothing changed since (every change
    // withdraws the approval), so every item it holds counts as told.
    QSqlQuery flag = Sql::prepare(db, QStringLiteral("SELECT 1 FROM CERTIFIC WHERE SiglaCertificador = :s "
                                                     "AND NumCertif = :n AND Aprovado <> 0"));
    flag.bindValue(QStringLiteral(":s"), sigla);
    flag.bindValue(QStringLiteral(":n"), numCertif);
    Sql::exec(flag);
    a.houve = flag.next();
    return a;
}

bool podeApagarItem(const QSqlDatabase& db, EventTable table, const QVariantList& key, const QString& sigla,
                    const QString& numCertif) {
    const AprovacaoAnterior aprovacao = aprovacaoAnterior(db, sigla, numCertif);
    if (!aprovacao.houve)
        return true; // never approved: nothing was told to the authority yet
    return aprovacao.permiteApagar(ultimaInclusao(db, table, key));
}

} // namespace Eventos
