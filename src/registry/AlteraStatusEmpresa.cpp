#include "AlteraStatusEmpresa.h"

#include "Clock.h"
#include "DbError.h"
#include "Empresas.h"
#include "EmpresasCertificado.h"
#include "Eventos.h"
#include "Prompts.h"
#include "Session.h"
#include "Sql.h"
#include "Transaction.h"

#include <QSqlQuery>
#include <iterator>

const QString AlteracaoStatusEmpresa::ConfirmaPropagacao = QStringLiteral("Confirma a propagação do status?");
const QString AlteracaoStatusEmpresa::PropagacaoRealizada =
    QStringLiteral("Propagação do Status realizada com sucesso.");
const QString AlteracaoStatusEmpresa::ErroPropagacao =
    QStringLiteral("Erro ao Propagar o Status da Empresa nos Produtos ou Serviços Vinculados");
const QString AlteracaoStatusEmpresa::ConfirmaTransferencia =
    QStringLiteral("Confirma a transferencia da empresa vinculada?");
const QString AlteracaoStatusEmpresa::ExisteServico =
    QStringLiteral("Não é possível transferir a Empresa, pois existe serviço cadastrado.");
const QString AlteracaoStatusEmpresa::SelecioneNovaEmpresa =
    QStringLiteral("Por favor selecione a Nova Empresa.");
const QString AlteracaoStatusEmpresa::TransferenciaRealizada =
    QStringLiteral("Transferencia da Empresa realizada com sucesso.");
const QString AlteracaoStatusEmpresa::ErroTransferencia =
    QStringLiteral("Erro ao Transferir a Empresa dos Produtos Vinculados");

