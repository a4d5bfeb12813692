#include "TDMCertif.h"

#include "Clock.h"
#include "DataDigitada.h"
#include "DbError.h"
#include "Eventos.h"
#include "Prompts.h"
#include "RegistraEvento.h"
#include "Session.h"
#include "Sql.h"
#include "Transaction.h"

#include <stdexcept>

const QString TDMCertif::CaptionChaveDuplicada = QStringLiteral("Erro de chave duplicada");
const QString TDMCertif::CertificadoJaExiste =
    QStringLiteral("Este certificado já existe !!!. Cancele a Operação.");

namespace {

const QString CaptionGravacao = QStringLiteral("Erro de gravação");
const QString ErroGenerico =
    QStringLiteral("Erro genérico de gravação no Banco de Dados !!! As alterações não foram efetuadas.");
const QString ChaveVioladaInclusao = QStringLiteral("Este certificado já existe !!! Cancele a inclusão...");
const QString CaptionExclusao = QStringLiteral("Exclusão do Certificado");
const QString CaptionExclusaoPonto = QStringLiteral("Exclusão do Certificado.");

} // namespace

TDMCertif::TDMCertif(Session& session, JustificationAsker asker)
    : session_(session), asker_(std::move(asker)) {
    registraVerificacao(QStringLiteral("CERTIFICADO"), [this] {
        return Certificados::existe(database(), registro_.SiglaCertificador, registro_.NumCertif);
    });
    registraVerificacao(QStringLiteral("DOCUMENTOS"),
                        [this] { return Certificados::temDocumentos(database(), siglaAberta_, numAberto_); });
}

QSqlDatabase TDMCertif::database() const {
    return session_.database();
}

QString TDMCertif::usuario() const {
    return session_.user().SiglaUsu;
}

QDateTime TDMCertif::agora() const {
    return session_.clock().now();
}

void TDMCertif::mostraErroGravacao(const DbError& error) {
    if (error.isKeyViolation() || error.message() == KeyViolationMessage)
        session_.prompts().message(CaptionChaveDuplicada, ChaveVioladaInclusao);
    else
        session_.prompts().message(CaptionGravacao, ErroGenerico);
}

bool TDMCertif::Novo() {
    const QSqlDatabase db = database();
    if (Certificados::linhasConfigLocal(db) != 1) {
        session_.prompts().message(QStringLiteral("Erro de sistema"),
                                   QStringLiteral("Tabela de Configurações Locais adulterada. O módulo de "
                                                  "inclusão de certificado não pode continuar."));
        return false;
    }
    fecha();
    registro_.SiglaCertificador = Certificados::siglaConfigurada(db);
    registro_.StatusCertificado = QStringLiteral("A");
    const QStringList nomes = Certificados::signatarios(db);
    if (!nomes.isEmpty())
        registro_.Signatarios = nomes.first();
    estado_ = Estado::Insercao;
    return true;
}

bool TDMCertif::inclusaoPreenchida(const QString& emissao) const {
    return !registro_.SiglaCertificador.isEmpty() && !registro_.NumCertif.isEmpty() &&
           DataDigitada::le(emissao).completa() && !registro_.IdClasseCertif.isEmpty() &&
           registro_.IdClasseProd.has_value();
}

// Both dates are checked again on "Salva", whatever happened when their fields were left.
bool TDMCertif::checaDatas(const QString& emissao, const QString& validade, const QString& mensagemValidade,
                           Salvamento& resultado) {
    Prompts& prompts = session_.prompts();
    if (DataDigitada::le(validade).emBranco()) {
        prompts.message(DatasCertificado::CaptionEntrada, DatasCertificado::ValidadeObrigatoria);
        resultado.foco = Campo::Validade;
        return false;
    }
    const DataDigitada dataEmissao = DataDigitada::le(emissao);
    QString erro = dataEmissao.emBranco() ? DatasCertificado::FormatoInvalido
                                          : DatasCertificado::erroEmissao(emissao, session_.clock().today());
    if (!erro.isEmpty()) {
        prompts.message(DatasCertificado::CaptionEntrada, erro);
        resultado.foco = Campo::Emissao;
        return false;
    }
    erro = DatasCertificado::erroValidade(validade, dataEmissao.data, mensagemValidade);
    if (!erro.isEmpty()) {
        prompts.message(DatasCertificado::CaptionEntrada, erro);
        resultado.foco = Campo::Validade;
        return false;
    }
    registro_.DataEmissao = dataEmissao.data;
    registro_.DataValid = DataDigitada::le(validade).data;
    return true;
}

