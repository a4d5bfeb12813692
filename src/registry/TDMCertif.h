#pragma once

#include "Certificados.h"
#include "Eventos.h"
#include "Justificativa.h"

#include <QDateTime>
#include <QHash>
#include <QSqlDatabase>
#include <functional>

class DbError;
class Session;

// The registry's data module: the certificate being created or edited, the open certificate that
// every line operation works under, and the register's shared routines. It shows the register's
// boxes through the session's prompts and never touches a widget, so tests drive it directly.
class TDMCertif {
public:
    enum class Estado {
        Fechado,  // no certificate
        Insercao, // a new certificate, nothing written yet
        Edicao,   // an existing certificate open for modification
    };
    // The field a refused save puts the focus on.
    enum class Campo { Nenhum, Numero, Emissao, Validade, Classes };
    struct Salvamento {
        bool salvo = false;
        Campo foco = Campo::Nenhum;
    };

    explicit TDMCertif(Session& session, JustificationAsker asker = {});

    Session& session() const { return session_; }
    QSqlDatabase database() const;
    void setJustificationAsker(JustificationAsker asker) { asker_ = std::move(asker); }
    const JustificationAsker& justificationAsker() const { return asker_; }

    // The open certificate.
    const QString& siglaAberta() const { return siglaAberta_; }
    const QString& numAberto() const { return numAberto_; }
    bool temCertificadoAberto() const { return !numAberto_.isEmpty(); }
    // When the open certificate was last approved or accepted (see Eventos::AprovacaoAnterior).
    const QDateTime& DataUltimaAprovacao() const { return aprovacao_.data; }
    // Whether the open certificate was approved for sending before (with or without an APR
    // event): changes then need a justification and its items were told to the authority.
    bool JaAprovado() const { return aprovacao_.houve; }
    const Eventos::AprovacaoAnterior& aprovacaoAnterior() const { return aprovacao_; }

    // The record being edited and the record as stored.
    Certificado& registro() { return registro_; }
    const Certificado& registro() const { return registro_; }
    const Certificado& original() const { return original_; }
    Estado estado() const { return estado_; }
    bool modificado() const { return estado_ != Estado::Fechado && registro_ != original_; }

    // Starts a new certificate (the acronym from CONFIG_LOCAL, status A, the default signatory
    // proposed). False, after the error box, when CONFIG_LOCAL does not hold exactly one row.
    bool Novo();
    // "Salva" of a new certificate, with the texts of the two date masks.
    Salvamento salvaInclusao(const QString& emissao, const QString& validade);
    // "Salva" of the general data of the open certificate.
    Salvamento salvaGeral(const QString& emissao, const QString& validade);
    // Drops pending changes: a new certificate is abandoned, an open one goes back to its stored values.
    void cancela();
    // Forgets the certificate.
    void fecha();

    // "Salva" of a new certificate may be pressed once these are filled in (the emission date complete).
    bool inclusaoPreenchida(const QString& emissao) const;

    // Opens a certificate for modification; false when it does not exist.
    bool CarregaCertificado(const QString& sigla, const QString& numero);
    // Number and emission date may not change once the certificate was approved or has lines.
    bool chaveBloqueada() const { return chaveBloqueada_; }
    void atualizaBloqueio();

    // Recomputes Completo; any mode other than "C" also stores it at once.
    void AtualizaCompleto(const QString& modo);
    bool calculaCompleto() const;
    // Withdraws the approval of the open certificate (stored at once).
    void RetiraAprovacao();
    // Reads the open certificate's status, flags and last change again (a status change or a
    // propagation wrote them), keeping any pending edit of the general data.
    void releStatus();

    // The line editors of the open certificate. Opening another certificate, or closing this one,
    // cancels whatever inclusion or alteration they hold, so a line is only ever written under the
    // certificate its edit began on. registraEditor returns the id removeEditor takes.
    using CancelaEdicao = std::function<void()>;
    int registraEditor(CancelaEdicao cancela);
    void removeEditor(int id);

    // Duplicate checks by kind ("CERTIFICADO", "DOCUMENTOS", and those the line editors register).
    using Verificacao = std::function<bool()>;
    void registraVerificacao(const QString& kind, Verificacao check);
    bool ExisteRegistro(const QString& kind) const;

    // The entry date of a line of the open certificate; false after its error box.
    bool ValidaDataEntrada(const QString& texto);

    void ApagaLinhasCertificado(const QString& table, const QString& sigla, const QString& numero);
    bool CertificadoSemReferencia(const QString& numero) const;

    // The deletion panel: deletes the open certificate after the checks and the confirmation.
    bool excluiCertificado();

    static const QString CaptionChaveDuplicada;
    static const QString CertificadoJaExiste;

private:
    QString usuario() const;
    QDateTime agora() const;
    // The error box of a failed write.
    void mostraErroGravacao(const DbError& error);
    void cancelaEditores();
    bool checaClasses(Salvamento& resultado);
    bool checaDatas(const QString& emissao, const QString& validade, const QString& mensagemValidade,
                    Salvamento& resultado);
    void postaCampo(const QString& column, const QVariant& value);

    Session& session_;
    JustificationAsker asker_;
    QHash<QString, Verificacao> verificacoes_;
    QHash<int, CancelaEdicao> editores_;
    int proximoEditor_ = 0;
    QString siglaAberta_;
    QString numAberto_;
    Eventos::AprovacaoAnterior aprovacao_;
    Certificado registro_;
    Certificado original_;
    Estado estado_ = Estado::Fechado;
    bool chaveBloqueada_ = false;
};
