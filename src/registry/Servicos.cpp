#include "Servicos.h"

#include "Clock.h"
#include "DataDigitada.h"
#include "DbError.h"
#include "Eventos.h"
#include "Formats.h"
#include "Prompts.h"
#include "RegistraEvento.h"
#include "Session.h"
#include "Sql.h"
#include "TDMCertif.h"
#include "Transaction.h"

#include <QSqlQuery>

const QString EditorServicos::CamposEmBranco =
    QStringLiteral("Existem campos obrigatórios em branco !!! Reveja a inclusão ou edição...");
const QString EditorServicos::ServicoJaExiste =
    QStringLiteral("Este serviço já existe !!!. Cancele a Operação.");
const QString EditorServicos::ServicoJaCadastrado =
    QStringLiteral("Este serviço já está cadastrado neste certificado !!! Cancele a inclusão...");
const QString EditorServicos::NaoPodeApagar = QStringLiteral(
    "Este registro não pode ser apagado do certificado, pois já foi aprovado para emissão para o Kavorel.");
const QString EditorServicos::ConfirmaExclusao = QStringLiteral("Confirma a exclusão do serviço?");
const QString EditorServicos::ClasseComDocumentos =
    QStringLiteral("Este serviço possui documentos normativos vinculados à sua classe. Exclua os vínculos "
                   "antes de mudar a classe de serviço.");

