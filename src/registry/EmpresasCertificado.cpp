#include "EmpresasCertificado.h"

#include "Clock.h"
#include "DataDigitada.h"
#include "DbError.h"
#include "Empresas.h"
#include "Eventos.h"
#include "Prompts.h"
#include "RegistraEvento.h"
#include "Session.h"
#include "Sql.h"
#include "TDMCertif.h"
#include "Transaction.h"

#include <QSqlQuery>

QString EmpresaVinculada::texto() const {
    if (!documento.isEmpty())
        return nome + QStringLiteral(" - ") + documento;
    return nome + QStringLiteral(" (") + CodigoPais + QLatin1Char(')');
}

namespace EmpresasCertificado {

namespace {

// The companies linked to the certificate in the given order; `soConhecidas` leaves out rows of
// any kind other than '1' and '2', which otherwise show whichever name they have, or their identity.
QList<EmpresaVinculada> linked(const QSqlDatabase& db, const QString& sigla, const QString& numCertif,
                               const QString& ordem, bool soConhecidas) {
    QSqlQuery query =
        Sql::exec(db,
                  QStringLiteral("Select  e.RazSocialEmp, e.NomPessoaFisica, e.IdEmpresa, e.CodigoPais, "
                                 "e.TipoPessoa, e.CGC, e.CPF\n"
                                 "from empresa e, emp_cert ec\n"
                                 "where e.CodigoPais = ec.CodigoPais and\n"
                                 "e.IdEmpresa = ec.IdEmpresa and\n"
                                 "ec.SiglaCertificador = :Sigla and\n"
                                 "ec.NumCertif = :NumC\n"
                                 "order by ") +
                      ordem,
                  {{":Sigla", sigla}, {":NumC", numCertif}});
    QList<EmpresaVinculada> list;
    while (query.next()) {
        EmpresaVinculada e;
        e.TipoPessoa = query.value(4).toString();
        if (soConhecidas && e.TipoPessoa != QLatin1String("1") && e.TipoPessoa != QLatin1String("2"))
            continue;
        e.CodigoPais = query.value(3).toString();
        e.IdEmpresa = query.value(2).toString();
        e.nome = nomeEmpresa(e.TipoPessoa, query.value(0).toString(), query.value(1).toString());
        if (e.nome.isEmpty())
            e.nome = !query.value(0).toString().isEmpty()   ? query.value(0).toString()
                     : !query.value(1).toString().isEmpty() ? query.value(1).toString()
                                                            : e.IdEmpresa;
        e.documento = documentoEmpresa(e.TipoPessoa, query.value(5).toString(), query.value(6).toString());
        list.append(e);
    }
    return list;
}

} // namespace

QList<EmpresaVinculada> vinculadas(const QSqlDatabase& db, const QString& sigla, const QString& numCertif) {
    return linked(db, sigla, numCertif, QStringLiteral("e.TipoPessoa,e.RazSocialEmp, e.NomPessoaFisica "),
                  true);
}

QList<EmpresaVinculada> todasVinculadas(const QSqlDatabase& db, const QString& sigla,
                                        const QString& numCertif) {
    return linked(db, sigla, numCertif, QStringLiteral("e.RazSocialEmp, e.NomPessoaFisica"), false);
}

std::optional<EmpresaCertificado> carrega(const QSqlDatabase& db, const QString& sigla,
                                          const QString& numCertif, const QString& codigoPais,
                                          const QString& idEmpresa) {
    QSqlQuery query =
        Sql::exec(db,
                  QStringLiteral("SELECT IdPapelEmp, StatusEmpresa, DthEntEmpresa, DthStatusEmpresa, "
                                 "DthUltAtualiz, UsuResp FROM EMP_CERT WHERE SiglaCertificador = :sigla "
                                 "AND NumCertif = :num AND CodigoPais = :pais AND IdEmpresa = :id"),
                  {{":sigla", sigla}, {":num", numCertif}, {":pais", codigoPais}, {":id", idEmpresa}});
    if (!query.next())
        return std::nullopt;
    EmpresaCertificado row;
    row.SiglaCertificador = sigla;
    row.NumCertif = numCertif;
    row.CodigoPais = codigoPais;
    row.IdEmpresa = idEmpresa;
    if (!query.value(0).isNull())
        row.IdPapelEmp = query.value(0).toInt();
    row.StatusEmpresa = query.value(1).toString();
    row.DthEntEmpresa = query.value(2).toDateTime();
    row.DthStatusEmpresa = query.value(3).toDateTime();
    row.DthUltAtualiz = query.value(4).toDateTime();
    row.UsuResp = query.value(5).toString();
    return row;
}

namespace {

QVariant papel(const EmpresaCertificado& row) {
    return row.IdPapelEmp ? QVariant(*row.IdPapelEmp) : QVariant(QMetaType(QMetaType::Int));
}

} // namespace

void insere(const QSqlDatabase& db, const EmpresaCertificado& row) {
    Sql::execute(db,
                 QStringLiteral(
                     "INSERT INTO EMP_CERT (SiglaCertificador, NumCertif, CodigoPais, IdEmpresa, "
                     "StatusEmpresa, IdPapelEmp, DthUltAtualiz, UsuResp, DthEntEmpresa, DthStatusEmpresa) "
                     "VALUES (:sigla, :num, :pais, :id, :status, :papel, :dth, :usu, :entrada, :dthStatus)"),
                 {{":sigla", row.SiglaCertificador},
                  {":num", row.NumCertif},
                  {":pais", row.CodigoPais},
                  {":id", row.IdEmpresa},
                  {":status", row.StatusEmpresa},
                  {":papel", papel(row)},
                  {":dth", row.DthUltAtualiz},
                  {":usu", row.UsuResp},
                  {":entrada", Sql::dateTimeOrNull(row.DthEntEmpresa)},
                  {":dthStatus", Sql::dateTimeOrNull(row.DthStatusEmpresa)}});
}

void atualiza(const QSqlDatabase& db, const EmpresaCertificado& row) {
    const int changed = Sql::execute(
        db,
        QStringLiteral(
            "UPDATE EMP_CERT SET StatusEmpresa = :status, IdPapelEmp = :papel, DthUltAtualiz = :dth, "
            "UsuResp = :usu, DthEntEmpresa = :entrada, DthStatusEmpresa = :dthStatus "
            "WHERE SiglaCertificador = :sigla AND NumCertif = :num AND CodigoPais = :pais "
            "AND IdEmpresa = :id"),
        {{":sigla", row.SiglaCertificador},
         {":num", row.NumCertif},
         {":pais", row.CodigoPais},
         {":id", row.IdEmpresa},
         {":status", row.StatusEmpresa},
         {":papel", papel(row)},
         {":dth", row.DthUltAtualiz},
         {":usu", row.UsuResp},
         {":entrada", Sql::dateTimeOrNull(row.DthEntEmpresa)},
         {":dthStatus", Sql::dateTimeOrNull(row.DthStatusEmpresa)}});
    if (changed != 1)
        throw DbError(QStringLiteral("A empresa do certificado que estava sendo editada não existe mais."));
}

void apaga(const QSqlDatabase& db, const QString& sigla, const QString& numCertif, const QString& codigoPais,
           const QString& idEmpresa) {
    Eventos::apagaDoItem(db, EventTable::EVENTO_EMP, {sigla, numCertif, codigoPais, idEmpresa});
    Sql::execute(db,
                 QStringLiteral("DELETE FROM EMP_CERT WHERE SiglaCertificador = :sigla AND NumCertif = :num "
                                "AND CodigoPais = :pais AND IdEmpresa = :id"),
                 {{":sigla", sigla}, {":num", numCertif}, {":pais", codigoPais}, {":id", idEmpresa}});
}

bool existe(const QSqlDatabase& db, const QString& sigla, const QString& numCertif, const QString& codigoPais,
            const QString& idEmpresa) {
    return Sql::scalar(db,
                       QStringLiteral("Select Count(*) as Quant from EMP_CERT\n"
                                      "Where UCase(SIGLACERTIFICADOR) = UCase(:sigla)\n"
                                      "and UCase(NUMCERTIF) = UCase(:num)\n"
                                      "and UCase(CODIGOPAIS) = UCase(:pais)\n"
                                      "and UCase(IDEMPRESA) = UCase(:id)"),
                       {{":sigla", sigla}, {":num", numCertif}, {":pais", codigoPais}, {":id", idEmpresa}})
               .toInt() > 0;
}

bool referenciada(const QSqlDatabase& db, const QString& sigla, const QString& numCertif,
                  const QString& codigoPais, const QString& idEmpresa) {
    QStringList partes;
    for (const QString& tabela : {QStringLiteral("LOTE"), QStringLiteral("TIPO"), QStringLiteral("UNIDADE"),
                                  QStringLiteral("SERVICO")})
        partes << QStringLiteral("SELECT 1 FROM %1 WHERE SIGLACERTIFICADOR = :sigla AND NUMCERTIF = :num "
                                 "AND CODIGOPAIS = :pais AND IDEMPRESA = :id")
                      .arg(tabela);
    QSqlQuery query =
        Sql::exec(db, partes.join(QStringLiteral("\nUNION ALL\n")) + QStringLiteral("\nLIMIT 1"),
                  {{":sigla", sigla}, {":num", numCertif}, {":pais", codigoPais}, {":id", idEmpresa}});
    return query.next();
}

} // namespace EmpresasCertificado

