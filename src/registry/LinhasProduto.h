#pragma once

#include "EmpresasCertificado.h"
#include "Eventos.h"
#include "Produtos.h"
#include "Sql.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <optional>

class TDMCertif;
struct ProdutoEscolhido;

// The three ways a certificate covers products: every unit of a model, one lot, one serial unit.
enum class TipoLinha { Tipo, Lote, Unidade };

// The whole key of a product line. `Numero` is the lot number or the serial number (empty for a
// type line).
struct ChaveLinha {
    QString SiglaCertificador;
    QString NumCertif;
    QString MarcaProd;
    QString ModeloProd;
    int Importado = 0;
    QString Numero;
    bool operator==(const ChaveLinha&) const = default;
};

// A row of TIPO, LOTE or UNIDADE (the columns of the other kinds stay empty).
struct LinhaProduto {
    ChaveLinha chave;
    QString CodigoPais;
    QString IdEmpresa;
    QDateTime DthEntCertif;
    QString Status = QStringLiteral("A");
    QDateTime DthStatus;
    QDateTime DthUltAtualiz;
    QString UsuResp;
    // lot
    QString QuantLote;
    QDate DataFabrLote;
    QDate DataValLote;
    QString NumProfInvoice;
    // unit
    QString LocalInstalacao;
    QString EndBairro;
    QString EndCidade;
    QString EndCEP;
    QString SiglaUF;
    QString Observacoes;
    // shown beside the line, from PRODUTO
    QString CodEANUPC;
};

// Rows of the product lines and what hangs off them. Every function throws DbError on failure and
// runs inside the caller's transaction.
namespace LinhasProduto {

QString tabela(TipoLinha tipo);           // TIPO, LOTE, UNIDADE
QString colunaNumero(TipoLinha tipo);     // NumLote, NumSerieProd; empty for types
EventTable tabelaEventos(TipoLinha tipo); // STATUS_T, STATUS_L, STATUS_U
// The line's key in its event table's key order.
QVariantList chaveDoEvento(TipoLinha tipo, const ChaveLinha& chave);

std::optional<LinhaProduto> carrega(const QSqlDatabase& db, TipoLinha tipo, const ChaveLinha& chave);
void insere(const QSqlDatabase& db, TipoLinha tipo, const LinhaProduto& linha);
// Rewrites the line stored under `antiga` (its key may change); throws when there is no such line.
void atualiza(const QSqlDatabase& db, TipoLinha tipo, const ChaveLinha& antiga, const LinhaProduto& linha);
// Deletes the line with its events, its normative-document links and their events.
void apaga(const QSqlDatabase& db, TipoLinha tipo, const ChaveLinha& chave);
// Carries a line's events, normative-document links and their events to its new key.
void mudaChave(const QSqlDatabase& db, TipoLinha tipo, const ChaveLinha& antiga, const ChaveLinha& nova);

// Whether the certificate already has the line. Types compare the key exactly; lots and units
// compare the texts whatever their case (the register's duplicate check). `excluida` is left out
// (the line itself, while its key is being changed).
bool existe(const QSqlDatabase& db, TipoLinha tipo, const ChaveLinha& chave,
            const std::optional<ChaveLinha>& excluida = std::nullopt);
// DthUltAtualiz of the line's newest INC event; invalid when there is none.
QDateTime ultimaInclusao(const QSqlDatabase& db, TipoLinha tipo, const ChaveLinha& chave);

// The display of one company ("" when unknown).
QString exibicaoEmpresa(const QSqlDatabase& db, const QString& codigoPais, const QString& idEmpresa);

// A statement for a grid: the grid moves back and forth over its rows and reads them as it scrolls.
QSqlQuery abreGrade(const QSqlDatabase& db, const QString& sql, Sql::Params params = {});

// The grid of a certificate's lines, parameters :sigla and :num. Columns: 0 MarcaProd,
// 1 ModeloProd, 2 Importado, 3 EImportado, 4 CodEANUPC, 5 DescrProd (types) or the lot/serial
// number, 6 Numero; ordered by product and number.
QString consultaGrade(TipoLinha tipo);
// The line's row in that grid (the number of lines before it).
int posicaoNaGrade(const QSqlDatabase& db, TipoLinha tipo, const ChaveLinha& chave);

} // namespace LinhasProduto

// What the line editors hold when "Aplicar" is pressed.
struct DadosEditor {
    std::optional<EmpresaVinculada> empresa; // the drop-down's entry, if one is chosen
    QString dataEntrada;                     // the entry-date mask text
    QString dataFabricacao;                  // lot only: mask texts
    QString dataValidade;
};

// The line editor of one tab, without widgets: the line being included or altered, the checks,
// and each operation as one transaction with its event, links and the certificate's flags.
class LinhasDoCertificado {
public:
    enum class Modo { Consulta, Inclusao, Alteracao };

    LinhasDoCertificado(TDMCertif& dm, TipoLinha tipo);
    ~LinhasDoCertificado();
    LinhasDoCertificado(const LinhasDoCertificado&) = delete;
    LinhasDoCertificado& operator=(const LinhasDoCertificado&) = delete;

    TipoLinha tipo() const { return tipo_; }
    TDMCertif& dm() const { return dm_; }
    Modo modo() const { return modo_; }
    bool editando() const { return modo_ != Modo::Consulta; }

    // The line being edited.
    LinhaProduto& linha() { return edicao_; }
    const LinhaProduto& linha() const { return edicao_; }
    // The key the line had when its edit began.
    const ChaveLinha& chaveOriginal() const { return chaveOriginal_; }

    // A new line of the open certificate, status A.
    void inclui();
    // False when the line no longer exists.
    bool edita(const ChaveLinha& chave);
    // The product chosen in "Seleciona Produto".
    void escolheProduto(const ProdutoEscolhido& produto);
    // "Aplicar": false, with the editor still open, after a refusal or a cancelled justification
    // (then the editor is closed), or after a failed write (with its box).
    bool aplica(const DadosEditor& editor);
    void cancela();
    // "E&xcluir ": refuses, asks, deletes; true when the line was deleted.
    bool exclui(const ChaveLinha& chave);

    // Checks of the type editor, in their order; the first message or empty.
    QString validaTipo(const DadosEditor& editor) const;
    // The lot's dates as typed: the message for the manufacture or validity field, or empty.
    QString erroFabricacao(const QString& texto) const;
    QString erroValidade(const QString& fabricacao, const QString& validade) const;

    // The register's duplicate check for the line being edited (lots and units).
    bool existeRegistro() const;

private:
    bool preenchimento(const DadosEditor& editor) const;
    void mostraErroGravacao(const std::exception& error);
    void ressincroniza();

    TDMCertif& dm_;
    TipoLinha tipo_;
    Modo modo_ = Modo::Consulta;
    LinhaProduto edicao_;
    ChaveLinha chaveOriginal_;
    int registroEditor_ = 0;
};
