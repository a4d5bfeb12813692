#include "CadastroEmpresas.h"

#include "Clock.h"
#include "DbError.h"
#include "Prompts.h"
#include "Session.h"
#include "TDMCertif.h"
#include "Transaction.h"

CadastroEmpresas::CadastroEmpresas(TDMCertif& dm) : dm_(dm) {
    std::shared_ptr<Empresa> registro = registro_;
    TDMCertif* certif = &dm_;
    dm_.registraVerificacao(QStringLiteral("EMPRESA"), [certif, registro] {
        return Empresas::existe(certif->database(), registro->CodigoPais, registro->IdEmpresa);
    });
}

void CadastroEmpresas::inclui() {
    original_ = Empresa{};
    *registro_ = Empresa{};
    vinculada_ = false;
    modo_ = Modo::Inclusao;
}

bool CadastroEmpresas::edita(const QString& codigoPais, const QString& idEmpresa) {
    const QSqlDatabase db = dm_.database();
    const std::optional<Empresa> row = Empresas::carrega(db, codigoPais, idEmpresa);
    if (!row)
        return false;
    original_ = *row;
    *registro_ = *row;
    vinculada_ = Empresas::vinculada(db, codigoPais, idEmpresa);
    modo_ = Modo::Edicao;
    return true;
}

void CadastroEmpresas::cancela() {
    modo_ = Modo::Navegacao;
    vinculada_ = false;
}

bool CadastroEmpresas::salva(const Empresa& campos) {
    if (!editando())
        return false;
    Session& session = dm_.session();
    Prompts& prompts = session.prompts();
    const QSqlDatabase db = dm_.database();
    Empresa novo = campos;
    if (modo_ == Modo::Edicao) {
        novo.TipoPessoa = original_.TipoPessoa; // the kind of a stored company never changes
        if (vinculada_) {
            // Its identity is locked while certificates name it.
            novo.CodigoPais = original_.CodigoPais;
            novo.CGC = original_.CGC;
            novo.CPF = original_.CPF;
            if (novo.fisica() || Empresas::nomePais(db, original_.CodigoPais) != Empresas::NomeBrasil)
                novo.RazSocialEmp = original_.RazSocialEmp;
        }
    }
    try {
        const bool brasil = Empresas::nomePais(db, novo.CodigoPais) == Empresas::NomeBrasil;
        if (!Empresas::valida(prompts, novo, brasil))
            return false;
        // An alteration is checked only when it changes the company's identity; a change of
        // letter case alone would find the company itself.
        const bool mudouChave = novo.CodigoPais.toUpper() != original_.CodigoPais.toUpper() ||
                                novo.IdEmpresa.toUpper() != original_.IdEmpresa.toUpper();
        *registro_ = novo;
        if ((modo_ == Modo::Inclusao || mudouChave) && dm_.ExisteRegistro(QStringLiteral("EMPRESA"))) {
            prompts.message(Empresas::CaptionChaveDuplicada, Empresas::EmpresaJaExiste);
            return false;
        }
        novo.DthUltAtualiz = session.clock().now();
        novo.UsuResp = session.user().SiglaUsu;
        Transaction transaction(db);
        if (modo_ == Modo::Inclusao)
            Empresas::insere(db, novo);
        else
            Empresas::atualiza(db, original_.CodigoPais, original_.IdEmpresa, novo);
        Empresas::DesaprovaPorEmpresa(db, novo.CodigoPais, novo.IdEmpresa, novo.UsuResp, novo.DthUltAtualiz);
        transaction.commit();
    } catch (const DbError& error) {
        if (error.isKeyViolation() || error.message() == KeyViolationMessage)
            prompts.message(Empresas::CaptionChaveDuplicada, Empresas::EmpresaJaExisteInclusao);
        else
            prompts.message(Empresas::CaptionGravacao, Empresas::ErroGenerico);
        return false;
    }
    *registro_ = novo;
    original_ = novo;
    modo_ = Modo::Navegacao;
    vinculada_ = false;
    return true;
}

bool CadastroEmpresas::exclui(const QString& codigoPais, const QString& idEmpresa) {
    if (editando())
        return false;
    Prompts& prompts = dm_.session().prompts();
    if (!prompts.confirm(QStringLiteral("Confirma a exclusão da Empresa?")))
        return false;
    const QSqlDatabase db = dm_.database();
    try {
        if (Empresas::vinculada(db, codigoPais, idEmpresa)) {
            prompts.message(
                QStringLiteral("Erro de exclusão"),
                QStringLiteral("Este registro não pode ser apagado. Ele já está relacionado a algum "
                               "certificado!!!"));
            return false;
        }
        Transaction transaction(db);
        Empresas::apaga(db, codigoPais, idEmpresa);
        transaction.commit();
    } catch (const DbError&) {
        prompts.message(QStringLiteral("Erro de exclusão"), Empresas::ErroGenerico);
        return false;
    }
    return true;
}
