#include "MudancaStatus.h"

#include "AlteraStatusEmpresa.h"
#include "Clock.h"
#include "DbError.h"
#include "Prompts.h"
#include "RegistraEvento.h"
#include "Session.h"
#include "Sql.h"
#include "TDMCertif.h"
#include "Transaction.h"

#include <QSqlQuery>
#include <iterator>

const QString MudancaStatus::CaptionGravacao = QStringLiteral("Erro de gravação");
const QString MudancaStatus::ErroStatus = QStringLiteral(
    "Erro genérico de gravação no Banco de Dados !!! As alterações no status não foram efetuadas.");

namespace {

const ItemStatusInfo& info(ItemStatus item) {
    static const ItemStatusInfo itens[] = {
        {QStringLiteral("CERTIFIC"), QStringLiteral("StatusCertificado"),
         QStringLiteral("DthStatusCertificado"), EventTable::STATUS_C,
         QStringLiteral("Status do Certificado"), QStringLiteral("sbSuspCertif"),
         QStringLiteral("sbAtivCertif"), QStringLiteral("sbCanCertif")},
        {QStringLiteral("EMP_CERT"), QStringLiteral("StatusEmpresa"), QStringLiteral("DthStatusEmpresa"),
         EventTable::EVENTO_EMP, QStringLiteral("Status da Empresa Certificada"), QStringLiteral("sbSuspEmp"),
         QStringLiteral("sbAtivEmp"), QStringLiteral("sbCancEmp")},
        {QStringLiteral("TIPO"), QStringLiteral("StatusProduto"), QStringLiteral("DthStatusProduto"),
         EventTable::STATUS_T, QStringLiteral("Status do Produto"), QStringLiteral("sbSuspTipo"),
         QStringLiteral("sbAtivTipo"), QStringLiteral("sbCancTipo")},
        {QStringLiteral("LOTE"), QStringLiteral("StatusLote"), QStringLiteral("DthStatusLote"),
         EventTable::STATUS_L, QStringLiteral("Status do Lote"), QStringLiteral("sbSuspLote"),
         QStringLiteral("sbAtivLote"), QStringLiteral("sbCancLote")},
        {QStringLiteral("UNIDADE"), QStringLiteral("StatusUnidade"), QStringLiteral("DthStatusUnidade"),
         EventTable::STATUS_U, QStringLiteral("Status da Unidade"), QStringLiteral("sbSuspUnid"),
         QStringLiteral("sbAtivUnid"), QStringLiteral("sbCancUnid")},
        {QStringLiteral("SERVICO"), QStringLiteral("StatusServico"), QStringLiteral("DthStatusServico"),
         EventTable::STATUS_S, QStringLiteral("Status do Serviço"), QStringLiteral("sbSuspServ"),
         QStringLiteral("sbAtivServ"), QStringLiteral("sbCancServ")},
    };
    static_assert(std::size(itens) == std::size_t(ItemStatus::Servico) + 1);
    return itens[int(item)];
}

// "col1 = :k0 AND col2 = :k1 ...": the item's key, whose columns carry the event table's names.
QString condicao(const ItemStatusInfo& item, const QVariantList& chave) {
    const QStringList& colunas = eventTableInfo(item.eventos).keyColumns;
    if (colunas.size() != chave.size())
        throw DbError(QStringLiteral("A chave de %1 tem %2 valores em vez de %3.")
                          .arg(item.tabela)
                          .arg(chave.size())
                          .arg(colunas.size()));
    QStringList termos;
    for (int i = 0; i < colunas.size(); ++i)
        termos << QStringLiteral("%1 = :k%2").arg(colunas[i]).arg(i);
    return termos.join(QStringLiteral(" AND "));
}

void liga(QSqlQuery& query, const QVariantList& chave) {
    for (int i = 0; i < chave.size(); ++i)
        query.bindValue(QStringLiteral(":k%1").arg(i), chave[i]);
}

} // namespace

const ItemStatusInfo& itemStatusInfo(ItemStatus item) {
    return info(item);
}