namespace {

const QString CaptionCamposEmBranco = QStringLiteral("Campos em branco");
const QString CaptionGravacao = QStringLiteral("Erro de gravação");
const QString CaptionDelecao = QStringLiteral("Erro de deleção");
const QString CaptionEdicao = QStringLiteral("Erro de Edição");
const QString ErroGenerico =
    QStringLiteral("Erro genérico de gravação no Banco de Dados !!! As alterações não foram efetuadas.");

QVariant textOrNull(const QString& text) {
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

// The key condition on a table whose service columns carry these names.
const QString CondicaoChave =
    QStringLiteral("IdClasseServ = :classe_old AND SiglaCertificador = :sigla_old AND "
                   "NumCertif = :num_old AND CodigoPais = :pais_old AND "
                   "IdEmpresa = :empresa_old");

Servico leServico(const QSqlQuery& q) {
    Servico s;
    s.IdClasseServ = q.value(QStringLiteral("IdClasseServ")).toInt();
    s.SiglaCertificador = q.value(QStringLiteral("SiglaCertificador")).toString();
    s.NumCertif = q.value(QStringLiteral("NumCertif")).toString();
    s.CodigoPais = q.value(QStringLiteral("CodigoPais")).toString();
    s.IdEmpresa = q.value(QStringLiteral("IdEmpresa")).toString();
    s.StatusServico = q.value(QStringLiteral("StatusServico")).toString();
    s.DthStatusServico = q.value(QStringLiteral("DthStatusServico")).toDateTime();
    s.DthEntCertif = q.value(QStringLiteral("DthEntCertif")).toDateTime();
    s.Observacoes = q.value(QStringLiteral("Observacoes")).toString();
    s.DthUltAtualiz = q.value(QStringLiteral("DthUltAtualiz")).toDateTime();
    s.UsuResp = q.value(QStringLiteral("UsuResp")).toString();
    return s;
}

// Updates the service columns of one table from the old key to the new one.
void mudaChaveEm(const QSqlDatabase& db, const QString& table, const ChaveServico& antiga,
                 const ChaveServico& nova) {
    Sql::execute(
        db,
        QStringLiteral("UPDATE %1 SET NumCertif = :num, SiglaCertificador = :sigla, IdClasseServ = :classe, "
                       "CodigoPais = :pais, IdEmpresa = :empresa WHERE %2")
            .arg(table, CondicaoChave),
        {{":num", nova.NumCertif},
         {":sigla", nova.SiglaCertificador},
         {":classe", nova.IdClasseServ},
         {":pais", nova.CodigoPais},
         {":empresa", nova.IdEmpresa},
         {":classe_old", antiga.IdClasseServ},
         {":sigla_old", antiga.SiglaCertificador},
         {":num_old", antiga.NumCertif},
         {":pais_old", antiga.CodigoPais},
         {":empresa_old", antiga.IdEmpresa}});
}

void apagaEm(const QSqlDatabase& db, const QString& table, const ChaveServico& chave) {
    Sql::execute(db, QStringLiteral("DELETE FROM %1 WHERE %2").arg(table, CondicaoChave),
                 {{":classe_old", chave.IdClasseServ},
                  {":sigla_old", chave.SiglaCertificador},
                  {":num_old", chave.NumCertif},
                  {":pais_old", chave.CodigoPais},
                  {":empresa_old", chave.IdEmpresa}});
}

} // namespace

namespace Servicos {

QList<ClasseItem> classesDeServico(const QSqlDatabase& db) {
    // One entry per class, however many classes of certificate it is accredited under.
    QSqlQuery q = Sql::exec(db, QStringLiteral("SELECT DISTINCT S.IDCLASSESERV, S.NOMCLASSESERV "
                                               "FROM CLASSE_S S , CONFIG_LOCAL C, CREDENCIAMENTO_SERV CC "
                                               "WHERE S.IDCLASSESERV = CC.IDCLASSESERV "
                                               "AND C.SIGLACERTIFICADOR = CC.SIGLACERTIFICADOR "
                                               "ORDER BY S.NOMCLASSESERV"));
    QList<ClasseItem> items;
    while (q.next())
        items.append({q.value(0).toInt(), q.value(1).toString()});
    return items;
}

QString nomeDaClasse(const QSqlDatabase& db, int idClasseServ) {
    return Sql::scalar(db, QStringLiteral("SELECT NomClasseServ FROM CLASSE_S WHERE IdClasseServ = :id"),
                       {{":id", idClasseServ}})
        .toString();
}

std::optional<Servico> carrega(const QSqlDatabase& db, const ChaveServico& chave) {
    QSqlQuery q = Sql::exec(db, QStringLiteral("SELECT * FROM SERVICO WHERE %1").arg(CondicaoChave),
                            {{":classe_old", chave.IdClasseServ},
                             {":sigla_old", chave.SiglaCertificador},
                             {":num_old", chave.NumCertif},
                             {":pais_old", chave.CodigoPais},
                             {":empresa_old", chave.IdEmpresa}});
    if (!q.next())
        return std::nullopt;
    return leServico(q);
}

QString consultaDaGrade() {
    return QStringLiteral(
        "SELECT S.IdClasseServ, S.SiglaCertificador, S.NumCertif, S.CodigoPais, S.IdEmpresa, "
        "C.NomClasseServ, "
        "IIF(E.TipoPessoa = '1', E.RazSocialEmp, IIF(E.TipoPessoa = '2', E.NomPessoaFisica, '')) AS "
        "NomeEmpresa "
        "FROM SERVICO S "
        "LEFT JOIN CLASSE_S C ON C.IdClasseServ = S.IdClasseServ "
        "LEFT JOIN EMPRESA E ON E.CodigoPais = S.CodigoPais AND E.IdEmpresa = S.IdEmpresa "
        "WHERE S.SiglaCertificador = :sigla AND S.NumCertif = :num "
        "ORDER BY C.NomClasseServ, NomeEmpresa, S.IdClasseServ, S.CodigoPais, S.IdEmpresa");
}

int quantos(const QSqlDatabase& db, const QString& sigla, const QString& numero) {
    return Sql::scalar(db,
                       QStringLiteral("SELECT Count(*) FROM SERVICO WHERE SiglaCertificador = :sigla AND "
                                      "NumCertif = :num"),
                       {{":sigla", sigla}, {":num", numero}})
        .toInt();
}

bool existe(const QSqlDatabase& db, const ChaveServico& chave) {
    return Sql::scalar(db,
                       QStringLiteral("Select Count(*) as Quant from SERVICO "
                                      "Where IdClasseServ = :classe "
                                      "and   UCase(SIGLACERTIFICADOR) = UCase(:sigla) "
                                      "and   UCase(NUMCERTIF) = UCase(:num) "
                                      "and   UCase(CODIGOPAIS) = UCase(:pais) "
                                      "and  UCase(IDEMPRESA) = UCase(:empresa)"),
                       {{":classe", chave.IdClasseServ},
                        {":sigla", chave.SiglaCertificador},
                        {":num", chave.NumCertif},
                        {":pais", chave.CodigoPais},
                        {":empresa", chave.IdEmpresa}})
               .toInt() > 0;
}

void insere(const QSqlDatabase& db, const Servico& row) {
    Sql::execute(
        db,
        QStringLiteral("INSERT INTO SERVICO (IdClasseServ, NumCertif, SiglaCertificador, CodigoPais, "
                       "IdEmpresa, StatusServico, Observacoes, DthUltAtualiz, UsuResp, DthEntCertif, "
                       "DthStatusServico) VALUES (:classe, :num, :sigla, :pais, :empresa, :status, :obs, "
                       ":dth, :usu, :entrada, :dthstatus)"),
        {{":classe", row.IdClasseServ.value_or(0)},
         {":num", row.NumCertif},
         {":sigla", row.SiglaCertificador},
         {":pais", row.CodigoPais},
         {":empresa", row.IdEmpresa},
         {":status", textOrNull(row.StatusServico)},
         {":obs", textOrNull(row.Observacoes)},
         {":dth", row.DthUltAtualiz},
         {":usu", row.UsuResp},
         {":entrada", Sql::dateTimeOrNull(row.DthEntCertif)},
         {":dthstatus", Sql::dateTimeOrNull(row.DthStatusServico)}});
}

void atualiza(const QSqlDatabase& db, const ChaveServico& antiga, const Servico& row) {
    const int changed = Sql::execute(
        db,
        QStringLiteral(
            "UPDATE SERVICO SET IdClasseServ = :classe, NumCertif = :num, SiglaCertificador = :sigla, "
            "CodigoPais = :pais, IdEmpresa = :empresa, StatusServico = :status, Observacoes = :obs, "
            "DthUltAtualiz = :dth, UsuResp = :usu, DthEntCertif = :entrada, "
            "DthStatusServico = :dthstatus WHERE %1")
            .arg(CondicaoChave),
        {{":classe", row.IdClasseServ.value_or(0)},
         {":num", row.NumCertif},
         {":sigla", row.SiglaCertificador},
         {":pais", row.CodigoPais},
         {":empresa", row.IdEmpresa},
         {":status", textOrNull(row.StatusServico)},
         {":obs", textOrNull(row.Observacoes)},
         {":dth", row.DthUltAtualiz},
         {":usu", row.UsuResp},
         {":entrada", Sql::dateTimeOrNull(row.DthEntCertif)},
         {":dthstatus", Sql::dateTimeOrNull(row.DthStatusServico)},
         {":classe_old", antiga.IdClasseServ},
         {":sigla_old", antiga.SiglaCertificador},
         {":num_old", antiga.NumCertif},
         {":pais_old", antiga.CodigoPais},
         {":empresa_old", antiga.IdEmpresa}});
    // The line was deleted meanwhile: saying nothing would report a lost change as saved.
    if (changed != 1)
        throw DbError(QStringLiteral("O serviço não foi encontrado no certificado."));
}

void AtualizaChaveEventosServico(const QSqlDatabase& db, const ChaveServico& antiga,
                                 const ChaveServico& nova) {
    mudaChaveEm(db, QStringLiteral("STATUS_S"), antiga, nova);
}

void atualizaChaveDocumentos(const QSqlDatabase& db, const ChaveServico& antiga, const ChaveServico& nova) {
    mudaChaveEm(db, QStringLiteral("DOC_NORM_SERV"), antiga, nova);
    mudaChaveEm(db, QStringLiteral("STATUS_DNS"), antiga, nova);
}

int documentosVinculados(const QSqlDatabase& db, const ChaveServico& chave) {
    return Sql::scalar(db, QStringLiteral("SELECT Count(*) FROM DOC_NORM_SERV WHERE %1").arg(CondicaoChave),
                       {{":classe_old", chave.IdClasseServ},
                        {":sigla_old", chave.SiglaCertificador},
                        {":num_old", chave.NumCertif},
                        {":pais_old", chave.CodigoPais},
                        {":empresa_old", chave.IdEmpresa}})
        .toInt();
}

void apaga(const QSqlDatabase& db, const ChaveServico& chave) {
    apagaEm(db, QStringLiteral("STATUS_DNS"), chave);
    apagaEm(db, QStringLiteral("DOC_NORM_SERV"), chave);
    apagaEm(db, QStringLiteral("STATUS_S"), chave);
    apagaEm(db, QStringLiteral("SERVICO"), chave);
}

EmpresaDoServico empresa(const QSqlDatabase& db, const QString& codigoPais, const QString& idEmpresa) {
    QSqlQuery q =
        Sql::exec(db,
                  QStringLiteral("SELECT CGC, RazSocialEmp, TipoPessoa, NomPessoaFisica FROM EMPRESA "
                                 "WHERE CodigoPais = :pais AND IdEmpresa = :empresa"),
                  {{":pais", codigoPais}, {":empresa", idEmpresa}});
    EmpresaDoServico e;
    if (!q.next())
        return e;
    const QString cgc = q.value(0).toString();
    e.cnpj = cgc.isEmpty() ? QString() : FormataCNPJ(cgc, true);
    e.razaoSocial =
        q.value(2).toString() == QLatin1String("2") ? q.value(3).toString() : q.value(1).toString();
    return e;
}

} // namespace Servicos

EditorServicos::EditorServicos(TDMCertif& dm)
    : dm_(dm), registroEditor_(dm.registraEditor([this] {
          if (editando())
              cancelar();
      })) {}

EditorServicos::~EditorServicos() {
    dm_.removeEditor(registroEditor_);
}

QSqlDatabase EditorServicos::database() const {
    return dm_.database();
}

void EditorServicos::mostra(const std::optional<ChaveServico>& atual) {
    modo_ = Modo::Navegacao;
    std::optional<Servico> row;
    if (atual)
        row = Servicos::carrega(database(), *atual);
    temLinha_ = row.has_value();
    linha_ = guardada_ = row.value_or(Servico{});
}

QDate EditorServicos::incluir() {
    linha_ = Servico{};
    linha_.SiglaCertificador = dm_.siglaAberta();
    linha_.NumCertif = dm_.numAberto();
    linha_.StatusServico = QStringLiteral("A");
    modo_ = Modo::Insercao;
    return dm_.registro().DataEmissao;
}

void EditorServicos::escolheEmpresa(const QString& codigoPais, const QString& idEmpresa) {
    if (!editando())
        return;
    linha_.SiglaCertificador = dm_.siglaAberta();
    linha_.NumCertif = dm_.numAberto();
    linha_.CodigoPais = codigoPais;
    linha_.IdEmpresa = idEmpresa;
}

bool EditorServicos::editar() {
    if (editando() || !temLinha_)
        return false;
    chaveAntiga_ = linha_.chave();
    modo_ = Modo::Edicao;
    return true;
}

bool EditorServicos::duplicado() const {
    return Servicos::existe(database(), linha_.chave());
}

void EditorServicos::relePosErro() {
    // The rolled-back write may have changed the certificate's flags in memory; nothing else can be
    // pending, since "Dados Gerais" cannot be left with unsaved changes.
    if (dm_.temCertificadoAberto())
        dm_.CarregaCertificado(dm_.siglaAberta(), dm_.numAberto());
}

bool EditorServicos::aplicar(const QString& dataEntrada) {
    if (!editando())
        return false;
    Prompts& prompts = dm_.session().prompts();
    if (linha_.CodigoPais.isEmpty() || linha_.IdEmpresa.isEmpty() || !linha_.IdClasseServ) {
        prompts.message(CaptionCamposEmBranco, CamposEmBranco);
        return false;
    }
    const QDateTime agora = dm_.session().clock().now();
    const QString usuario = dm_.session().user().SiglaUsu;
    linha_.DthUltAtualiz = agora;
    linha_.UsuResp = usuario;

    const bool inclusao = modo_ == Modo::Insercao;
    const ChaveServico nova = linha_.chave();
    const bool mudouChave = !inclusao && !(nova == chaveAntiga_);
    if ((inclusao || mudouChave) && dm_.ExisteRegistro(QStringLiteral("SERVICO"))) {
        prompts.message(TDMCertif::CaptionChaveDuplicada, ServicoJaExiste);
        return false;
    }
    if (!dm_.ValidaDataEntrada(dataEntrada))
        return false;
    const QSqlDatabase db = database();
    // A link names a document of the service's class: it cannot follow the line to another class.
    if (mudouChave && nova.IdClasseServ != chaveAntiga_.IdClasseServ &&
        Servicos::documentosVinculados(db, chaveAntiga_) > 0) {
        prompts.message(CaptionEdicao, ClasseComDocumentos);
        return false;
    }
    const bool aprovado = dm_.JaAprovado();
    linha_.DthEntCertif = Sql::dateValue(DataDigitada::le(dataEntrada).data);
    if (inclusao || !aprovado)
        linha_.DthStatusServico = linha_.DthEntCertif;

    try {
        Transaction transaction(db);
        if (inclusao) {
            Servicos::insere(db, linha_);
        } else {
            Servicos::atualiza(db, chaveAntiga_, linha_);
            if (mudouChave) {
                Servicos::AtualizaChaveEventosServico(db, chaveAntiga_, nova);
                Servicos::atualizaChaveDocumentos(db, chaveAntiga_, nova);
            }
        }
        if (inclusao || aprovado) {
            RegistroEvento evento{EventTable::STATUS_S, nova.chaveEvento(),
                                  inclusao ? QStringLiteral("INC") : QStringLiteral("ALT"),
                                  linha_.StatusServico, inclusao ? linha_.DthEntCertif : agora};
            evento.perguntaJustificativa = aprovado;
            evento.aparaJustificativa = true;
            if (!registraEvento(db, dm_.justificationAsker(), evento, dm_.registro().DataEmissao, usuario,
                                agora)) {
                // Cancelled: the line is left as it was, without a message.
                transaction.rollback();
                cancelar();
                return false;
            }
            if (aprovado)
                dm_.RetiraAprovacao();
        }
        dm_.AtualizaCompleto(QStringLiteral("O"));
        transaction.commit();
    } catch (const DbError& error) {
        relePosErro();
        if (error.isKeyViolation() || error.message() == KeyViolationMessage)
            prompts.message(TDMCertif::CaptionChaveDuplicada, ServicoJaCadastrado);
        else
            prompts.message(CaptionGravacao, ErroGenerico);
        return false;
    } catch (const std::exception&) {
        relePosErro();
        prompts.message(CaptionGravacao, ErroGenerico);
        return false;
    }
    modo_ = Modo::Navegacao;
    temLinha_ = true;
    if (auto stored = Servicos::carrega(db, nova))
        linha_ = *stored;
    guardada_ = linha_;
    return true;
}

void EditorServicos::cancelar() {
    modo_ = Modo::Navegacao;
    linha_ = guardada_;
}

bool EditorServicos::excluir() {
    if (editando() || !temLinha_)
        return false;
    Prompts& prompts = dm_.session().prompts();
    const QSqlDatabase db = database();
    const ChaveServico chave = linha_.chave();
    const Eventos::AprovacaoAnterior& aprovacao = dm_.aprovacaoAnterior();
    if (aprovacao.houve) {
        const QDateTime inclusao = Eventos::ultimaInclusao(db, EventTable::STATUS_S, chave.chaveEvento());
        if (!aprovacao.permiteApagar(inclusao)) {
            prompts.message(CaptionDelecao, NaoPodeApagar);
            return false;
        }
    }
    if (!prompts.confirm(ConfirmaExclusao))
        return false;
    // The line, its events, its document links and their events go together or not at all.
    try {
        Transaction transaction(db);
        Servicos::apaga(db, chave);
        dm_.AtualizaCompleto(QStringLiteral("O"));
        dm_.RetiraAprovacao();
        transaction.commit();
    } catch (const std::exception&) {
        relePosErro();
        prompts.message(CaptionGravacao, ErroGenerico);
        return false;
    }
    temLinha_ = false;
    linha_ = guardada_ = Servico{};
    return true;
}
