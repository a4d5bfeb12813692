#include "DocumentosNormativos.h"

#include "DbError.h"
#include "Sql.h"

#include <QSqlQuery>
#include <iterator>

namespace {

const QString Sigla = QStringLiteral("SiglaCertificador");
const QString Num = QStringLiteral("NumCertif");
const QString ClasseCertif = QStringLiteral("IdClasseCertif");
const QString ClasseProd = QStringLiteral("IdClasseProd");
const QString ClasseServ = QStringLiteral("IdClasseServ");
const QString DocNorm = QStringLiteral("IdDocNorm");
const QString Marca = QStringLiteral("MarcaProd");
const QString Modelo = QStringLiteral("ModeloProd");
const QString Importado = QStringLiteral("Importado");
const QString Lote = QStringLiteral("NumLote");
const QString Serie = QStringLiteral("NumSerieProd");
const QString Pais = QStringLiteral("CodigoPais");
const QString Empresa = QStringLiteral("IdEmpresa");

const EscopoInfo& info(EscopoDocNorm escopo) {
    static const EscopoInfo escopos[] = {
        {EscopoDocNorm::DadosGerais,
         QStringLiteral("Dados Gerais"),
         QStringLiteral("DOC_NORM_CERT_PRODUTO"),
         {Sigla, Num, ClasseCertif, ClasseProd, DocNorm},
         QStringLiteral("Status_DNCP"),
         QStringLiteral("DthEntDNCP"),
         QStringLiteral("DthStatusDNCP"),
         EventTable::STATUS_DNCP,
         QStringLiteral("REP_DOC_NORM_CERT_PRODUTO"),
         QStringLiteral(
             "Os documentos normativos indicados se referirão a todos os PRODUTOS neste certificado. "
             "Se este certificado for de serviço os documentos normativos referentes ao mesmo "
             "deverão ser cadastrados na pasta de SERVIÇO.")},
        {EscopoDocNorm::Tipo,
         QStringLiteral("Produtos por Tipo"),
         QStringLiteral("DOC_NORM_TIPO"),
         {Sigla, Num, ClasseCertif, ClasseProd, DocNorm, Marca, Modelo, Importado},
         QStringLiteral("Status_DNT"),
         QStringLiteral("DthEntDNT"),
         QStringLiteral("DthStatusDNT"),
         EventTable::STATUS_DNT,
         QStringLiteral("REP_DOC_NORM_TIPO"),
         QStringLiteral(
             "Os documentos normativos indicados se referirão a este TIPO de produto deste certificado")},
        {EscopoDocNorm::Lote,
         QStringLiteral("Produtos por Lote"),
         QStringLiteral("DOC_NORM_LOTE"),
         {Sigla, Num, ClasseCertif, ClasseProd, DocNorm, Marca, Modelo, Importado, Lote},
         QStringLiteral("Status_DNL"),
         QStringLiteral("DthEntDNL"),
         QStringLiteral("DthStatusDNL"),
         EventTable::STATUS_DNL,
         QStringLiteral("REP_DOC_NORM_LOTE"),
         QStringLiteral(
             "Os documentos normativos indicados se referirão a este LOTE de produto deste certificado")},
        {EscopoDocNorm::Unidade,
         QStringLiteral("Produtos por Unidade"),
         QStringLiteral("DOC_NORM_UNIDADE"),
         {Sigla, Num, ClasseCertif, ClasseProd, DocNorm, Marca, Modelo, Importado, Serie},
         QStringLiteral("Status_DNU"),
         QStringLiteral("DthEntDNU"),
         QStringLiteral("DthStatusDNU"),
         EventTable::STATUS_DNU,
         QStringLiteral("REP_DOC_NORM_UNIDADE"),
         QStringLiteral(
             "Os documentos normativos indicados se referirão a esta UNIDADE de produto deste certificado")},
        {EscopoDocNorm::Servicos,
         QStringLiteral("Serviços"),
         QStringLiteral("DOC_NORM_SERV"),
         {Sigla, Num, ClasseCertif, ClasseServ, DocNorm, Empresa, Pais},
         QStringLiteral("Status_DNS"),
         QStringLiteral("DthEntDNS"),
         QStringLiteral("DthStatusDNS"),
         EventTable::STATUS_DNS,
         QStringLiteral("REP_DOC_NORM_SERV"),
         QStringLiteral("Os documentos normativos indicados se referirão a este SERVIÇO deste certificado"),
         true},
    };
    static_assert(std::size(escopos) == std::size_t(EscopoDocNorm::Servicos) + 1);
    return escopos[int(escopo)];
}

// The columns that name the item (the link's key without the document and its classes).
QStringList colunasDoItem(const EscopoInfo& e) {
    QStringList columns;
    for (const QString& c : e.chave)
        if (c != ClasseCertif && c != ClasseProd && c != DocNorm)
            columns << c;
    return columns;
}

// Every value an item can give, by column.
QVariantMap valoresDoItem(const ItemDocNorm& item) {
    QVariantMap v;
    v.insert(Sigla, item.SiglaCertificador);
    v.insert(Num, item.NumCertif);
    v.insert(ClasseCertif, item.IdClasseCertif);
    v.insert(ClasseProd, item.IdClasseProd);
    v.insert(ClasseServ, item.IdClasseServ);
    v.insert(Marca, item.MarcaProd);
    v.insert(Modelo, item.ModeloProd);
    v.insert(Importado, item.Importado);
    v.insert(Lote, item.Numero);
    v.insert(Serie, item.Numero);
    v.insert(Pais, item.CodigoPais);
    v.insert(Empresa, item.IdEmpresa);
    return v;
}

// "P.col1 = :k0 AND P.col2 = :k1 ..." over the given columns.
QString condicao(const QStringList& columns, const QString& alias = {}) {
    QStringList terms;
    for (int i = 0; i < columns.size(); ++i)
        terms << QStringLiteral("%1%2 = :k%3").arg(alias, columns[i]).arg(i);
    return terms.join(QStringLiteral(" AND "));
}

void bindColunas(QSqlQuery& query, const QStringList& columns, const QVariantMap& values) {
    for (int i = 0; i < columns.size(); ++i) {
        if (!values.contains(columns[i]))
            throw DbError(
                QStringLiteral("Falta o valor de %1 na chave do documento normativo.").arg(columns[i]));
        query.bindValue(QStringLiteral(":k%1").arg(i), values.value(columns[i]));
    }
}

// The list of links with the columns of a grid row.
QString selecaoDeVinculos(const EscopoInfo& e) {
    QStringList columns;
    for (const QString& c : e.chave)
        columns << QStringLiteral("L.") + c;
    const QString referencia =
        e.servico ? QStringLiteral("DOC_NORMATIVOS_SERV") : QStringLiteral("DOC_NORMATIVOS");
    const QString classe = e.servico ? ClasseServ : ClasseProd;
    return QStringLiteral("SELECT %1, D.NomeTitulo, T.TipoDoc, L.%2, L.%3 AS DataEntrada, L.%4 "
                          "FROM %5 L LEFT JOIN %6 D ON (D.IdDocNorm = L.IdDocNorm AND "
                          "D.IdClasseCertif = L.IdClasseCertif AND D.%7 = L.%7) "
                          "LEFT JOIN TIPO_DOC T ON (T.IdTipoDoc = D.IdTipoDoc) ")
        .arg(columns.join(QStringLiteral(", ")), e.colunaStatus, e.colunaEntrada, e.colunaDthStatus, e.tabela,
             referencia, classe);
}

VinculoDocNorm leVinculo(const EscopoInfo& e, const QSqlQuery& query) {
    VinculoDocNorm v;
    int i = 0;
    for (const QString& c : e.chave)
        v.chave.insert(c, query.value(i++));
    v.IdDocNorm = v.chave.value(DocNorm).toInt();
    v.NomeTitulo = query.value(i++).toString();
    v.TipoDoc = query.value(i++).toString();
    v.Status = query.value(i++).toString();
    v.DataEntrada = query.value(i++).toDateTime();
    v.DthStatus = query.value(i++).toDateTime();
    return v;
}

} // namespace