// A certificate without its class of certificate or of products would drop out of every list that
// joins them, so it is never stored that way.
bool TDMCertif::checaClasses(Salvamento& resultado) {
    if (!registro_.IdClasseCertif.isEmpty() && registro_.IdClasseProd)
        return true;
    session_.prompts().message(
        DatasCertificado::CaptionEntrada,
        QStringLiteral("Por favor informe a classe de certificado e a classe de produtos do certificado."));
    resultado.foco = Campo::Classes;
    return false;
}

TDMCertif::Salvamento TDMCertif::salvaInclusao(const QString& emissao, const QString& validade) {
    Salvamento resultado;
    if (estado_ != Estado::Insercao || !modificado())
        return resultado;
    if (registro_.SiglaCertificador.isEmpty() || registro_.NumCertif.isEmpty()) {
        session_.prompts().message(
            QStringLiteral("Erro de Inclusão"),
            QStringLiteral("Os campos Certificador e Número do Certificado são obrigatórios"));
        resultado.foco = Campo::Numero;
        return resultado;
    }
    if (ExisteRegistro(QStringLiteral("CERTIFICADO"))) {
        session_.prompts().message(CaptionChaveDuplicada, CertificadoJaExiste);
        resultado.foco = Campo::Numero;
        return resultado;
    }
    if (!checaDatas(emissao, validade, DatasCertificado::ValidadeInvalidaNovo, resultado))
        return resultado;
    if (!checaClasses(resultado))
        return resultado;

    const QSqlDatabase db = database();
    Certificado novo = registro_;
    novo.Aprovado = false;
    novo.Completo = false;
    novo.DthUltAtualiz = agora();
    novo.UsuResp = usuario();
    novo.DthStatusCertificado = Sql::dateValue(novo.DataEmissao);
    try {
        Transaction transaction(db);
        Certificados::insere(db, novo);
        RegistroEvento evento{EventTable::STATUS_C,
                              {novo.SiglaCertificador, novo.NumCertif},
                              QStringLiteral("INC"),
                              novo.StatusCertificado,
                              novo.DthStatusCertificado};
        if (!registraEvento(db, asker_, evento, novo.DataEmissao, usuario(), agora()))
            return resultado; // nothing was asked, so nothing can be cancelled; roll back regardless
        transaction.commit();
    } catch (const DbError& error) {
        mostraErroGravacao(error);
        return resultado;
    } catch (const std::exception&) {
        session_.prompts().message(CaptionGravacao, ErroGenerico);
        return resultado;
    }
    CarregaCertificado(novo.SiglaCertificador, novo.NumCertif);
    resultado.salvo = true;
    return resultado;
}

TDMCertif::Salvamento TDMCertif::salvaGeral(const QString& emissao, const QString& validade) {
    Salvamento resultado;
    if (estado_ != Estado::Edicao)
        return resultado;
    // The open key changes only after the renumbered certificate is stored.
    const bool mudouChave = registro_.NumCertif != numAberto_;
    if (mudouChave && ExisteRegistro(QStringLiteral("CERTIFICADO"))) {
        session_.prompts().message(CaptionChaveDuplicada, CertificadoJaExiste);
        resultado.foco = Campo::Numero;
        return resultado;
    }
    if (!checaDatas(emissao, validade, DatasCertificado::ValidadeInvalidaGeral, resultado))
        return resultado;
    if (!modificado())
        return resultado;
    if (!checaClasses(resultado))
        return resultado;

    const QSqlDatabase db = database();
    Certificado alterado = registro_;
    alterado.Aprovado = false;
    alterado.DthUltAtualiz = agora();
    alterado.UsuResp = usuario();
    try {
        Transaction transaction(db);
        Certificados::atualiza(db, siglaAberta_, numAberto_, alterado);
        if (mudouChave)
            Certificados::renumeraDependentes(db, siglaAberta_, numAberto_, alterado.NumCertif);
        if (aprovacao_.houve) {
            RegistroEvento evento{EventTable::STATUS_C,
                                  {alterado.SiglaCertificador, alterado.NumCertif},
                                  QStringLiteral("ALT"),
                                  alterado.StatusCertificado,
                                  agora()};
            evento.perguntaJustificativa = true;
            if (!registraEvento(db, asker_, evento, alterado.DataEmissao, usuario(), agora())) {
                // Cancelled: the change is undone without a message.
                transaction.rollback();
                registro_ = original_;
                return resultado;
            }
        }
        transaction.commit();
    } catch (const DbError& error) {
        if (auto stored = Certificados::carrega(db, siglaAberta_, numAberto_))
            registro_ = original_ = *stored;
        mostraErroGravacao(error);
        return resultado;
    } catch (const std::exception&) {
        registro_ = original_;
        session_.prompts().message(CaptionGravacao, ErroGenerico);
        return resultado;
    }
    CarregaCertificado(alterado.SiglaCertificador, alterado.NumCertif);
    resultado.salvo = true;
    return resultado;
}

