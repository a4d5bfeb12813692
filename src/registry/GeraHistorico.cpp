#include "GeraHistorico.h"

#include "Clock.h"
#include "DataDigitada.h"
#include "DbError.h"
#include "Prompts.h"
#include "Session.h"
#include "Sql.h"
#include "TDMCertif.h"
#include "Transaction.h"

#include <QSqlQuery>
#include <iterator>

const QString GeraHistorico::NaoPodeExcluir = QStringLiteral(
    "Este registro não pode ser excluído do certificado, pois já foi aprovado para emissão para o Kavorel.");
const QString GeraHistorico::ConfirmaExclusao = QStringLiteral("Confirma a Exclusão do Histórico?");
const QString GeraHistorico::ErroAtualizacao = QStringLiteral("Não foi possível atualizar o Histórico.");

namespace {

struct Item {
    QString tabela;
    QString status;
};

// The item table of each event table and its status column, in EventTable order.
const Item& item(EventTable tabela) {
    static const Item itens[] = {
        {QStringLiteral("CERTIFIC"), QStringLiteral("StatusCertificado")},
        {QStringLiteral("EMP_CERT"), QStringLiteral("StatusEmpresa")},
        {QStringLiteral("TIPO"), QStringLiteral("StatusProduto")},
        {QStringLiteral("LOTE"), QStringLiteral("StatusLote")},
        {QStringLiteral("UNIDADE"), QStringLiteral("StatusUnidade")},
        {QStringLiteral("SERVICO"), QStringLiteral("StatusServico")},
        {QStringLiteral("DOC_NORM_CERT_PRODUTO"), QStringLiteral("Status_DNCP")},
        {QStringLiteral("DOC_NORM_CERT_SERVICO"), QStringLiteral("Status_DNCS")},
        {QStringLiteral("DOC_NORM_TIPO"), QStringLiteral("Status_DNT")},
        {QStringLiteral("DOC_NORM_LOTE"), QStringLiteral("Status_DNL")},
        {QStringLiteral("DOC_NORM_UNIDADE"), QStringLiteral("Status_DNU")},
        {QStringLiteral("DOC_NORM_SERV"), QStringLiteral("Status_DNS")},
    };
    static_assert(std::size(itens) == std::size_t(EventTable::STATUS_DNS) + 1);
    return itens[int(tabela)];
}

QString condicao(const EventTableInfo& t) {
    QStringList terms;
    for (int i = 0; i < t.keyColumns.size(); ++i)
        terms << QStringLiteral("%1 = :k%2").arg(t.keyColumns[i]).arg(i);
    return terms.join(QStringLiteral(" AND "));
}

void bindChave(QSqlQuery& query, const EventTableInfo& t, const QVariantList& chave) {
    if (chave.size() != t.keyColumns.size())
        throw DbError(QStringLiteral("A chave de um evento de %1 tem %2 valores em vez de %3.")
                          .arg(t.name)
                          .arg(chave.size())
                          .arg(t.keyColumns.size()));
    for (int i = 0; i < chave.size(); ++i)
        query.bindValue(QStringLiteral(":k%1").arg(i), chave[i]);
}

} // namespace

namespace HistoricoItens {

QString tabelaDoItem(EventTable tabela) {
    return item(tabela).tabela;
}

QString statusAtual(const QSqlDatabase& db, EventTable tabela, const QVariantList& chave) {
    const EventTableInfo& t = eventTableInfo(tabela);
    QSqlQuery query = Sql::prepare(db, QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                           .arg(item(tabela).status, item(tabela).tabela, condicao(t)));
    bindChave(query, t, chave);
    Sql::exec(query);
    return query.next() ? query.value(0).toString() : QString();
}

bool naReplica(const QSqlDatabase& db, EventTable tabela, const QVariantList& chave, int seqEvento) {
    const EventTableInfo& t = eventTableInfo(tabela);
    QSqlQuery query =
        Sql::prepare(db, QStringLiteral("SELECT SEQEVENTO FROM REP_%1 WHERE %2 AND SEQEVENTO = :seq")
                             .arg(t.name, condicao(t)));
    bindChave(query, t, chave);
    query.bindValue(QStringLiteral(":seq"), seqEvento);
    Sql::exec(query);
    return query.next();
}

} // namespace HistoricoItens