namespace AlteraStatusEmpresa {

namespace {

struct InfoDependente {
    QString tabela;
    QString colunaStatus;
    QString colunaDataStatus;
    EventTable eventos; // its key columns carry the line table's names
};

const InfoDependente& info(Dependente d) {
    static const InfoDependente tabelas[] = {
        {QStringLiteral("TIPO"), QStringLiteral("StatusProduto"), QStringLiteral("DthStatusProduto"),
         EventTable::STATUS_T},
        {QStringLiteral("LOTE"), QStringLiteral("StatusLote"), QStringLiteral("DthStatusLote"),
         EventTable::STATUS_L},
        {QStringLiteral("UNIDADE"), QStringLiteral("StatusUnidade"), QStringLiteral("DthStatusUnidade"),
         EventTable::STATUS_U},
        {QStringLiteral("SERVICO"), QStringLiteral("StatusServico"), QStringLiteral("DthStatusServico"),
         EventTable::STATUS_S},
    };
    static_assert(std::size(tabelas) == std::size_t(Dependente::Servico) + 1);
    return tabelas[int(d)];
}

// The rows of the certificate and company: the condition and its parameters.
const QString DaEmpresa = QStringLiteral(
    "SIGLACERTIFICADOR = :sigla AND NUMCERTIF = :num AND CODIGOPAIS = :pais AND IDEMPRESA = :id");

void ligaEmpresa(QSqlQuery& query, const QString& sigla, const QString& num, const QString& pais,
                 const QString& id) {
    query.bindValue(QStringLiteral(":sigla"), sigla);
    query.bindValue(QStringLiteral(":num"), num);
    query.bindValue(QStringLiteral(":pais"), pais);
    query.bindValue(QStringLiteral(":id"), id);
}

QString ativosDe(const QString& tabela, const QString& colunaStatus) {
    return QStringLiteral("SELECT MARCAPROD, MODELOPROD FROM %1 WHERE %2 AND %3 = 'A'")
        .arg(tabela, DaEmpresa, colunaStatus);
}

bool temLinha(const QSqlDatabase& db, const QString& sql, const QString& sigla, const QString& num,
              const QString& pais, const QString& id) {
    QSqlQuery query = Sql::prepare(db, sql);
    ligaEmpresa(query, sigla, num, pais, id);
    Sql::exec(query);
    return query.next();
}

QVariant textoOuNulo(const QString& texto) {
    return texto.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(texto);
}

} // namespace

QString consultaProdutos() {
    return ativosDe(QStringLiteral("TIPO"), QStringLiteral("STATUSPRODUTO")) + QStringLiteral("\nUNION\n") +
           ativosDe(QStringLiteral("LOTE"), QStringLiteral("STATUSLOTE")) + QStringLiteral("\nUNION\n") +
           ativosDe(QStringLiteral("UNIDADE"), QStringLiteral("STATUSUNIDADE")) +
           QStringLiteral("\nORDER BY 1, 2");
}

QString consultaServicos() {
    // A service of a class missing from the reference table is still listed (by its number).
    return QStringLiteral("SELECT IFNULL(C.NOMCLASSESERV, S.IDCLASSESERV) AS NOMCLASSESERV FROM SERVICO S "
                          "LEFT JOIN CLASSE_S C ON C.IDCLASSESERV = S.IDCLASSESERV "
                          "WHERE S.SIGLACERTIFICADOR = :sigla AND S.NUMCERTIF = :num "
                          "AND S.CODIGOPAIS = :pais AND S.IDEMPRESA = :id AND S.STATUSSERVICO = 'A' "
                          "ORDER BY 1");
}

bool EmpresaPossuiVinculosAtivos(const QSqlDatabase& db, const QString& sigla, const QString& numCertif,
                                 const QString& idEmpresa, const QString& codigoPais) {
    if (temLinha(db, consultaServicos(), sigla, numCertif, codigoPais, idEmpresa))
        return true;
    return temLinha(db, consultaProdutos(), sigla, numCertif, codigoPais, idEmpresa);
}

int servicosAtivos(const QSqlDatabase& db, const EntradaAlteraStatus& e) {
    QSqlQuery query = Sql::prepare(
        db, QStringLiteral("SELECT Count(*) FROM SERVICO WHERE %1 AND STATUSSERVICO = 'A'").arg(DaEmpresa));
    ligaEmpresa(query, e.sigla, e.numCertif, e.codigoPais, e.idEmpresa);
    Sql::exec(query);
    return query.next() ? query.value(0).toInt() : 0;
}

QList<EmpresaVinculada> empresas(const QSqlDatabase& db, const QString& sigla, const QString& numCertif) {
    return EmpresasCertificado::todasVinculadas(db, sigla, numCertif);
}

void AlteraStatusEmpCert(const QSqlDatabase& db, const EntradaAlteraStatus& e, const Justificado& j) {
    QSqlQuery query = Sql::prepare(db, QStringLiteral("UPDATE EMP_CERT\n"
                                                      "SET StatusEmpresa = :StatusEmpresa,\n"
                                                      "DthUltAtualiz = :DthUltAtualiz,\n"
                                                      "DthStatusEmpresa = :DthStatusEmpresa,\n"
                                                      "UsuResp = :UsuResp\n"
                                                      "WHERE %1")
                                           .arg(DaEmpresa));
    query.bindValue(QStringLiteral(":StatusEmpresa"), e.novoStatus);
    query.bindValue(QStringLiteral(":DthUltAtualiz"), j.agora);
    query.bindValue(QStringLiteral(":DthStatusEmpresa"), Sql::dateTimeOrNull(j.dataStatus));
    query.bindValue(QStringLiteral(":UsuResp"), e.usuario);
    ligaEmpresa(query, e.sigla, e.numCertif, e.codigoPais, e.idEmpresa);
    Sql::exec(query);
    if (query.numRowsAffected() != 1)
        throw DbError(QStringLiteral("A empresa do certificado não existe mais."));

    EventRow row;
    row.key = {e.sigla, e.numCertif, e.codigoPais, e.idEmpresa};
    row.evento = e.evento;
    row.justificativa = j.justificativa;
    row.status = e.novoStatus;
    row.statusDate = j.dataStatus;
    row.dthUltAtualiz = j.agora;
    row.usuResp = e.usuario;
    Eventos::insere(db, EventTable::EVENTO_EMP, row);
}

int GeraEventosLinhasAtivas(const QSqlDatabase& db, Dependente tabela, const EntradaAlteraStatus& e,
                            const QString& evento, const QString& novoStatus, const Justificado& j) {
    const InfoDependente& t = info(tabela);
    const QStringList& chave = eventTableInfo(t.eventos).keyColumns;
    QSqlQuery query =
        Sql::prepare(db, QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 AND %2 = 'A' ORDER BY %1")
                             .arg(chave.join(QStringLiteral(", ")), t.colunaStatus, t.tabela, DaEmpresa));
    ligaEmpresa(query, e.sigla, e.numCertif, e.codigoPais, e.idEmpresa);
    Sql::exec(query);
    QList<EventRow> eventos;
    while (query.next()) {
        EventRow row;
        for (int i = 0; i < chave.size(); ++i)
            row.key << query.value(i);
        row.evento = evento;
        row.justificativa = j.justificativa;
        row.status = novoStatus.isEmpty() ? query.value(chave.size()).toString() : novoStatus;
        row.statusDate = j.dataStatus;
        row.dthUltAtualiz = j.agora;
        row.usuResp = e.usuario;
        eventos.append(row);
    }
    for (const EventRow& row : eventos)
        Eventos::insere(db, t.eventos, row);
    return int(eventos.size());
}

void PropagaStatusEmpresa(const QSqlDatabase& db, const EntradaAlteraStatus& e, const Justificado& j) {
    for (Dependente d : {Dependente::Tipo, Dependente::Lote, Dependente::Unidade, Dependente::Servico}) {
        GeraEventosLinhasAtivas(db, d, e, e.evento, e.novoStatus, j);
        const InfoDependente& t = info(d);
        // The lines agree with their events in what goes to the authority: status, its date and
        // the last change.
        QSqlQuery query = Sql::prepare(
            db,
            QStringLiteral("UPDATE %1 SET %2 = :novo, %3 = :dthstatus, DthUltAtualiz = :dth, UsuResp = :usu "
                           "WHERE %4 AND %2 = 'A'")
                .arg(t.tabela, t.colunaStatus, t.colunaDataStatus, DaEmpresa));
        query.bindValue(QStringLiteral(":novo"), e.novoStatus);
        query.bindValue(QStringLiteral(":dthstatus"), Sql::dateTimeOrNull(j.dataStatus));
        query.bindValue(QStringLiteral(":dth"), j.agora);
        query.bindValue(QStringLiteral(":usu"), textoOuNulo(e.usuario));
        ligaEmpresa(query, e.sigla, e.numCertif, e.codigoPais, e.idEmpresa);
        Sql::exec(query);
    }
}

void TransfereEmpresaProdutos(const QSqlDatabase& db, const EntradaAlteraStatus& e, const Justificado& j,
                              const QString& novoCodigoPais, const QString& novaIdEmpresa) {
    for (Dependente d : {Dependente::Tipo, Dependente::Lote, Dependente::Unidade}) {
        GeraEventosLinhasAtivas(db, d, e, QStringLiteral("ALT"), QString(), j);
        const InfoDependente& t = info(d);
        QSqlQuery query =
            Sql::prepare(db, QStringLiteral("UPDATE %1 SET IDEMPRESA = :novaEmpresa, CODIGOPAIS = "
                                            ":novoPais, DthUltAtualiz = :dth, UsuResp = :usu "
                                            "WHERE %2 AND %3 = 'A'")
                                 .arg(t.tabela, DaEmpresa, t.colunaStatus));
        query.bindValue(QStringLiteral(":novaEmpresa"), novaIdEmpresa);
        query.bindValue(QStringLiteral(":novoPais"), novoCodigoPais);
        query.bindValue(QStringLiteral(":dth"), j.agora);
        query.bindValue(QStringLiteral(":usu"), textoOuNulo(e.usuario));
        ligaEmpresa(query, e.sigla, e.numCertif, e.codigoPais, e.idEmpresa);
        Sql::exec(query);
    }
}

void DesaprovaCertificado(const QSqlDatabase& db, const QString& sigla, const QString& numCertif) {
    Sql::execute(db,
                 QStringLiteral("UPDATE CERTIFIC\n"
                                "SET APROVADO = 0\n"
                                "WHERE SIGLACERTIFICADOR = :sigla AND NUMCERTIF = :num"),
                 {{":sigla", sigla}, {":num", numCertif}});
}

} // namespace AlteraStatusEmpresa