void TDMCertif::cancela() {
    if (estado_ == Estado::Insercao)
        fecha();
    else
        registro_ = original_;
}

int TDMCertif::registraEditor(CancelaEdicao cancela) {
    const int id = ++proximoEditor_;
    editores_.insert(id, std::move(cancela));
    return id;
}

void TDMCertif::removeEditor(int id) {
    editores_.remove(id);
}

void TDMCertif::cancelaEditores() {
    const QList<CancelaEdicao> cancelas = editores_.values();
    for (const CancelaEdicao& cancela : cancelas)
        cancela();
}

void TDMCertif::fecha() {
    cancelaEditores();
    siglaAberta_.clear();
    numAberto_.clear();
    aprovacao_ = {};
    registro_ = original_ = Certificado{};
    estado_ = Estado::Fechado;
    chaveBloqueada_ = false;
}

bool TDMCertif::CarregaCertificado(const QString& sigla, const QString& numero) {
    const QSqlDatabase db = database();
    const std::optional<Certificado> row = Certificados::carrega(db, sigla, numero);
    if (!row)
        return false;
    // Reloading the open certificate keeps its editors; any other certificate closes them first.
    if (row->SiglaCertificador != siglaAberta_ || row->NumCertif != numAberto_)
        cancelaEditores();
    siglaAberta_ = row->SiglaCertificador;
    numAberto_ = row->NumCertif;
    registro_ = original_ = *row;
    estado_ = Estado::Edicao;
    aprovacao_ = Eventos::aprovacaoAnterior(db, siglaAberta_, numAberto_);
    atualizaBloqueio();
    return true;
}

void TDMCertif::atualizaBloqueio() {
    if (!temCertificadoAberto()) {
        chaveBloqueada_ = false;
        return;
    }
    const QSqlDatabase db = database();
    chaveBloqueada_ = aprovacao_.houve || Certificados::empresas(db, siglaAberta_, numAberto_) > 0 ||
                      Certificados::linhasDeProdutoOuServico(db, siglaAberta_, numAberto_) > 0;
}

bool TDMCertif::calculaCompleto() const {
    if (registro_.SiglaCertificador.isEmpty() || registro_.NumCertif.isEmpty() ||
        !registro_.DataEmissao.isValid())
        return false;
    if (registro_.IdClasseCertif.isEmpty() || !registro_.IdClasseProd)
        return false;
    const QSqlDatabase db = database();
    return Certificados::empresas(db, siglaAberta_, numAberto_) > 0 &&
           Certificados::linhasDeProdutoOuServico(db, siglaAberta_, numAberto_) > 0 &&
           !Certificados::CertificadoSemReferencia(db, registro_.NumCertif);
}

void TDMCertif::postaCampo(const QString& column, const QVariant& value) {
    const QDateTime now = agora();
    Sql::execute(database(),
                 QStringLiteral("UPDATE CERTIFIC SET %1 = :valor, DthUltAtualiz = :dth, UsuResp = :usu "
                                "WHERE SiglaCertificador = :sigla AND NumCertif = :num")
                     .arg(column),
                 {{":valor", value},
                  {":dth", now},
                  {":usu", usuario()},
                  {":sigla", siglaAberta_},
                  {":num", numAberto_}});
    for (Certificado* c : {&registro_, &original_}) {
        c->DthUltAtualiz = now;
        c->UsuResp = usuario();
    }
}

