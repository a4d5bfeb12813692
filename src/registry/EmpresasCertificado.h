#pragma once

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <memory>
#include <optional>
#include <stdexcept>

class TDMCertif;

// One row of EMP_CERT: a company linked to a certificate, with its role.
struct EmpresaCertificado {
    QString SiglaCertificador;
    QString NumCertif;
    QString CodigoPais;
    QString IdEmpresa;
    std::optional<int> IdPapelEmp;
    QString StatusEmpresa = QStringLiteral("A");
    QDateTime DthEntEmpresa;
    QDateTime DthStatusEmpresa;
    QDateTime DthUltAtualiz;
    QString UsuResp;

    bool operator==(const EmpresaCertificado&) const = default;
};

// An entry of the drop-downs that pick one of the certificate's companies (the product lines):
// the company's key travels with the entry, so two branches sharing one corporate name are never
// confused.
struct EmpresaVinculada {
    QString CodigoPais;
    QString IdEmpresa;
    QString TipoPessoa;
    QString nome;      // corporate name, or the person's name
    QString documento; // "99.999.999/9999-99", "999999999-99", empty for a foreign company

    // What the drop-down shows: the name with the CNPJ/CPF beside it ("ACME LTDA - 11.222.333/0001-81"),
    // or with the country code for a foreign company ("ACME INC (US)").
    QString texto() const;
};

// The links of a certificate to its companies. Errors are DbError.
namespace EmpresasCertificado {

// The companies linked to the certificate that the product lines may name, legal persons first,
// then by name; rows of any kind other than '1' and '2' are left out.
QList<EmpresaVinculada> vinculadas(const QSqlDatabase& db, const QString& sigla, const QString& numCertif);
// Every company linked to the certificate, by corporate name and then person's name; one of no
// known kind shows whichever name it has, or its identity.
QList<EmpresaVinculada> todasVinculadas(const QSqlDatabase& db, const QString& sigla,
                                        const QString& numCertif);

std::optional<EmpresaCertificado> carrega(const QSqlDatabase& db, const QString& sigla,
                                          const QString& numCertif, const QString& codigoPais,
                                          const QString& idEmpresa);
void insere(const QSqlDatabase& db, const EmpresaCertificado& row);
void atualiza(const QSqlDatabase& db, const EmpresaCertificado& row);
// Deletes the link and its events.
void apaga(const QSqlDatabase& db, const QString& sigla, const QString& numCertif, const QString& codigoPais,
           const QString& idEmpresa);

// Case-blind: the company is already linked to the certificate.
bool existe(const QSqlDatabase& db, const QString& sigla, const QString& numCertif, const QString& codigoPais,
            const QString& idEmpresa);
// A lot, type, unit or service line of the certificate names the company.
bool referenciada(const QSqlDatabase& db, const QString& sigla, const QString& numCertif,
                  const QString& codigoPais, const QString& idEmpresa);

} // namespace EmpresasCertificado

// The link editor of the "Empresas Envolvidas" tab, over the open certificate of the register: the
// link being included or edited, "Aplicar", "Cancelar" and "Excluir". It shows its boxes through the
// session's prompts and never touches a widget.
class VinculosEmpresa {
public:
    enum class Modo { Navegacao, Inclusao, Edicao };

    // Registers the "EMPCERT" duplicate check with the register, and the editor, which the register
    // cancels when another certificate is opened.
    explicit VinculosEmpresa(TDMCertif& dm);
    ~VinculosEmpresa();
    VinculosEmpresa(const VinculosEmpresa&) = delete;
    VinculosEmpresa& operator=(const VinculosEmpresa&) = delete;

    Modo modo() const { return modo_; }
    bool editando() const { return modo_ != Modo::Navegacao; }
    const EmpresaCertificado& registro() const { return *registro_; }

    // "Incluir": a new link with status A; returns the entry date to propose (the emission date).
    QDate inclui();
    // "Seleciona Empresa" chose this company.
    void escolheEmpresa(const QString& codigoPais, const QString& idEmpresa);
    void escolhePapel(std::optional<int> idPapelEmp) { registro_->IdPapelEmp = idPapelEmp; }
    // "Editar" of a stored link; false when it no longer exists.
    bool edita(const QString& codigoPais, const QString& idEmpresa);
    // "Aplicar" with the text of the entry-date mask: true when the link was stored.
    bool aplica(const QString& dataEntrada);
    // "Cancelar".
    void cancela();
    // "Excluir" of a stored link, after the checks and the confirmation: true when it was deleted.
    bool exclui(const QString& codigoPais, const QString& idEmpresa);

private:
    void recarregaCertificado();

    TDMCertif& dm_;
    Modo modo_ = Modo::Navegacao;
    // Shared with the duplicate check the register keeps, which may outlive this editor.
    std::shared_ptr<EmpresaCertificado> registro_ = std::make_shared<EmpresaCertificado>();
    int registroEditor_ = 0;
};
