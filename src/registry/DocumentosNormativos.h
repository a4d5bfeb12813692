#pragma once

#include "Eventos.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariantMap>
#include <optional>

// The five kinds of item a normative document is linked to; each is the caption of the register's
// tab the documents screen is opened from.
enum class EscopoDocNorm {
    DadosGerais, // every product of the certificate
    Tipo,        // a product line by type
    Lote,        // a lot
    Unidade,     // a serial unit
    Servicos,    // a service line
};

// Where the links of one scope live. Table and column names reach the statements only from here.
struct EscopoInfo {
    EscopoDocNorm escopo;
    QString caption;       // "Dados Gerais", "Produtos por Tipo", ...
    QString tabela;        // DOC_NORM_CERT_PRODUTO, ...
    QStringList chave;     // the link's key columns
    QString colunaStatus;  // Status_DNCP, ...
    QString colunaEntrada; // DthEntDNCP, ...
    QString colunaDthStatus;
    EventTable eventos;
    QString replica; // REP_DOC_NORM_CERT_PRODUTO, ...
    QString observacao;
    bool servico = false; // documents of DOC_NORMATIVOS_SERV, by class of service
};

const EscopoInfo& escopoInfo(EscopoDocNorm escopo);
// The scope of a register tab caption; nothing for "Empresas Envolvidas" or an unknown caption.
std::optional<EscopoDocNorm> escopoDaAba(const QString& caption);

// The item whose documents the screen keeps: the open certificate and, for the line scopes, the
// current line of the register's tab.
struct ItemDocNorm {
    EscopoDocNorm escopo = EscopoDocNorm::DadosGerais;
    QString SiglaCertificador;
    QString NumCertif;
    QString IdClasseCertif;
    QDate DataEmissao;
    int IdClasseProd = 0; // every scope but "Serviços"
    QString MarcaProd;    // line scopes
    QString ModeloProd;
    int Importado = 0;
    QString Numero;       // NumLote or NumSerieProd
    int IdClasseServ = 0; // "Serviços"
    QString CodigoPais;
    QString IdEmpresa;
};

// One linked document as the grid shows it, with the link's whole key (column -> value).
struct VinculoDocNorm {
    QVariantMap chave;
    int IdDocNorm = 0;
    QString NomeTitulo;
    QString TipoDoc;
    QString Status;
    QDateTime DataEntrada;
    QDateTime DthStatus;
};

// A document of the applicable reference list that may be linked.
struct CandidatoDocNorm {
    int IdDocNorm = 0;
    QString NomeTitulo;
    int IdTipoDoc = 0;
    QString TipoDoc;
    QString IdClasseCertif;
    int IdClasse = 0; // IdClasseProd or IdClasseServ of the document (IDC_P_S)
};

struct TipoDocumento {
    int IdTipoDoc = 0;
    QString TipoDoc;
};

// The link rows and their reference lists. Every value is bound; every failure is a DbError and
// the writes run inside the caller's transaction.
namespace DocumentosNormativos {

// The links of the item, ordered by title.
QList<VinculoDocNorm> vinculos(const QSqlDatabase& db, const ItemDocNorm& item);
// The stored link with this key, read again.
std::optional<VinculoDocNorm> vinculo(const QSqlDatabase& db, EscopoDocNorm escopo, const QVariantMap& chave);

// The documents that may still be linked to the item, optionally of one kind only, by title.
QList<CandidatoDocNorm> candidatos(const QSqlDatabase& db, const ItemDocNorm& item,
                                   std::optional<int> idTipoDoc = std::nullopt);
// Every kind of document, by name.
QList<TipoDocumento> tiposDeDocumento(const QSqlDatabase& db);

// The key of the link of the item to a candidate.
QVariantMap chaveDoVinculo(const ItemDocNorm& item, const CandidatoDocNorm& documento);
// The link's key in its event table's column order.
QVariantList chaveDoEvento(EscopoDocNorm escopo, const QVariantMap& chave);

void insere(const QSqlDatabase& db, EscopoDocNorm escopo, const QVariantMap& chave, const QDateTime& entrada,
            const QDateTime& agora, const QString& usuario);
// Deletes the link and every event of it.
void apaga(const QSqlDatabase& db, EscopoDocNorm escopo, const QVariantMap& chave);
// Sets the link's status and status date; throws when there is no such link.
void mudaStatus(const QSqlDatabase& db, EscopoDocNorm escopo, const QVariantMap& chave, const QString& status,
                const QDateTime& dataStatus, const QDateTime& agora, const QString& usuario);
// The authority holds the link (it is in the scope's replica table).
bool naReplica(const QSqlDatabase& db, EscopoDocNorm escopo, const QVariantMap& chave);

} // namespace DocumentosNormativos