void TDMCertif::AtualizaCompleto(const QString& modo) {
    registro_.Completo = calculaCompleto();
    if (modo == QLatin1String("C") || estado_ != Estado::Edicao)
        return;
    // Only the flag is stored: pending edits of the general data wait for their own "Salva".
    postaCampo(QStringLiteral("Completo"), registro_.Completo);
    original_.Completo = registro_.Completo;
}

void TDMCertif::RetiraAprovacao() {
    if (estado_ != Estado::Edicao)
        return;
    postaCampo(QStringLiteral("Aprovado"), false);
    registro_.Aprovado = original_.Aprovado = false;
}

void TDMCertif::releStatus() {
    if (estado_ != Estado::Edicao)
        return;
    std::optional<Certificado> stored;
    try {
        stored = Certificados::carrega(database(), siglaAberta_, numAberto_);
    } catch (const DbError&) {
        return; // what is on screen stays; the next operation reads again
    }
    if (!stored)
        return;
    for (Certificado* c : {&registro_, &original_}) {
        c->StatusCertificado = stored->StatusCertificado;
        c->DthStatusCertificado = stored->DthStatusCertificado;
        c->Aprovado = stored->Aprovado;
        c->Completo = stored->Completo;
        c->DthUltAtualiz = stored->DthUltAtualiz;
        c->UsuResp = stored->UsuResp;
    }
}

void TDMCertif::registraVerificacao(const QString& kind, Verificacao check) {
    verificacoes_.insert(kind, std::move(check));
}

bool TDMCertif::ExisteRegistro(const QString& kind) const {
    const auto it = verificacoes_.find(kind);
    if (it == verificacoes_.end())
        throw std::invalid_argument("ExisteRegistro: unknown kind " + kind.toStdString());
    return it.value()();
}

bool TDMCertif::ValidaDataEntrada(const QString& texto) {
    Prompts& prompts = session_.prompts();
    const DataDigitada d = DataDigitada::le(texto);
    if (d.emBranco()) {
        prompts.error(QStringLiteral("É necessário informar a  data de entrada."));
        return false;
    }
    if (!d.valida()) {
        prompts.error(QStringLiteral("Data inválida."));
        return false;
    }
    if (registro_.DataEmissao.isValid() && d.data < registro_.DataEmissao) {
        prompts.error(QStringLiteral("A data de entrada é menor que a data de emissão do certificado."));
        return false;
    }
    if (d.data > session_.clock().today()) {
        prompts.error(QStringLiteral("A data de entrada é maior que a data atual."));
        return false;
    }
    return true;
}

void TDMCertif::ApagaLinhasCertificado(const QString& table, const QString& sigla, const QString& numero) {
    Certificados::ApagaLinhasCertificado(database(), table, sigla, numero);
}

bool TDMCertif::CertificadoSemReferencia(const QString& numero) const {
    return Certificados::CertificadoSemReferencia(database(), numero);
}

bool TDMCertif::excluiCertificado() {
    if (!temCertificadoAberto())
        return false;
    Prompts& prompts = session_.prompts();
    const QSqlDatabase db = database();
    aprovacao_ = Eventos::aprovacaoAnterior(db, siglaAberta_, numAberto_);
    if (aprovacao_.houve) {
        prompts.message(CaptionExclusaoPonto,
                        QStringLiteral("Este certificado já foi aprovado para envio para o "
                                       "Kavorel e não pode ser deletado."));
        return false;
    }
    if (!prompts.confirm(QStringLiteral("Confirma a exclusão do Certificado ?"), CaptionExclusao)) {
        prompts.message(CaptionExclusaoPonto, QStringLiteral("Exclusão cancelada!"));
        return false;
    }
    try {
        Transaction transaction(db);
        Certificados::apagaCertificado(db, siglaAberta_, numAberto_);
        transaction.commit();
    } catch (const std::exception&) {
        prompts.message(QStringLiteral("Erro de deleção"),
                        QStringLiteral("Erro na exclusão do certificado do Banco de Dados !!! As deleção não "
                                       "foi efetuada."));
        return false;
    }
    fecha();
    return true;
}
