#pragma once

#include "Sql.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

// The statements of the selection dialogs, built line by line from what the user filled in. Every
// value typed or chosen by the user is a bound parameter, never text inside the statement.

// A statement with its bound values.
struct ConsultaMontada {
    QStringList linhas;
    QList<Sql::Param> parametros;

    QString texto() const { return linhas.join(QLatin1Char('\n')); }
    // Prepares, binds and runs it; throws DbError on failure.
    QSqlQuery executa(const QSqlDatabase& db) const;
};

// "(Todos)", "Sim", "Não" of the "Importado (Sim/Não):" lists.
enum class FiltroImportado { Todos, Sim, Nao };

// A product as the certificate filter knows it: its key.
struct ProdutoFiltro {
    QString MarcaProd;
    QString ModeloProd;
    int Importado = 0;
};

// Certificate search ------------------------------------------------------------------------------

struct FiltroCertificado {
    QString numCertif;       // matched anywhere in the number, case-blind
    QString nomClasseCertif; // empty: any class
    QString nomClasseProd;
    QString nomClasseServ;
    std::optional<std::pair<QString, QString>> empresa; // CodigoPais, IdEmpresa
    std::optional<ProdutoFiltro> produto;
    // National or imported lines; ignored when a product is chosen (the product carries its own flag).
    FiltroImportado importado = FiltroImportado::Todos;
};

// Ordering of the certificate list: the first column, or a clicked grid column.
enum class CertOrdem { Primeira, NumCertif, NomClasseCertif, NomClasseProd, DataEmissao, DataValid };

ConsultaMontada consultaCertificados(const FiltroCertificado& filtro, CertOrdem ordem);
// The ordering of a grid column: "Número", "Classe do Certificado", "Classe de Produtos", "Emissão",
// "Validade".
CertOrdem ordemDaColunaCertificado(int column);

// The classes the installation's certifier is accredited for, ordered by name: identifier and name.
struct ClasseCredenciada {
    QString id;
    QString nome;
};
QList<ClasseCredenciada> classesCertificadoCredenciadas(const QSqlDatabase& db);
QList<ClasseCredenciada> classesProdutoCredenciadas(const QSqlDatabase& db);
QList<ClasseCredenciada> classesServicoCredenciadas(const QSqlDatabase& db);

// Product search ----------------------------------------------------------------------------------

struct FiltroProduto {
    QString marca;     // anywhere in the brand, case-blind
    QString modelo;    // anywhere in the model, case-blind
    QString codEANUPC; // exact
    FiltroImportado importado = FiltroImportado::Todos;
    // Only this product (the one just included).
    std::optional<ProdutoFiltro> exato;
};

enum class ProdOrdem { Nenhuma, MarcaProd, ModeloProd, Importado, CodEANUPC };

ConsultaMontada consultaProdutos(const FiltroProduto& filtro, ProdOrdem ordem);
// "Marca", "Modelo", "Importado?", "EAN/UPC".
ProdOrdem ordemDaColunaProduto(int column);

// Company search ----------------------------------------------------------------------------------

struct FiltroEmpresa {
    bool filtrado = false; // false: every company (the list shown on opening)
    QString codigoPais;    // empty: any country
    bool fisica = false;   // kind: natural ('2') or legal ('1') person
    QString documento;     // CNPJ or CPF digits: a prefix
    QString nome;          // trade name, or person's name for a natural person: anywhere
    QString razaoSocial;   // anywhere; legal persons only
    // Only this company (the one just included): CodigoPais, IdEmpresa.
    std::optional<std::pair<QString, QString>> exata;
};

enum class EmprOrdem { Nenhuma, NomePais, CGC, RazSocialEmp, NomFantasia };

ConsultaMontada consultaEmpresas(const FiltroEmpresa& filtro, EmprOrdem ordem);
// "País", "CNPJ/CPF", "Razão Social/Nome Pessoa Física", "Nome Fantasia".
EmprOrdem ordemDaColunaEmpresa(int column);

// Countries by name: code and name.
QList<std::pair<QString, QString>> paisesPorNome(const QSqlDatabase& db);

// Companies of one certificate ---------------------------------------------------------------------

struct FiltroEmpCert {
    QString sigla;
    QString numCertif;
    QString codigoPais; // empty: any country
    QString cgc;        // the 14 digits, exact
    QString nomFantasia;
    QString razSocialEmp;
};

// The legal persons linked to the certificate, with their country name.
ConsultaMontada consultaEmpresasDoCertificado(const FiltroEmpCert& filtro);

// Company details ----------------------------------------------------------------------------------

ConsultaMontada consultaDetalheEmpresa(const QString& codigoPais, const QString& idEmpresa);
