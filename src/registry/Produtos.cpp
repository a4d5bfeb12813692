#include "Produtos.h"

#include "Clock.h"
#include "DbError.h"
#include "Eventos.h"
#include "Prompts.h"
#include "Session.h"
#include "Sql.h"
#include "Transaction.h"

#include <QSqlQuery>

namespace {

const QString CaptionGravacao = QStringLiteral("Erro de gravação");
const QString CaptionDelecao = QStringLiteral("Erro de deleção");
const QString ErroGenerico =
    QStringLiteral("Erro genérico de gravação no Banco de Dados !!! As alterações não foram efetuadas.");

QVariant textOrNull(const QString& text) {
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

// The certificates using a product, one per line table (the union removes repeats).
const QString CertifDeProd =
    QStringLiteral("SELECT SiglaCertificador, NumCertif FROM TIPO "
                   "WHERE MarcaProd = :Marca AND ModeloProd = :Modelo AND Importado = :Importado "
                   "UNION SELECT SiglaCertificador, NumCertif FROM UNIDADE "
                   "WHERE MarcaProd = :Marca AND ModeloProd = :Modelo AND Importado = :Importado "
                   "UNION SELECT SiglaCertificador, NumCertif FROM LOTE "
                   "WHERE MarcaProd = :Marca AND ModeloProd = :Modelo AND Importado = :Importado");

} // namespace

namespace Produtos {

std::optional<Produto> carrega(const QSqlDatabase& db, const ChaveProduto& chave) {
    QSqlQuery q =
        Sql::exec(db,
                  QStringLiteral("SELECT MarcaProd, ModeloProd, Importado, CodEANUPC, DescrProd, "
                                 "DthUltAtualiz, UsuResp FROM PRODUTO WHERE MarcaProd = :marca "
                                 "AND ModeloProd = :modelo AND Importado = :imp"),
                  {{":marca", chave.MarcaProd}, {":modelo", chave.ModeloProd}, {":imp", chave.Importado}});
    if (!q.next())
        return std::nullopt;
    return Produto{q.value(0).toString(), q.value(1).toString(), q.value(2).toInt(),
                   q.value(3).toString(), q.value(4).toString(), q.value(5).toDateTime(),
                   q.value(6).toString()};
}

bool existe(const QSqlDatabase& db, const ChaveProduto& chave) {
    return Sql::scalar(
               db,
               QStringLiteral("SELECT Count(*) AS Quant FROM PRODUTO "
                              "WHERE UCase(MarcaProd) = UCase(:marca) "
                              "AND UCase(ModeloProd) = UCase(:modelo) AND Importado = :imp"),
               {{":marca", chave.MarcaProd}, {":modelo", chave.ModeloProd}, {":imp", chave.Importado}})
               .toInt() > 0;
}

int certificadosQueUsam(const QSqlDatabase& db, const ChaveProduto& chave) {
    return Sql::scalar(
               db, QStringLiteral("SELECT Count(*) FROM (%1)").arg(CertifDeProd),
               {{":Marca", chave.MarcaProd}, {":Modelo", chave.ModeloProd}, {":Importado", chave.Importado}})
        .toInt();
}

void insere(const QSqlDatabase& db, const Produto& p) {
    Sql::execute(
        db,
        QStringLiteral("INSERT INTO PRODUTO (MarcaProd, ModeloProd, Importado, CodEANUPC, DescrProd, "
                       "DthUltAtualiz, UsuResp) VALUES (:marca, :modelo, :imp, :ean, :descr, :dth, :usu)"),
        {{":marca", p.MarcaProd},
         {":modelo", p.ModeloProd},
         {":imp", p.Importado},
         {":ean", textOrNull(p.CodEANUPC)},
         {":descr", textOrNull(p.DescrProd)},
         {":dth", p.DthUltAtualiz},
         {":usu", p.UsuResp}});
}

void atualiza(const QSqlDatabase& db, const ChaveProduto& antiga, const Produto& p) {
    const int changed = Sql::execute(
        db,
        QStringLiteral("UPDATE PRODUTO SET MarcaProd = :marca, ModeloProd = :modelo, Importado = :imp, "
                       "CodEANUPC = :ean, DescrProd = :descr, DthUltAtualiz = :dth, UsuResp = :usu "
                       "WHERE MarcaProd = :marca_old AND ModeloProd = :modelo_old AND Importado = :imp_old"),
        {{":marca", p.MarcaProd},
         {":modelo", p.ModeloProd},
         {":imp", p.Importado},
         {":ean", textOrNull(p.CodEANUPC)},
         {":descr", textOrNull(p.DescrProd)},
         {":dth", p.DthUltAtualiz},
         {":usu", p.UsuResp},
         {":marca_old", antiga.MarcaProd},
         {":modelo_old", antiga.ModeloProd},
         {":imp_old", antiga.Importado}});
    if (changed != 1)
        throw DbError(
            QStringLiteral("O produto %1 %2 não existe mais.").arg(antiga.MarcaProd, antiga.ModeloProd));
}

void apaga(const QSqlDatabase& db, const ChaveProduto& chave) {
    Sql::execute(db,
                 QStringLiteral("DELETE FROM PRODUTO WHERE MarcaProd = :marca AND ModeloProd = :modelo "
                                "AND Importado = :imp"),
                 {{":marca", chave.MarcaProd}, {":modelo", chave.ModeloProd}, {":imp", chave.Importado}});
}

QList<ChaveCertificado> certificadosDoProduto(const QSqlDatabase& db, const ChaveProduto& chave) {
    QSqlQuery q = Sql::exec(
        db, CertifDeProd,
        {{":Marca", chave.MarcaProd}, {":Modelo", chave.ModeloProd}, {":Importado", chave.Importado}});
    QList<ChaveCertificado> list;
    while (q.next())
        list.append({q.value(0).toString(), q.value(1).toString()});
    return list;
}

void DesaprovaPorProduto(const QSqlDatabase& db, const ChaveProduto& chave, const QString& usuario,
                         const QDateTime& agora) {
    for (const ChaveCertificado& c : certificadosDoProduto(db, chave)) {
        Sql::execute(db,
                     QStringLiteral("UPDATE CERTIFIC SET Aprovado = False "
                                    "WHERE SiglaCertificador = :par_Sigla AND NumCertif = :par_Num"),
                     {{":par_Sigla", c.sigla}, {":par_Num", c.numero}});
        QSqlQuery q = Sql::exec(db,
                                QStringLiteral("SELECT StatusCertificado FROM CERTIFIC "
                                               "WHERE SiglaCertificador = :sigla AND NumCertif = :num"),
                                {{":sigla", c.sigla}, {":num", c.numero}});
        if (!q.next())
            continue; // a line without its certificate: nothing to withdraw
        EventRow row;
        row.key = {c.sigla, c.numero};
        row.evento = QStringLiteral("ALT");
        row.justificativa = QStringLiteral("Dados do Produto Alterados");
        row.status = q.value(0).toString();
        row.statusDate = agora; // the moment the product changed, as for a company
        row.dthUltAtualiz = agora;
        row.usuResp = usuario;
        Eventos::insere(db, EventTable::STATUS_C, row);
    }
}

QString consultaTabela() {
    return QStringLiteral(
        "SELECT MarcaProd, ModeloProd, Importado, "
        "CASE WHEN Importado = 1 THEN 'Sim' ELSE 'Não' END AS EImport, CodEANUPC, DescrProd "
        "FROM PRODUTO ORDER BY MarcaProd, ModeloProd, Importado");
}

int posicaoNaTabela(const QSqlDatabase& db, const ChaveProduto& chave) {
    return Sql::scalar(
               db,
               QStringLiteral("SELECT Count(*) FROM PRODUTO WHERE MarcaProd < :marca "
                              "OR (MarcaProd = :marca AND ModeloProd < :modelo) "
                              "OR (MarcaProd = :marca AND ModeloProd = :modelo AND Importado < :imp)"),
               {{":marca", chave.MarcaProd}, {":modelo", chave.ModeloProd}, {":imp", chave.Importado}})
        .toInt();
}

} // namespace Produtos

const QString TabelaProdutos::CaptionChaveDuplicada = QStringLiteral("Erro de chave duplicada");
const QString TabelaProdutos::ProdutoJaExiste =
    QStringLiteral("Este produto já existe !!!. Cancele a Operação.");

TabelaProdutos::TabelaProdutos(Session& session) : session_(session) {}

QString TabelaProdutos::usuario() const {
    return session_.user().SiglaUsu;
}

void TabelaProdutos::mostraErro(const std::exception& error, const QString& chaveViolada) {
    const auto* db = dynamic_cast<const DbError*>(&error);
    if (db && (db->isKeyViolation() || db->message() == KeyViolationMessage))
        session_.prompts().message(CaptionChaveDuplicada, chaveViolada);
    else
        session_.prompts().message(CaptionGravacao, ErroGenerico);
}

void TabelaProdutos::inclui() {
    registro_ = Produto{};
    chaveOriginal_ = {};
    chaveBloqueada_ = false;
    modo_ = Modo::Inclusao;
}

bool TabelaProdutos::edita(const ChaveProduto& chave) {
    const QSqlDatabase db = session_.database();
    const std::optional<Produto> stored = Produtos::carrega(db, chave);
    if (!stored)
        return false;
    registro_ = *stored;
    chaveOriginal_ = chave;
    chaveBloqueada_ = Produtos::certificadosQueUsam(db, chave) > 0;
    modo_ = Modo::Alteracao;
    return true;
}

void TabelaProdutos::cancela() {
    modo_ = Modo::Consulta;
    registro_ = Produto{};
}

bool TabelaProdutos::ok() {
    if (modo_ == Modo::Consulta)
        return false;
    Prompts& prompts = session_.prompts();
    const QSqlDatabase db = session_.database();
    Produto p = registro_;
    p.MarcaProd = p.MarcaProd.trimmed();
    p.ModeloProd = p.ModeloProd.trimmed();
    p.CodEANUPC = p.CodEANUPC.trimmed();
    p.DescrProd = p.DescrProd.trimmed();
    p.Importado = p.Importado == 1 ? 1 : 0;
    // A product in use keeps its key: its lines name it.
    if (modo_ == Modo::Alteracao && chaveBloqueada_) {
        p.MarcaProd = chaveOriginal_.MarcaProd;
        p.ModeloProd = chaveOriginal_.ModeloProd;
        p.Importado = chaveOriginal_.Importado;
    }
    // A product without brand or model could never be told apart in the lines' grids.
    if (p.MarcaProd.isEmpty() || p.ModeloProd.isEmpty()) {
        prompts.message(QStringLiteral("Erro de Inclusão"),
                        QStringLiteral("Existem campos obrigatórios não preenchidos"));
        return false;
    }
    p.DthUltAtualiz = session_.clock().now();
    p.UsuResp = usuario();
    const bool inclusao = modo_ == Modo::Inclusao;
    const bool mudouChave = !inclusao && p.chave() != chaveOriginal_;
    try {
        // On alteration the product may differ from itself only in letter case.
        const bool duplicado = (inclusao || mudouChave) && Produtos::existe(db, p.chave()) &&
                               !(mudouChave && p.MarcaProd.toUpper() == chaveOriginal_.MarcaProd.toUpper() &&
                                 p.ModeloProd.toUpper() == chaveOriginal_.ModeloProd.toUpper() &&
                                 p.Importado == chaveOriginal_.Importado);
        if (duplicado) {
            prompts.message(CaptionChaveDuplicada, ProdutoJaExiste);
            return false;
        }
        Transaction transaction(db);
        if (inclusao) {
            Produtos::insere(db, p);
        } else {
            Produtos::atualiza(db, chaveOriginal_, p);
            if (mudouChave) {
                Produtos::DesaprovaPorProduto(db, p.chave(), p.UsuResp, p.DthUltAtualiz);
                Produtos::DesaprovaPorProduto(db, chaveOriginal_, p.UsuResp, p.DthUltAtualiz);
            }
        }
        transaction.commit();
    } catch (const std::exception& error) {
        mostraErro(error, QStringLiteral("Este produto já está cadastrado !!! Cancele a inclusão..."));
        return false;
    }
    registro_ = p;
    modo_ = Modo::Consulta;
    return true;
}

bool TabelaProdutos::exclui(const ChaveProduto& chave) {
    Prompts& prompts = session_.prompts();
    if (!prompts.confirm(QStringLiteral("Confirma a exclusão do Produto ?")))
        return false;
    const QSqlDatabase db = session_.database();
    try {
        if (Produtos::certificadosQueUsam(db, chave) > 0) {
            prompts.message(CaptionDelecao, QStringLiteral("Este registro não pode ser apagado. Ele já está "
                                                           "relacionado a algum certificado!!!"));
            return false;
        }
        Transaction transaction(db);
        Produtos::apaga(db, chave);
        transaction.commit();
    } catch (const std::exception&) {
        prompts.message(CaptionDelecao, ErroGenerico);
        return false;
    }
    return true;
}

bool TabelaProdutos::incluiRapido(const Produto& produto) {
    Prompts& prompts = session_.prompts();
    Produto p = produto;
    p.MarcaProd = p.MarcaProd.trimmed();
    p.ModeloProd = p.ModeloProd.trimmed();
    p.CodEANUPC = p.CodEANUPC.trimmed();
    p.DescrProd = p.DescrProd.trimmed();
    p.Importado = p.Importado == 1 ? 1 : 0;
    if (p.MarcaProd.isEmpty() || p.ModeloProd.isEmpty()) {
        prompts.message(QStringLiteral("Erro de Inclusão"),
                        QStringLiteral("Existem campos obrigatórios não preenchidos"));
        return false;
    }
    p.DthUltAtualiz = session_.clock().now();
    p.UsuResp = usuario();
    const QSqlDatabase db = session_.database();
    try {
        Transaction transaction(db);
        Produtos::insere(db, p);
        transaction.commit();
    } catch (const std::exception& error) {
        mostraErro(error, QStringLiteral("Esta produto já existe !!! Cancele a inclusão..."));
        return false;
    }
    registro_ = p;
    return true;
}
