#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

// One row of CERTIFIC as the register edits it.
struct Certificado {
    QString SiglaCertificador;
    QString NumCertif;
    QString StatusCertificado;
    std::optional<int> IdClasseProd;
    QString IdClasseCertif;
    QDate DataEmissao;
    QDate DataValid;
    QString LabEnsaio;
    QString NumRelEnsaio;
    QString Signatarios; // empty is stored as NULL
    QString Observacoes;
    bool Completo = false;
    bool Aprovado = false;
    QDateTime DthUltAtualiz;
    QString UsuResp;
    QDateTime DthStatusCertificado;

    bool operator==(const Certificado&) const = default;
};

// An entry of a drop-down list of classes: the identifier kept behind the name shown.
struct ClasseItem {
    QVariant id;
    QString nome;
};

// "Ativo", "Suspenso" or "Cancelado" for a status code; empty for anything else.
QString DescrStatus(const QString& status);
// "Sim" for an imported product, "Não" otherwise.
QString DescrImportado(const QVariant& importado);

// The certificate rows and the routines of the register that work on them. Every value reaches
// SQL as a bound parameter; errors are DbError.
namespace Certificados {

std::optional<Certificado> carrega(const QSqlDatabase& db, const QString& sigla, const QString& numero);
void insere(const QSqlDatabase& db, const Certificado& row);
// Writes the row over the one stored under (sigla, numeroAntigo); the number may change.
void atualiza(const QSqlDatabase& db, const QString& sigla, const QString& numeroAntigo,
              const Certificado& row);

// Case-blind: a certificate with this acronym and number exists.
bool existe(const QSqlDatabase& db, const QString& sigla, const QString& numero);

// A normative document is linked to the certificate itself or to one of its lines (the service
// documents count while the certificate has a service line).
bool temDocumentos(const QSqlDatabase& db, const QString& sigla, const QString& numero);

// True when the number is not in REP_CERTIFIC and no normative document is linked to it. Both
// tests look at the number only.
bool CertificadoSemReferencia(const QSqlDatabase& db, const QString& numero);

// Rows of the certificate in EMP_CERT, and in TIPO, UNIDADE, LOTE or SERVICO.
int empresas(const QSqlDatabase& db, const QString& sigla, const QString& numero);
int linhasDeProdutoOuServico(const QSqlDatabase& db, const QString& sigla, const QString& numero);

// Deletes the rows of one table that belong to the certificate. `table` is one of the program's
// own table names, never user text.
void ApagaLinhasCertificado(const QSqlDatabase& db, const QString& table, const QString& sigla,
                            const QString& numero);

// The 24 tables a certificate's deletion empties, in the order it empties them.
const QStringList& tabelasDaExclusao();
// Deletes the certificate and everything that hangs off it; the caller owns the transaction.
void apagaCertificado(const QSqlDatabase& db, const QString& sigla, const QString& numero);

// A renumbered certificate takes its events and its certificate-level normative documents (with
// their events) along.
void renumeraDependentes(const QSqlDatabase& db, const QString& sigla, const QString& antigo,
                         const QString& novo);

// Rows in CONFIG_LOCAL (the register needs exactly one).
int linhasConfigLocal(const QSqlDatabase& db);
QString siglaConfigurada(const QSqlDatabase& db);

// The signatories, each name once, the default first.
QStringList signatarios(const QSqlDatabase& db);

// Classes the configured certifier is accredited for.
QList<ClasseItem> classesDeProdutos(const QSqlDatabase& db);
QList<ClasseItem> classesDeCertificado(const QSqlDatabase& db);
// One class by its identifier, named from the reference table, or by the identifier itself once
// the reference table no longer has it.
ClasseItem classeDeProdutos(const QSqlDatabase& db, int idClasseProd);
ClasseItem classeDeCertificado(const QSqlDatabase& db, const QString& idClasseCertif);
// Appends the class to the list unless an entry already holds its identifier.
void incluiClasse(QList<ClasseItem>& lista, const ClasseItem& classe);

// The read-only lists of the deletion panel: one row of display texts per line of the certificate.
QList<QStringList> empresasCertificadas(const QSqlDatabase& db, const QString& sigla, const QString& numero);
QList<QStringList> produtosCertificados(const QSqlDatabase& db, const QString& sigla, const QString& numero);
QList<QStringList> servicosCertificados(const QSqlDatabase& db, const QString& sigla, const QString& numero);

} // namespace Certificados