const EscopoInfo& escopoInfo(EscopoDocNorm escopo) {
    return info(escopo);
}

std::optional<EscopoDocNorm> escopoDaAba(const QString& caption) {
    for (int i = 0; i <= int(EscopoDocNorm::Servicos); ++i)
        if (info(EscopoDocNorm(i)).caption == caption)
            return EscopoDocNorm(i);
    return std::nullopt;
}

namespace DocumentosNormativos {

QList<VinculoDocNorm> vinculos(const QSqlDatabase& db, const ItemDocNorm& item) {
    const EscopoInfo& e = info(item.escopo);
    const QStringList columns = colunasDoItem(e);
    QSqlQuery query = Sql::prepare(db, selecaoDeVinculos(e) + QStringLiteral("WHERE ") +
                                           condicao(columns, QStringLiteral("L.")) +
                                           QStringLiteral(" ORDER BY D.NomeTitulo, L.IdDocNorm"));
    bindColunas(query, columns, valoresDoItem(item));
    Sql::exec(query);
    QList<VinculoDocNorm> list;
    while (query.next())
        list.append(leVinculo(e, query));
    return list;
}

std::optional<VinculoDocNorm> vinculo(const QSqlDatabase& db, EscopoDocNorm escopo,
                                      const QVariantMap& chave) {
    const EscopoInfo& e = info(escopo);
    QSqlQuery query = Sql::prepare(db, selecaoDeVinculos(e) + QStringLiteral("WHERE ") +
                                           condicao(e.chave, QStringLiteral("L.")));
    bindColunas(query, e.chave, chave);
    Sql::exec(query);
    if (!query.next())
        return std::nullopt;
    return leVinculo(e, query);
}

QList<CandidatoDocNorm> candidatos(const QSqlDatabase& db, const ItemDocNorm& item,
                                   std::optional<int> idTipoDoc) {
    const EscopoInfo& e = info(item.escopo);
    QString sql;
    if (e.servico) {
        sql = QStringLiteral(
            "Select D.IdDocNorm, D.NomeTitulo, T.TipoDoc, D.IdTipoDoc, D.IdClasseCertif, D.IdClasseServ as "
            "IDC_P_S "
            "from Doc_Normativos_Serv D, Tipo_Doc T "
            "where D.IdTipoDoc = T.IdTipoDoc and D.StatusDoc = 'A' and D.IdClasseCertif = :classeCertif "
            "and D.IdClasseServ = :classeServ "
            "and not exists (Select 1 from Doc_Norm_Serv S where S.SiglaCertificador = :sigla "
            "and S.NumCertif = :num and S.IdClasseCertif = D.IdClasseCertif and S.IdClasseServ = "
            "D.IdClasseServ "
            "and S.CodigoPais = :pais and S.IdEmpresa = :empresa and S.IdDocNorm = D.IdDocNorm) ");
    } else {
        // A certificate-wide link excludes the document from the lines only while it is active.
        const QString ativo = item.escopo == EscopoDocNorm::DadosGerais
                                  ? QString()
                                  : QStringLiteral("and CP.Status_DNCP = 'A' ");
        sql =
            QStringLiteral(
                "Select D.IdDocNorm, D.NomeTitulo, T.TipoDoc, D.IdTipoDoc, D.IdClasseCertif, "
                "D.IDClasseProd as IDC_P_S "
                "from Doc_Normativos D, Tipo_Doc T "
                "where D.IdTipoDoc = T.IdTipoDoc and D.StatusDoc = 'A' and D.IdClasseCertif = :classeCertif "
                "and D.IdClasseProd = :classeProd "
                "and not exists (Select 1 from Doc_Norm_Cert_Produto CP where CP.SiglaCertificador = :sigla "
                "and CP.NumCertif = :num and CP.IdClasseCertif = D.IdClasseCertif "
                "and CP.IdClasseProd = D.IdClasseProd and CP.IdDocNorm = D.IdDocNorm %1) ")
                .arg(ativo);
        if (item.escopo != EscopoDocNorm::DadosGerais) {
            QString numero;
            if (item.escopo == EscopoDocNorm::Lote)
                numero = QStringLiteral("and L.NumLote = :numero ");
            else if (item.escopo == EscopoDocNorm::Unidade)
                numero = QStringLiteral("and L.NumSerieProd = :numero ");
            sql += QStringLiteral("and not exists (Select 1 from %1 L where L.SiglaCertificador = :sigla "
                                  "and L.NumCertif = :num and L.IdClasseCertif = D.IdClasseCertif "
                                  "and L.IdClasseProd = D.IdClasseProd and L.IdDocNorm = D.IdDocNorm "
                                  "and L.MarcaProd = :marca and L.ModeloProd = :modelo "
                                  "and L.Importado = :importado %2) ")
                       .arg(e.tabela, numero);
        }
    }
    if (idTipoDoc)
        sql += QStringLiteral("and D.IdTipoDoc = :IDTipoDocumento ");
    sql += QStringLiteral("order by D.NomeTitulo, D.IdDocNorm");

    QSqlQuery query = Sql::prepare(db, sql);
    query.bindValue(QStringLiteral(":classeCertif"), item.IdClasseCertif);
    query.bindValue(QStringLiteral(":sigla"), item.SiglaCertificador);
    query.bindValue(QStringLiteral(":num"), item.NumCertif);
    if (e.servico) {
        query.bindValue(QStringLiteral(":classeServ"), item.IdClasseServ);
        query.bindValue(QStringLiteral(":pais"), item.CodigoPais);
        query.bindValue(QStringLiteral(":empresa"), item.IdEmpresa);
    } else {
        query.bindValue(QStringLiteral(":classeProd"), item.IdClasseProd);
        if (item.escopo != EscopoDocNorm::DadosGerais) {
            query.bindValue(QStringLiteral(":marca"), item.MarcaProd);
            query.bindValue(QStringLiteral(":modelo"), item.ModeloProd);
            query.bindValue(QStringLiteral(":importado"), item.Importado);
            if (item.escopo != EscopoDocNorm::Tipo)
                query.bindValue(QStringLiteral(":numero"), item.Numero);
        }
    }
    if (idTipoDoc)
        query.bindValue(QStringLiteral(":IDTipoDocumento"), *idTipoDoc);
    Sql::exec(query);
    QList<CandidatoDocNorm> list;
    while (query.next())
        list.append({query.value(0).toInt(), query.value(1).toString(), query.value(3).toInt(),
                     query.value(2).toString(), query.value(4).toString(), query.value(5).toInt()});
    return list;
}

QList<TipoDocumento> tiposDeDocumento(const QSqlDatabase& db) {
    QSqlQuery query =
        Sql::exec(db, QStringLiteral("Select IdTipoDoc, TipoDoc from Tipo_Doc T order by TipoDoc"));
    QList<TipoDocumento> list;
    while (query.next())
        list.append({query.value(0).toInt(), query.value(1).toString()});
    return list;
}

QVariantMap chaveDoVinculo(const ItemDocNorm& item, const CandidatoDocNorm& documento) {
    const EscopoInfo& e = info(item.escopo);
    QVariantMap values = valoresDoItem(item);
    values.insert(DocNorm, documento.IdDocNorm);
    values.insert(ClasseCertif, documento.IdClasseCertif);
    values.insert(e.servico ? ClasseServ : ClasseProd, documento.IdClasse);
    QVariantMap chave;
    for (const QString& c : e.chave)
        chave.insert(c, values.value(c));
    return chave;
}

QVariantList chaveDoEvento(EscopoDocNorm escopo, const QVariantMap& chave) {
    QVariantList key;
    for (const QString& c : eventTableInfo(info(escopo).eventos).keyColumns) {
        if (!chave.contains(c))
            throw DbError(QStringLiteral("Falta o valor de %1 na chave do documento normativo.").arg(c));
        key << chave.value(c);
    }
    return key;
}

void insere(const QSqlDatabase& db, EscopoDocNorm escopo, const QVariantMap& chave, const QDateTime& entrada,
            const QDateTime& agora, const QString& usuario) {
    const EscopoInfo& e = info(escopo);
    QStringList columns = e.chave;
    QStringList values;
    for (int i = 0; i < e.chave.size(); ++i)
        values << QStringLiteral(":k%1").arg(i);
    columns << e.colunaEntrada << e.colunaStatus << e.colunaDthStatus << QStringLiteral("DthUltAtualiz")
            << QStringLiteral("UsuResp");
    values << QStringLiteral(":entrada") << QStringLiteral("'A'") << QStringLiteral(":entrada")
           << QStringLiteral(":dth") << QStringLiteral(":usu");
    QSqlQuery query = Sql::prepare(
        db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(e.tabela, columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))));
    bindColunas(query, e.chave, chave);
    query.bindValue(QStringLiteral(":entrada"), entrada);
    query.bindValue(QStringLiteral(":dth"), agora);
    query.bindValue(QStringLiteral(":usu"), usuario);
    Sql::exec(query);
}