namespace {

const QString CaptionDelecao = QStringLiteral("Erro de deleção");

} // namespace

VinculosEmpresa::VinculosEmpresa(TDMCertif& dm) : dm_(dm) {
    std::shared_ptr<EmpresaCertificado> registro = registro_;
    TDMCertif* certif = &dm_;
    dm_.registraVerificacao(QStringLiteral("EMPCERT"), [certif, registro] {
        return EmpresasCertificado::existe(certif->database(), registro->SiglaCertificador,
                                           registro->NumCertif, registro->CodigoPais, registro->IdEmpresa);
    });
    registroEditor_ = dm_.registraEditor([this] { cancela(); });
}

VinculosEmpresa::~VinculosEmpresa() {
    dm_.removeEditor(registroEditor_);
}

QDate VinculosEmpresa::inclui() {
    *registro_ = EmpresaCertificado{};
    registro_->StatusEmpresa = QStringLiteral("A");
    modo_ = Modo::Inclusao;
    return dm_.registro().DataEmissao;
}

void VinculosEmpresa::escolheEmpresa(const QString& codigoPais, const QString& idEmpresa) {
    if (modo_ != Modo::Inclusao)
        return; // the company of a stored link cannot change
    registro_->CodigoPais = codigoPais;
    registro_->IdEmpresa = idEmpresa;
}

