#include "TDMDocNorm.h"

#include "Clock.h"
#include "DataDigitada.h"
#include "DbError.h"
#include "Prompts.h"
#include "RegistraEvento.h"
#include "Session.h"
#include "Sql.h"
#include "TDMCertif.h"
#include "Transaction.h"

const QString TDMDocNorm::NaoPodeApagar = QStringLiteral(
    "Este registro não pode ser apagado do certificado, pois já foi aprovado para emissão para o Kavorel.");
const QString TDMDocNorm::ConfirmaExclusao = QStringLiteral("Confirma a Exclusão do Histórico?");
const QString TDMDocNorm::ErroStatus = QStringLiteral("Erro ao gerar o Status!");

namespace {

const QString CaptionGravacao = QStringLiteral("Erro de gravação");
const QString ErroGenerico =
    QStringLiteral("Erro genérico de gravação no Banco de Dados !!! As alterações não foram efetuadas.");

QString codigoDoEvento(const QString& status) {
    if (status == QLatin1String("S"))
        return QStringLiteral("SUS");
    if (status == QLatin1String("C"))
        return QStringLiteral("CAN");
    return QStringLiteral("REA");
}

} // namespace

TDMDocNorm::TDMDocNorm(TDMCertif& certif, ItemDocNorm item) : certif_(certif), item_(std::move(item)) {}

QList<VinculoDocNorm> TDMDocNorm::vinculos() const {
    return DocumentosNormativos::vinculos(certif_.database(), item_);
}

QList<CandidatoDocNorm> TDMDocNorm::candidatos(std::optional<int> idTipoDoc) const {
    return DocumentosNormativos::candidatos(certif_.database(), item_, idTipoDoc);
}

QList<TipoDocumento> TDMDocNorm::tiposDeDocumento() const {
    return DocumentosNormativos::tiposDeDocumento(certif_.database());
}

QVariantList TDMDocNorm::chaveDoEvento(const VinculoDocNorm& vinculo) const {
    return DocumentosNormativos::chaveDoEvento(item_.escopo, vinculo.chave);
}

void TDMDocNorm::relePosErro() {
    // A rolled-back write may have changed the certificate's flags in memory.
    if (certif_.temCertificadoAberto())
        certif_.CarregaCertificado(certif_.siglaAberta(), certif_.numAberto());
}

bool TDMDocNorm::aplica(const CandidatoDocNorm& documento, const QString& dataEntrada) {
    // The entry date is checked first: a refused date leaves the certificate as it was.
    if (!certif_.ValidaDataEntrada(dataEntrada))
        return false;
    Session& session = certif_.session();
    const QSqlDatabase db = certif_.database();
    const QDateTime entrada = Sql::dateValue(DataDigitada::le(dataEntrada).data);
    const QDateTime agora = session.clock().now();
    const QString usuario = session.user().SiglaUsu;
    const QVariantMap chave = DocumentosNormativos::chaveDoVinculo(item_, documento);
    try {
        Transaction transaction(db);
        DocumentosNormativos::insere(db, item_.escopo, chave, entrada, agora, usuario);
        RegistroEvento evento{escopo().eventos, DocumentosNormativos::chaveDoEvento(item_.escopo, chave),
                              QStringLiteral("INC"), QStringLiteral("A"), entrada};
        registraEvento(db, certif_.justificationAsker(), evento, item_.DataEmissao, usuario, agora);
        certif_.RetiraAprovacao();
        certif_.AtualizaCompleto(QStringLiteral("O"));
        transaction.commit();
    } catch (const std::exception&) {
        relePosErro();
        session.prompts().message(CaptionGravacao, ErroGenerico);
        return false;
    }
    return true;
}

bool TDMDocNorm::exclui(const VinculoDocNorm& vinculo) {
    Prompts& prompts = certif_.session().prompts();
    const QSqlDatabase db = certif_.database();
    try {
        if (DocumentosNormativos::naReplica(db, item_.escopo, vinculo.chave)) {
            prompts.information(NaoPodeApagar);
            return false;
        }
    } catch (const DbError&) {
        prompts.message(CaptionGravacao, ErroGenerico);
        return false;
    }
    if (!prompts.confirm(ConfirmaExclusao))
        return false;
    // The link goes with its events, and the certificate's flags follow, or nothing changes.
    try {
        Transaction transaction(db);
        DocumentosNormativos::apaga(db, item_.escopo, vinculo.chave);
        certif_.RetiraAprovacao();
        certif_.AtualizaCompleto(QStringLiteral("O"));
        transaction.commit();
    } catch (const std::exception&) {
        relePosErro();
        prompts.message(CaptionGravacao, ErroGenerico);
        return false;
    }
    return true;
}

bool TDMDocNorm::mudaStatus(const VinculoDocNorm& vinculo, const QString& status) {
    if (vinculo.Status == status)
        return false;
    Session& session = certif_.session();
    const QSqlDatabase db = certif_.database();
    const QDateTime agora = session.clock().now();
    const QString usuario = session.user().SiglaUsu;
    // The new status, its event and the withdrawn approval are one change.
    try {
        Transaction transaction(db);
        RegistroEvento evento{escopo().eventos, chaveDoEvento(vinculo), codigoDoEvento(status), status,
                              agora};
        evento.perguntaData = true;
        evento.perguntaJustificativa = true;
        // The status date lies between the certificate's emission and today.
        const std::optional<QDateTime> data =
            registraEvento(db, certif_.justificationAsker(), evento, item_.DataEmissao, usuario, agora);
        if (!data) {
            transaction.rollback();
            return false;
        }
        DocumentosNormativos::mudaStatus(db, item_.escopo, vinculo.chave, status, *data, agora, usuario);
        certif_.RetiraAprovacao();
        transaction.commit();
    } catch (const std::exception&) {
        relePosErro();
        session.prompts().error(ErroStatus);
        return false;
    }
    return true;
}