void apaga(const QSqlDatabase& db, EscopoDocNorm escopo, const QVariantMap& chave) {
    const EscopoInfo& e = info(escopo);
    Eventos::apagaDoItem(db, e.eventos, chaveDoEvento(escopo, chave));
    QSqlQuery query =
        Sql::prepare(db, QStringLiteral("DELETE FROM %1 WHERE %2").arg(e.tabela, condicao(e.chave)));
    bindColunas(query, e.chave, chave);
    Sql::exec(query);
}

void mudaStatus(const QSqlDatabase& db, EscopoDocNorm escopo, const QVariantMap& chave, const QString& status,
                const QDateTime& dataStatus, const QDateTime& agora, const QString& usuario) {
    const EscopoInfo& e = info(escopo);
    QSqlQuery query = Sql::prepare(
        db, QStringLiteral(
                "UPDATE %1 SET %2 = :status, %3 = :data, DthUltAtualiz = :dth, UsuResp = :usu WHERE %4")
                .arg(e.tabela, e.colunaStatus, e.colunaDthStatus, condicao(e.chave)));
    bindColunas(query, e.chave, chave);
    query.bindValue(QStringLiteral(":status"), status);
    query.bindValue(QStringLiteral(":data"), dataStatus);
    query.bindValue(QStringLiteral(":dth"), agora);
    query.bindValue(QStringLiteral(":usu"), usuario);
    Sql::exec(query);
    if (query.numRowsAffected() != 1)
        throw DbError(QStringLiteral("O documento normativo não existe mais no certificado."));
}

bool naReplica(const QSqlDatabase& db, EscopoDocNorm escopo, const QVariantMap& chave) {
    const EscopoInfo& e = info(escopo);
    QSqlQuery query = Sql::prepare(
        db, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(e.replica, condicao(e.chave)));
    bindColunas(query, e.chave, chave);
    Sql::exec(query);
    return query.next() && query.value(0).toInt() > 0;
}

} // namespace DocumentosNormativos
