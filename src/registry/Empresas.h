#pragma once

#include "ChaveCertificado.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>
#include <utility>

class Prompts;

// One row of EMPRESA: a Brazilian legal person (CNPJ), a natural person (CPF) or a foreign company.
struct Empresa {
    QString CodigoPais;
    QString IdEmpresa;
    QString TipoPessoa = QStringLiteral("1"); // '1' Jurídica, '2' Física
    QString CGC;                              // the 14 CNPJ digits
    QString CPF;                              // the 11 CPF digits
    QString RazSocialEmp;
    QString NomFantasia;
    QString NomPessoaFisica;
    QString EndLogr;
    QString EndNum;
    QString EndCompl;
    QString EndCEP; // digits only
    QString EndBairro;
    QString EndCidade;
    QString SiglaUF;
    QString Telefone;
    QString Fax;
    QString Email;
    QDateTime DthUltAtualiz;
    QString UsuResp;

    bool fisica() const { return TipoPessoa == QLatin1String("2"); }
    bool operator==(const Empresa&) const = default;
};

// The company's document as shown everywhere: "99.999.999/9999-99" for a legal person,
// "999999999-99" for a natural person, empty otherwise (a foreign company has none).
QString documentoEmpresa(const QString& tipoPessoa, const QString& cgc, const QString& cpf);
// The corporate name of a legal person, the name of a natural person, empty for any other kind.
QString nomeEmpresa(const QString& tipoPessoa, const QString& razSocial, const QString& nomPessoaFisica);

// The company table and the checks of a company's save. Every value is a bound parameter;
// database failures are DbError.
namespace Empresas {

inline const QString NomeBrasil = QStringLiteral("Brasil");
inline const QString CaptionGravacao = QStringLiteral("Erro de gravação");
inline const QString CaptionChaveDuplicada = QStringLiteral("Erro de chave duplicada");
inline const QString EmpresaJaExiste = QStringLiteral("Esta empresa já existe !!!. Cancele a Operação.");
inline const QString EmpresaJaExisteInclusao =
    QStringLiteral("Esta empresa já existe !!! Cancele a inclusão...");
inline const QString ErroGenerico =
    QStringLiteral("Erro genérico de gravação no Banco de Dados !!! As alterações não foram efetuadas.");
inline const QString JustificativaAlteracao = QStringLiteral("Dados da Empresa Alterados");

std::optional<Empresa> carrega(const QSqlDatabase& db, const QString& codigoPais, const QString& idEmpresa);
void insere(const QSqlDatabase& db, const Empresa& row);
// Writes the row over the one stored under the old key (the key may change while unlinked).
void atualiza(const QSqlDatabase& db, const QString& paisAntigo, const QString& idAntigo, const Empresa& row);
void apaga(const QSqlDatabase& db, const QString& codigoPais, const QString& idEmpresa);

// Case-blind: a company with this key exists.
bool existe(const QSqlDatabase& db, const QString& codigoPais, const QString& idEmpresa);
// The company is linked to some certificate.
bool vinculada(const QSqlDatabase& db, const QString& codigoPais, const QString& idEmpresa);
// The certificates the company is linked to.
QList<ChaveCertificado> certificadosDaEmpresa(const QSqlDatabase& db, const QString& codigoPais,
                                              const QString& idEmpresa);
// Withdraws the approval of every certificate linked to the company, each with an ALT event
// "Dados da Empresa Alterados". Runs inside the caller's transaction.
void DesaprovaPorEmpresa(const QSqlDatabase& db, const QString& codigoPais, const QString& idEmpresa,
                         const QString& usuario, const QDateTime& agora);

// The name of a country of PAIS; empty when there is none with that code.
QString nomePais(const QSqlDatabase& db, const QString& codigoPais);
// Code and name: countries, states and company roles, by name.
QList<std::pair<QString, QString>> paises(const QSqlDatabase& db);
QList<std::pair<QString, QString>> ufs(const QSqlDatabase& db);
QList<std::pair<int, QString>> papeis(const QSqlDatabase& db);

// The identity of the company inside its country: the CPF of a natural person, the CNPJ digits
// of a Brazilian legal person, the trimmed corporate name of a foreign one.
QString idEmpresaDe(const Empresa& row, bool brasil);

// The checks of a company's save, in their fixed order, each failure shown by its box (the
// texts are trimmed first). On success the row holds its documents and postal code as digits and
// its IdEmpresa.
bool valida(Prompts& prompts, Empresa& row, bool brasil);

} // namespace Empresas
