#pragma once

#include "ChaveCertificado.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

class Session;

struct ProdutoEscolhido {
    QString MarcaProd;
    QString ModeloProd;
    int Importado = 0;
    QString CodEANUPC;
};

// The key of a product, shared by every certificate line that names it.
struct ChaveProduto {
    QString MarcaProd;
    QString ModeloProd;
    int Importado = 0;
    bool operator==(const ChaveProduto&) const = default;
};

// A row of PRODUTO.
struct Produto {
    QString MarcaProd;
    QString ModeloProd;
    int Importado = 0;
    QString CodEANUPC;
    QString DescrProd;
    QDateTime DthUltAtualiz;
    QString UsuResp;

    ChaveProduto chave() const { return {MarcaProd, ModeloProd, Importado}; }
    bool operator==(const Produto&) const = default;
};

// The product table. Every function throws DbError on failure and runs inside the caller's
// transaction when there is one.
namespace Produtos {

// Brand, model and description hold at most this many characters when typed.
inline constexpr int TamanhoMaximoTexto = 254;

std::optional<Produto> carrega(const QSqlDatabase& db, const ChaveProduto& chave);
// The duplicate check of the product table: brand and model compared whatever their case.
bool existe(const QSqlDatabase& db, const ChaveProduto& chave);
// How many certificates have a type, lot or unit line of the product.
int certificadosQueUsam(const QSqlDatabase& db, const ChaveProduto& chave);
void insere(const QSqlDatabase& db, const Produto& produto);
// Rewrites the product stored under `antiga`; throws when there is no such product.
void atualiza(const QSqlDatabase& db, const ChaveProduto& antiga, const Produto& produto);
void apaga(const QSqlDatabase& db, const ChaveProduto& chave);

// The certificates with a type, lot or unit line of the product, each once.
QList<ChaveCertificado> certificadosDoProduto(const QSqlDatabase& db, const ChaveProduto& chave);
// Withdraws the approval of every certificate with a line of the product and records why (an ALT
// event "Dados do Produto Alterados" with the certificate's current status).
void DesaprovaPorProduto(const QSqlDatabase& db, const ChaveProduto& chave, const QString& usuario,
                         const QDateTime& agora);

// Grid of the product table: MarcaProd, ModeloProd, Importado, EImport, CodEANUPC, DescrProd,
// ordered by key.
QString consultaTabela();
// The position of a product in that ordering (the number of products before it).
int posicaoNaTabela(const QSqlDatabase& db, const ChaveProduto& chave);

} // namespace Produtos

// What the product table panel and the quick inclusion do, without widgets: the record being
// edited, the checks and the writes, with the documented boxes shown through the session's prompts.
class TabelaProdutos {
public:
    enum class Modo { Consulta, Inclusao, Alteracao };

    explicit TabelaProdutos(Session& session);

    Modo modo() const { return modo_; }
    Produto& registro() { return registro_; }
    const Produto& registro() const { return registro_; }

    void inclui();
    // False when the product does not exist. The key stays locked while a certificate uses it.
    bool edita(const ChaveProduto& chave);
    bool chaveBloqueada() const { return chaveBloqueada_; }
    // "Ok" of the panel: checks and stores the record; false (edit mode kept) after a box.
    bool ok();
    void cancela();
    // "E&xcluir ": asks, refuses a product in use, deletes.
    bool exclui(const ChaveProduto& chave);

    // "OK" of the quick inclusion: stores a new product without the duplicate query; false after
    // a box.
    bool incluiRapido(const Produto& produto);

    static const QString CaptionChaveDuplicada;
    static const QString ProdutoJaExiste;

private:
    QString usuario() const;
    void mostraErro(const std::exception& error, const QString& chaveViolada);

    Session& session_;
    Modo modo_ = Modo::Consulta;
    Produto registro_;
    ChaveProduto chaveOriginal_;
    bool chaveBloqueada_ = false;
};