GeraHistorico::GeraHistorico(TDMCertif& certif, EventTable tabela, QVariantList chave, QString status,
                             std::optional<QDate> dataEmissao)
    : certif_(certif), tabela_(tabela), chave_(std::move(chave)), status_(std::move(status)),
      dataEmissao_(dataEmissao) {}

QList<NotaHistorico> GeraHistorico::notas() const {
    const EventTableInfo& t = eventTableInfo(tabela_);
    QSqlQuery query =
        Sql::prepare(certif_.database(),
                     QStringLiteral("SELECT SEQEVENTO, JUSTIFICATIVA, %1 AS DATA, USURESP FROM %2 "
                                    "WHERE HISTORICOSIS = '1' AND %3 ORDER BY %1, DTHULTATUALIZ, SEQEVENTO")
                         .arg(t.statusDateColumn, t.name, condicao(t)));
    bindChave(query, t, chave_);
    Sql::exec(query);
    QList<NotaHistorico> list;
    while (query.next())
        list.append({query.value(0).toInt(), query.value(1).toString(), query.value(2).toDateTime(),
                     query.value(3).toString()});
    return list;
}

std::optional<int> GeraHistorico::inclui(const QString& justificativa, const QString& data) {
    Session& session = certif_.session();
    Prompts& prompts = session.prompts();
    if (justificativa.trimmed().isEmpty()) {
        prompts.information(QStringLiteral("Por favor informe a justificativa."));
        return std::nullopt;
    }
    const DataDigitada dia = DataDigitada::le(data);
    if (dia.emBranco()) {
        prompts.information(QStringLiteral("Por favor informe a data."));
        return std::nullopt;
    }
    if (!dia.valida()) {
        prompts.information(QStringLiteral("Data inválida."));
        return std::nullopt;
    }
    if (dataEmissao_ && dataEmissao_->isValid() && dia.data < *dataEmissao_) {
        prompts.error(QStringLiteral("Data menor que a data de emissão do certificado."));
        return std::nullopt;
    }
    if (dia.data > session.clock().today()) {
        prompts.error(QStringLiteral("Data maior que a data atual."));
        return std::nullopt;
    }
    EventRow row;
    row.key = chave_;
    row.evento = QStringLiteral("INC");
    row.justificativa = justificativa;
    row.historicoSis = QStringLiteral("1");
    row.status = status_;
    row.statusDate = Sql::dateValue(dia.data);
    row.dthUltAtualiz = session.clock().now();
    row.usuResp = session.user().SiglaUsu;
    const QSqlDatabase db = certif_.database();
    try {
        Transaction transaction(db);
        const int seq = Eventos::insere(db, tabela_, row);
        certif_.RetiraAprovacao();
        transaction.commit();
        return seq;
    } catch (const std::exception&) {
        if (certif_.temCertificadoAberto())
            certif_.CarregaCertificado(certif_.siglaAberta(), certif_.numAberto());
        prompts.error(ErroAtualizacao);
        return std::nullopt;
    }
}

bool GeraHistorico::exclui(int seqEvento) {
    Prompts& prompts = certif_.session().prompts();
    const QSqlDatabase db = certif_.database();
    try {
        if (HistoricoItens::naReplica(db, tabela_, chave_, seqEvento)) {
            prompts.information(NaoPodeExcluir);
            return false;
        }
        // Only the user's own notes are removed here, never an event the program wrote.
        const EventTableInfo& t = eventTableInfo(tabela_);
        QSqlQuery nota = Sql::prepare(
            db, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 AND SEQEVENTO = :seq AND HISTORICOSIS = '1'")
                    .arg(t.name, condicao(t)));
        bindChave(nota, t, chave_);
        nota.bindValue(QStringLiteral(":seq"), seqEvento);
        Sql::exec(nota);
        if (!nota.next() || nota.value(0).toInt() == 0)
            return false;
        if (!prompts.confirm(ConfirmaExclusao))
            return false;
        Transaction transaction(db);
        Eventos::apaga(db, tabela_, chave_, seqEvento);
        certif_.RetiraAprovacao();
        transaction.commit();
    } catch (const std::exception&) {
        if (certif_.temCertificadoAberto())
            certif_.CarregaCertificado(certif_.siglaAberta(), certif_.numAberto());
        prompts.error(ErroAtualizacao);
        return false;
    }
    return true;
}