// ---------------------------------------------------------------------------------------------

AlteracaoStatusEmpresa::AlteracaoStatusEmpresa(Session& session, JustificationAsker asker,
                                               EntradaAlteraStatus entrada)
    : session_(session), asker_(std::move(asker)), entrada_(std::move(entrada)) {}

QSqlDatabase AlteracaoStatusEmpresa::database() const {
    return session_.database();
}

QString AlteracaoStatusEmpresa::legendaStatus() const {
    if (entrada_.novoStatus == QLatin1String("A"))
        return QStringLiteral("Ativa Empresa e Propagar o Status de Ativado");
    if (entrada_.novoStatus == QLatin1String("C"))
        return QStringLiteral("Cancela Empresa e Propagar o Status de Cancelado");
    if (entrada_.novoStatus == QLatin1String("S"))
        return QStringLiteral("Suspende Empresa e Propagar o Status de Suspenso");
    return {};
}

QString AlteracaoStatusEmpresa::legendaTransferir() const {
    if (entrada_.novoStatus == QLatin1String("A"))
        return QStringLiteral("Ativar e Transferir Empresa Vinculada dos Produtos");
    if (entrada_.novoStatus == QLatin1String("C"))
        return QStringLiteral("Cancelar e Transferir Empresa Vinculada dos Produtos");
    if (entrada_.novoStatus == QLatin1String("S"))
        return QStringLiteral("Suspender e Transferir Empresa Vinculada dos Produtos");
    return {};
}