bool VinculosEmpresa::edita(const QString& codigoPais, const QString& idEmpresa) {
    const std::optional<EmpresaCertificado> row = EmpresasCertificado::carrega(
        dm_.database(), dm_.siglaAberta(), dm_.numAberto(), codigoPais, idEmpresa);
    if (!row)
        return false;
    *registro_ = *row;
    modo_ = Modo::Edicao;
    return true;
}

void VinculosEmpresa::cancela() {
    *registro_ = EmpresaCertificado{};
    modo_ = Modo::Navegacao;
}

void VinculosEmpresa::recarregaCertificado() {
    // Completo and Aprovado may have been changed in memory by a write that was rolled back.
    dm_.CarregaCertificado(dm_.siglaAberta(), dm_.numAberto());
}

bool VinculosEmpresa::aplica(const QString& dataEntrada) {
    if (!editando() || !dm_.temCertificadoAberto())
        return false;
    Session& session = dm_.session();
    Prompts& prompts = session.prompts();
    EmpresaCertificado& r = *registro_;
    if (r.CodigoPais.isEmpty() || r.IdEmpresa.isEmpty() || !r.IdPapelEmp) {
        prompts.message(
            QStringLiteral("Campos em branco"),
            QStringLiteral("Existem campos obrigatórios em branco !!! Reveja a inclusão ou edição..."));
        return false;
    }
    const bool inclusao = modo_ == Modo::Inclusao;
    if (inclusao) {
        r.SiglaCertificador = dm_.siglaAberta();
        r.NumCertif = dm_.numAberto();
        if (dm_.ExisteRegistro(QStringLiteral("EMPCERT"))) {
            prompts.message(Empresas::CaptionChaveDuplicada, Empresas::EmpresaJaExiste);
            return false;
        }
    }
    if (!dm_.ValidaDataEntrada(dataEntrada))
        return false;

    const QDateTime agora = session.clock().now();
    const bool aprovado = dm_.JaAprovado();
    EmpresaCertificado novo = r;
    novo.DthEntEmpresa = Sql::dateValue(DataDigitada::le(dataEntrada).data);
    if (inclusao || !aprovado)
        novo.DthStatusEmpresa = novo.DthEntEmpresa;
    novo.DthUltAtualiz = agora;
    novo.UsuResp = session.user().SiglaUsu;

    const QSqlDatabase db = dm_.database();
    try {
        Transaction transaction(db);
        if (inclusao)
            EmpresasCertificado::insere(db, novo);
        else
            EmpresasCertificado::atualiza(db, novo);
        if (inclusao || aprovado) {
            RegistroEvento evento{EventTable::EVENTO_EMP,
                                  {novo.SiglaCertificador, novo.NumCertif, novo.CodigoPais, novo.IdEmpresa},
                                  inclusao ? QStringLiteral("INC") : QStringLiteral("ALT"),
                                  novo.StatusEmpresa,
                                  inclusao ? novo.DthEntEmpresa : agora};
            evento.perguntaJustificativa = aprovado;
            evento.aparaJustificativa = true;
            if (!registraEvento(db, dm_.justificationAsker(), evento, dm_.registro().DataEmissao,
                                session.user().SiglaUsu, agora)) {
                // Cancelled: the link stays as it was, without a message.
                transaction.rollback();
                cancela();
                return false;
            }
        }
        dm_.AtualizaCompleto(QStringLiteral("O"));
        if (aprovado)
            dm_.RetiraAprovacao();
        transaction.commit();
    } catch (const DbError& error) {
        recarregaCertificado();
        if (error.isKeyViolation() || error.message() == KeyViolationMessage)
            prompts.message(Empresas::CaptionChaveDuplicada, Empresas::EmpresaJaExisteInclusao);
        else
            prompts.message(Empresas::CaptionGravacao, Empresas::ErroGenerico);
        return false;
    } catch (const std::exception&) {
        recarregaCertificado();
        prompts.message(Empresas::CaptionGravacao, Empresas::ErroGenerico);
        return false;
    }
    *registro_ = novo;
    modo_ = Modo::Navegacao;
    dm_.atualizaBloqueio();
    return true;
}

