#pragma once

#include "Empresas.h"

#include <memory>

class TDMCertif;

// The company table's editor ("Tabela de Empresas"): the company being included or edited,
// "Ok", "Cancela" and "Excluir". It shows its boxes through the session's prompts and never
// touches a widget.
class CadastroEmpresas {
public:
    enum class Modo { Navegacao, Inclusao, Edicao };

    // Registers the "EMPRESA" duplicate check with the register.
    explicit CadastroEmpresas(TDMCertif& dm);

    Modo modo() const { return modo_; }
    bool editando() const { return modo_ != Modo::Navegacao; }
    // The company as it was when its edit began.
    const Empresa& original() const { return original_; }
    // While editing: the company is linked to some certificate, so its identity is locked.
    bool vinculada() const { return vinculada_; }

    // "Incluir": a new legal person.
    void inclui();
    // "Editar"; false when the company no longer exists.
    bool edita(const QString& codigoPais, const QString& idEmpresa);
    // "Ok" with the fields as typed: true when stored (then the editor is back in browse mode).
    bool salva(const Empresa& campos);
    void cancela();
    // "Excluir", after the confirmation: true when the company was deleted.
    bool exclui(const QString& codigoPais, const QString& idEmpresa);

private:
    TDMCertif& dm_;
    Modo modo_ = Modo::Navegacao;
    Empresa original_;
    bool vinculada_ = false;
    // The company being saved, shared with the duplicate check the register keeps.
    std::shared_ptr<Empresa> registro_ = std::make_shared<Empresa>();
};