std::optional<EmpresaVinculada> AlteracaoStatusEmpresa::empresaAtual() const {
    for (const EmpresaVinculada& e :
         AlteraStatusEmpresa::empresas(database(), entrada_.sigla, entrada_.numCertif))
        if (e.CodigoPais == entrada_.codigoPais && e.IdEmpresa == entrada_.idEmpresa)
            return e;
    return std::nullopt;
}

QList<EmpresaVinculada> AlteracaoStatusEmpresa::outrasEmpresas() const {
    QList<EmpresaVinculada> outras;
    for (const EmpresaVinculada& e :
         AlteraStatusEmpresa::empresas(database(), entrada_.sigla, entrada_.numCertif))
        if (!(e.CodigoPais == entrada_.codigoPais && e.IdEmpresa == entrada_.idEmpresa))
            outras.append(e);
    return outras;
}

std::optional<Justificado> AlteracaoStatusEmpresa::perguntaJustificativa() {
    if (!asker_)
        throw std::logic_error("AlteracaoStatusEmpresa: no justification asker given");
    // The status date lies between the certificate's emission and today.
    const QDate emissao =
        Sql::scalar(database(),
                    QStringLiteral("SELECT DataEmissao FROM CERTIFIC WHERE SiglaCertificador = "
                                   ":sigla AND NumCertif = :num"),
                    {{":sigla", entrada_.sigla}, {":num", entrada_.numCertif}})
            .toDateTime()
            .date();
    const std::optional<Justificativa> typed = asker_(true, emissao);
    if (!typed)
        return std::nullopt;
    return Justificado{typed->texto, Sql::dateValue(typed->dataStatus), session_.clock().now()};
}

bool AlteracaoStatusEmpresa::propagar() {
    if (concluida_)
        return false;
    Prompts& prompts = session_.prompts();
    if (!prompts.confirm(ConfirmaPropagacao))
        return false;
    const QSqlDatabase db = database();
    try {
        const std::optional<Justificado> j = perguntaJustificativa();
        if (!j)
            return false;
        Transaction transaction(db);
        AlteraStatusEmpresa::AlteraStatusEmpCert(db, entrada_, *j);
        AlteraStatusEmpresa::PropagaStatusEmpresa(db, entrada_, *j);
        AlteraStatusEmpresa::DesaprovaCertificado(db, entrada_.sigla, entrada_.numCertif);
        transaction.commit();
    } catch (const std::exception&) {
        prompts.error(ErroPropagacao);
        return false;
    }
    concluida_ = true;
    prompts.information(PropagacaoRealizada);
    return true;
}

bool AlteracaoStatusEmpresa::transferir(const std::optional<std::pair<QString, QString>>& novaEmpresa) {
    if (concluida_)
        return false;
    Prompts& prompts = session_.prompts();
    if (!prompts.confirm(ConfirmaTransferencia))
        return false;
    const QSqlDatabase db = database();
    try {
        if (AlteraStatusEmpresa::servicosAtivos(db, entrada_) > 0) {
            prompts.information(ExisteServico);
            return false;
        }
        if (!novaEmpresa) {
            prompts.information(SelecioneNovaEmpresa);
            return false;
        }
        const std::optional<Justificado> j = perguntaJustificativa();
        if (!j)
            return false;
        Transaction transaction(db);
        AlteraStatusEmpresa::AlteraStatusEmpCert(db, entrada_, *j);
        // The new company is found by its key among the certificate's links, never by its name.
        bool vinculada = false;
        for (const EmpresaVinculada& e :
             AlteraStatusEmpresa::empresas(db, entrada_.sigla, entrada_.numCertif))
            vinculada =
                vinculada || (e.CodigoPais == novaEmpresa->first && e.IdEmpresa == novaEmpresa->second);
        if (!vinculada)
            throw DbError(QStringLiteral("A nova empresa não está vinculada ao certificado."));
        AlteraStatusEmpresa::TransfereEmpresaProdutos(db, entrada_, *j, novaEmpresa->first,
                                                      novaEmpresa->second);
        AlteraStatusEmpresa::DesaprovaCertificado(db, entrada_.sigla, entrada_.numCertif);
        transaction.commit();
    } catch (const std::exception&) {
        prompts.error(ErroTransferencia);
        return false;
    }
    concluida_ = true;
    prompts.information(TransferenciaRealizada);
    return true;
}