bool VinculosEmpresa::exclui(const QString& codigoPais, const QString& idEmpresa) {
    if (editando() || !dm_.temCertificadoAberto())
        return false;
    Prompts& prompts = dm_.session().prompts();
    const QSqlDatabase db = dm_.database();
    const QString sigla = dm_.siglaAberta();
    const QString num = dm_.numAberto();
    try {
        const Eventos::AprovacaoAnterior& aprovacao = dm_.aprovacaoAnterior();
        if (aprovacao.houve) {
            const QDateTime inclusao =
                Eventos::ultimaInclusao(db, EventTable::EVENTO_EMP, {sigla, num, codigoPais, idEmpresa});
            if (!aprovacao.permiteApagar(inclusao)) {
                prompts.message(CaptionDelecao,
                                QStringLiteral("Este registro não pode ser apagado do certificado, "
                                               "pois já foi aprovado para emissão para o Kavorel."));
                return false;
            }
        }
        if (EmpresasCertificado::referenciada(db, sigla, num, codigoPais, idEmpresa)) {
            prompts.message(CaptionDelecao,
                            QStringLiteral("Este registro não pode ser excluido do certificado, pois "
                                           "já foi referenciado a produto ou serviço."));
            return false;
        }
        if (!prompts.confirm(QStringLiteral("Confirma a exclusão da empresa ?")))
            return false;
        Transaction transaction(db);
        EmpresasCertificado::apaga(db, sigla, num, codigoPais, idEmpresa);
        dm_.AtualizaCompleto(QStringLiteral("O"));
        dm_.RetiraAprovacao();
        transaction.commit();
    } catch (const std::exception&) {
        recarregaCertificado();
        prompts.message(CaptionDelecao, Empresas::ErroGenerico);
        return false;
    }
    dm_.atualizaBloqueio();
    return true;
}