namespace StatusItens {

QString eventoDoStatus(const QString& status) {
    if (status == QLatin1String("S"))
        return QStringLiteral("SUS");
    if (status == QLatin1String("A"))
        return QStringLiteral("REA");
    if (status == QLatin1String("C"))
        return QStringLiteral("CAN");
    return {};
}

QString statusDoBotao(const QString& nomeBotao) {
    for (int i = 0; i <= int(ItemStatus::Servico); ++i) {
        const ItemStatusInfo& item = info(ItemStatus(i));
        if (nomeBotao == item.botaoSuspende)
            return QStringLiteral("S");
        if (nomeBotao == item.botaoAtiva)
            return QStringLiteral("A");
        if (nomeBotao == item.botaoCancela)
            return QStringLiteral("C");
    }
    return {};
}

std::optional<StatusGravado> le(const QSqlDatabase& db, ItemStatus item, const QVariantList& chave) {
    const ItemStatusInfo& i = info(item);
    QSqlQuery query =
        Sql::prepare(db, QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4")
                             .arg(i.colunaStatus, i.colunaDataStatus, i.tabela, condicao(i, chave)));
    liga(query, chave);
    Sql::exec(query);
    if (!query.next())
        return std::nullopt;
    return StatusGravado{query.value(0).toString(), query.value(1).toDateTime()};
}

void grava(const QSqlDatabase& db, ItemStatus item, const QVariantList& chave, const QString& status,
           const QDateTime& dataStatus, const QDateTime& agora, const QString& usuario) {
    const ItemStatusInfo& i = info(item);
    const QString aprovado =
        item == ItemStatus::Certificado ? QStringLiteral(", Aprovado = False") : QString();
    QSqlQuery query = Sql::prepare(
        db,
        QStringLiteral("UPDATE %1 SET %2 = :status, %3 = :dthstatus, DthUltAtualiz = :dth, UsuResp = :usu%4 "
                       "WHERE %5")
            .arg(i.tabela, i.colunaStatus, i.colunaDataStatus, aprovado, condicao(i, chave)));
    liga(query, chave);
    query.bindValue(QStringLiteral(":status"), status);
    query.bindValue(QStringLiteral(":dthstatus"), Sql::dateTimeOrNull(dataStatus));
    query.bindValue(QStringLiteral(":dth"), agora);
    query.bindValue(QStringLiteral(":usu"), usuario);
    Sql::exec(query);
    if (query.numRowsAffected() != 1)
        throw DbError(
            QStringLiteral("O registro de %1 cujo status seria alterado não existe mais.").arg(i.tabela));
}

} // namespace StatusItens

MudancaStatus::MudancaStatus(TDMCertif& dm) : dm_(dm) {}

MudancaStatus::Resultado MudancaStatus::muda(ItemStatus item, const QVariantList& chave,
                                             const QString& novoStatus) {
    const QString evento = StatusItens::eventoDoStatus(novoStatus);
    if (evento.isEmpty() || !dm_.temCertificadoAberto())
        return Resultado::Cancelado;
    Session& session = dm_.session();
    const QSqlDatabase db = dm_.database();
    const QDateTime agora = session.clock().now();
    const QString usuario = session.user().SiglaUsu;
    try {
        const std::optional<StatusGravado> atual = StatusItens::le(db, item, chave);
        if (!atual)
            throw DbError(QStringLiteral("O registro cujo status seria alterado não existe mais."));
        if (atual->status == novoStatus)
            return Resultado::Cancelado; // its button is not offered
        // A company that still has active lines or services in the certificate is suspended or
        // cancelled together with them, or hands them to another company: the propagation screen.
        if (item == ItemStatus::Empresa && novoStatus != QLatin1String("A") &&
            AlteraStatusEmpresa::EmpresaPossuiVinculosAtivos(
                db, chave.value(0).toString(), chave.value(1).toString(), chave.value(3).toString(),
                chave.value(2).toString()))
            return Resultado::Propagar;

        Transaction transaction(db);
        RegistroEvento registro{itemStatusInfo(item).eventos, chave, evento, novoStatus, agora};
        registro.perguntaData = true;
        registro.perguntaJustificativa = true;
        // Company links, lots and services keep the typed text trimmed.
        registro.aparaJustificativa =
            item == ItemStatus::Empresa || item == ItemStatus::Lote || item == ItemStatus::Servico;
        const std::optional<QDateTime> dataStatus = registraEvento(
            db, dm_.justificationAsker(), registro, dm_.registro().DataEmissao, usuario, agora);
        if (!dataStatus)
            return Resultado::Cancelado; // nothing was written; the transaction rolls back
        StatusItens::grava(db, item, chave, novoStatus, *dataStatus, agora, usuario);
        if (item != ItemStatus::Certificado)
            dm_.RetiraAprovacao();
        transaction.commit();
    } catch (const std::exception&) {
        dm_.releStatus();
        session.prompts().message(CaptionGravacao, ErroStatus);
        return Resultado::Erro;
    }
    dm_.releStatus();
    return Resultado::Gravado;
}
