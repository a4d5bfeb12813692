#include "Certificados.h"

#include "Documents.h"
#include "Formats.h"
#include "Sql.h"

#include <QSqlQuery>
#include <QSqlRecord>

QString DescrStatus(const QString& status) {
    if (status == QLatin1String("A"))
        return QStringLiteral("Ativo");
    if (status == QLatin1String("C"))
        return QStringLiteral("Cancelado");
    if (status == QLatin1String("S"))
        return QStringLiteral("Suspenso");
    return {};
}

QString DescrImportado(const QVariant& importado) {
    return importado.toString() == QLatin1String("1") ? QStringLiteral("Sim") : QStringLiteral("Não");
}

namespace Certificados {

namespace {

QVariant textOrNull(const QString& text) {
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

QVariant dateOrNull(const QDate& date) {
    return date.isValid() ? QVariant(Sql::dateValue(date)) : QVariant(QMetaType(QMetaType::QDateTime));
}

QDateTime readDateTime(const QVariant& value) {
    if (value.isNull())
        return {};
    return QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
}

// The values of a row, bound by name; the statements below name them all.
void bindRow(QSqlQuery& query, const Certificado& row) {
    Sql::bind(query, {{":SiglaCertificador", row.SiglaCertificador},
                      {":NumCertif", row.NumCertif},
                      {":StatusCertificado", textOrNull(row.StatusCertificado)},
                      {":IdClasseProd",
                       row.IdClasseProd ? QVariant(*row.IdClasseProd) : QVariant(QMetaType(QMetaType::Int))},
                      {":IdClasseCertif", textOrNull(row.IdClasseCertif)},
                      {":DataEmissao", dateOrNull(row.DataEmissao)},
                      {":DataValid", dateOrNull(row.DataValid)},
                      {":LabEnsaio", textOrNull(row.LabEnsaio)},
                      {":NumRelEnsaio", textOrNull(row.NumRelEnsaio)},
                      {":Signatarios", textOrNull(row.Signatarios)},
                      {":Observacoes", textOrNull(row.Observacoes)},
                      {":Completo", row.Completo},
                      {":Aprovado", row.Aprovado},
                      {":DthUltAtualiz", Sql::dateTimeOrNull(row.DthUltAtualiz)},
                      {":UsuResp", textOrNull(row.UsuResp)},
                      {":DthStatusCertificado", Sql::dateTimeOrNull(row.DthStatusCertificado)}});
}

int count(const QSqlDatabase& db, const QString& sql, Sql::Params params) {
    return Sql::scalar(db, sql, params).toInt();
}

} // namespace

std::optional<Certificado> carrega(const QSqlDatabase& db, const QString& sigla, const QString& numero) {
    QSqlQuery q = Sql::exec(db,
                            QStringLiteral("SELECT * FROM CERTIFIC WHERE SiglaCertificador = :sigla "
                                           "AND NumCertif = :num"),
                            {{":sigla", sigla}, {":num", numero}});
    if (!q.next())
        return std::nullopt;
    const QSqlRecord r = q.record();
    const auto v = [&r](const char* name) { return r.value(QString::fromLatin1(name)); };
    Certificado c;
    c.SiglaCertificador = v("SiglaCertificador").toString();
    c.NumCertif = v("NumCertif").toString();
    c.StatusCertificado = v("StatusCertificado").toString();
    if (!v("IdClasseProd").isNull())
        c.IdClasseProd = v("IdClasseProd").toInt();
    c.IdClasseCertif = v("IdClasseCertif").toString();
    c.DataEmissao = readDateTime(v("DataEmissao")).date();
    c.DataValid = readDateTime(v("DataValid")).date();
    c.LabEnsaio = v("LabEnsaio").toString();
    c.NumRelEnsaio = v("NumRelEnsaio").toString();
    c.Signatarios = v("Signatarios").toString();
    c.Observacoes = v("Observacoes").toString();
    c.Completo = v("Completo").toInt() != 0;
    c.Aprovado = v("Aprovado").toInt() != 0;
    c.DthUltAtualiz = readDateTime(v("DthUltAtualiz"));
    c.UsuResp = v("UsuResp").toString();
    c.DthStatusCertificado = readDateTime(v("DthStatusCertificado"));
    return c;
}

void insere(const QSqlDatabase& db, const Certificado& row) {
    QSqlQuery q = Sql::prepare(
        db, QStringLiteral(
                "INSERT INTO CERTIFIC (SiglaCertificador, NumCertif, StatusCertificado, IdClasseProd, "
                "IdClasseCertif, DataEmissao, DataValid, LabEnsaio, NumRelEnsaio, Signatarios, "
                "Observacoes, Completo, Aprovado, DthUltAtualiz, UsuResp, DthStatusCertificado) "
                "VALUES (:SiglaCertificador, :NumCertif, :StatusCertificado, :IdClasseProd, "
                ":IdClasseCertif, :DataEmissao, :DataValid, :LabEnsaio, :NumRelEnsaio, :Signatarios, "
                ":Observacoes, :Completo, :Aprovado, :DthUltAtualiz, :UsuResp, :DthStatusCertificado)"));
    bindRow(q, row);
    Sql::exec(q);
}

void atualiza(const QSqlDatabase& db, const QString& sigla, const QString& numeroAntigo,
              const Certificado& row) {
    QSqlQuery q = Sql::prepare(
        db, QStringLiteral(
                "UPDATE CERTIFIC SET SiglaCertificador = :SiglaCertificador, NumCertif = :NumCertif, "
                "StatusCertificado = :StatusCertificado, IdClasseProd = :IdClasseProd, "
                "IdClasseCertif = :IdClasseCertif, DataEmissao = :DataEmissao, DataValid = :DataValid, "
                "LabEnsaio = :LabEnsaio, NumRelEnsaio = :NumRelEnsaio, Signatarios = :Signatarios, "
                "Observacoes = :Observacoes, Completo = :Completo, Aprovado = :Aprovado, "
                "DthUltAtualiz = :DthUltAtualiz, UsuResp = :UsuResp, "
                "DthStatusCertificado = :DthStatusCertificado "
                "WHERE SiglaCertificador = :chaveSigla AND NumCertif = :chaveNum"));
    bindRow(q, row);
    Sql::bind(q, {{":chaveSigla", sigla}, {":chaveNum", numeroAntigo}});
    Sql::exec(q);
    if (q.numRowsAffected() != 1)
        throw DbError(QStringLiteral("O certificado %1 não foi encontrado.").arg(numeroAntigo));
}

bool existe(const QSqlDatabase& db, const QString& sigla, const QString& numero) {
    return count(db,
                 QStringLiteral("Select Count(*) as Quant from CERTIFIC "
                                "Where UCase(SIGLACERTIFICADOR) = UCase(:sigla) "
                                "and UCase(NUMCERTIF) = UCase(:num)"),
                 {{":sigla", sigla}, {":num", numero}}) > 0;
}

bool temDocumentos(const QSqlDatabase& db, const QString& sigla, const QString& numero) {
    const int produtos =
        count(db,
              QStringLiteral("Select Count(*) From ("
                             "Select siglacertificador,numcertif,0 as Quant from DOC_NORM_CERT_PRODUTO "
                             "where siglacertificador =:p1 and numcertif =:p2 union "
                             "Select siglacertificador,numcertif,0 as Quant from DOC_NORM_LOTE "
                             "where siglacertificador =:p1 and numcertif =:p2 union "
                             "Select siglacertificador,numcertif,0 as Quant from DOC_NORM_TIPO "
                             "where siglacertificador =:p1 and numcertif =:p2 union "
                             "Select siglacertificador,numcertif,0 as Quant from DOC_NORM_UNIDADE "
                             "where siglacertificador =:p1 and numcertif =:p2)"),
              {{":p1", sigla}, {":p2", numero}});
    if (produtos > 0)
        return true;
    // The service documents are looked up under the certificate's service line, when it has one.
    return count(db,
                 QStringLiteral("Select Count(*) From SERVICO S Where S.SiglaCertificador = :p1 "
                                "and S.NumCertif = :p2 and ("
                                "Exists (Select 1 from DOC_NORM_CERT_SERVICO D where "
                                "D.siglacertificador = S.SiglaCertificador and D.numcertif = S.NumCertif) or "
                                "Exists (Select 1 from DOC_NORM_SERV D where "
                                "D.siglacertificador = S.SiglaCertificador and D.numcertif = S.NumCertif))"),
                 {{":p1", sigla}, {":p2", numero}}) > 0;
}

bool CertificadoSemReferencia(const QSqlDatabase& db, const QString& numero) {
    if (count(db,
              QStringLiteral("Select Count(*) As Total_Certificado FROM rep_certific where NUMCERTIF = :num"),
              {{":num", numero}}) > 0)
        return false;
    QSqlQuery q =
        Sql::exec(db,
                  QStringLiteral("select  IdDocNorm from doc_norm_cert_produto where NUMCERTIF = :num "
                                 "Union select  IdDocNorm from doc_norm_tipo where NUMCERTIF = :num "
                                 "Union select  IdDocNorm from doc_norm_lote where NUMCERTIF = :num "
                                 "Union select  IdDocNorm from doc_norm_unidade where NUMCERTIF = :num "
                                 "Union select  IdDocNorm from doc_norm_cert_servico where NUMCERTIF = :num "
                                 "Union select  IdDocNorm from doc_norm_serv where NUMCERTIF = :num"),
                  {{":num", numero}});
    return !q.next();
}

int empresas(const QSqlDatabase& db, const QString& sigla, const QString& numero) {
    return count(
        db, QStringLiteral("Select Count(*) from EMP_CERT where SiglaCertificador = :s and NumCertif = :n"),
        {{":s", sigla}, {":n", numero}});
}

int linhasDeProdutoOuServico(const QSqlDatabase& db, const QString& sigla, const QString& numero) {
    return count(
        db,
        QStringLiteral("Select (Select Count(*) from TIPO where SiglaCertificador = :s and NumCertif = :n)"
                       " + (Select Count(*) from UNIDADE where SiglaCertificador = :s and NumCertif = :n)"
                       " + (Select Count(*) from LOTE where SiglaCertificador = :s and NumCertif = :n)"
                       " + (Select Count(*) from SERVICO where SiglaCertificador = :s and NumCertif = :n)"),
        {{":s", sigla}, {":n", numero}});
}

void ApagaLinhasCertificado(const QSqlDatabase& db, const QString& table, const QString& sigla,
                            const QString& numero) {
    Sql::execute(
        db, QStringLiteral("DELETE FROM %1 WHERE SIGLACERTIFICADOR = :sigla AND NUMCERTIF = :num").arg(table),
        {{":sigla", sigla}, {":num", numero}});
}

const QStringList& tabelasDaExclusao() {
    static const QStringList tables{// events of the normative-document links, then the links
                                    "STATUS_DNCP", "STATUS_DNCS", "STATUS_DNS", "STATUS_DNT", "STATUS_DNL",
                                    "STATUS_DNU", "DOC_NORM_CERT_PRODUTO", "DOC_NORM_CERT_SERVICO",
                                    "DOC_NORM_SERV", "DOC_NORM_TIPO", "DOC_NORM_LOTE", "DOC_NORM_UNIDADE",
                                    // events of the lines and of the certificate, the lines, the certificate
                                    "EVENTO_EMP", "STATUS_T", "STATUS_L", "STATUS_U", "STATUS_S", "STATUS_C",
                                    "EMP_CERT", "TIPO", "LOTE", "UNIDADE", "SERVICO", "CERTIFIC"};
    return tables;
}

void apagaCertificado(const QSqlDatabase& db, const QString& sigla, const QString& numero) {
    for (const QString& table : tabelasDaExclusao())
        ApagaLinhasCertificado(db, table, sigla, numero);
}

void renumeraDependentes(const QSqlDatabase& db, const QString& sigla, const QString& antigo,
                         const QString& novo) {
    static const QStringList tables{"STATUS_C", "DOC_NORM_CERT_PRODUTO", "DOC_NORM_CERT_SERVICO",
                                    "STATUS_DNCP", "STATUS_DNCS"};
    for (const QString& table : tables)
        Sql::execute(
            db,
            QStringLiteral(
                "UPDATE %1 SET NumCertif = :novo WHERE SiglaCertificador = :sigla AND NumCertif = :antigo")
                .arg(table),
            {{":novo", novo}, {":sigla", sigla}, {":antigo", antigo}});
}

int linhasConfigLocal(const QSqlDatabase& db) {
    return count(db, QStringLiteral("Select Count(*) from CONFIG_LOCAL"), {});
}

QString siglaConfigurada(const QSqlDatabase& db) {
    return Sql::scalar(db, QStringLiteral("Select SiglaCertificador from CONFIG_LOCAL"), {}).toString();
}

QStringList signatarios(const QSqlDatabase& db) {
    QSqlQuery q =
        Sql::exec(db, QStringLiteral("Select * from Signatarios order by default_s DESC, signatario ASC"));
    QStringList names;
    while (q.next()) {
        const QString name = q.value(QStringLiteral("Signatario")).toString();
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
    return names;
}

QList<ClasseItem> classesDeProdutos(const QSqlDatabase& db) {
    QSqlQuery q = Sql::exec(db, QStringLiteral("SELECT DISTINCT P.IDCLASSEPROD, P.NOMCLASSEPROD "
                                               "FROM CLASSE_P P , CONFIG_LOCAL C, CREDENCIAMENTO CC "
                                               "WHERE P.IDCLASSEPROD = CC.IDCLASSEPROD "
                                               "AND C.SIGLACERTIFICADOR = CC.SIGLACERTIFICADOR "
                                               "ORDER BY  P.NOMCLASSEPROD"));
    QList<ClasseItem> items;
    while (q.next())
        items.append({q.value(0).toInt(), q.value(1).toString()});
    return items;
}

QList<ClasseItem> classesDeCertificado(const QSqlDatabase& db) {
    // Accredited for products or for services, under the configured acronym.
    QSqlQuery q = Sql::exec(db, QStringLiteral("SELECT DISTINCT CL.IDCLASSECERTIF, CL.NOMCLASSECERTIF "
                                               "FROM CLASSE_C CL , CONFIG_LOCAL C "
                                               "WHERE EXISTS (SELECT 1 FROM CREDENCIAMENTO CC "
                                               "WHERE CC.IDCLASSECERTIF = CL.IDCLASSECERTIF "
                                               "AND CC.SIGLACERTIFICADOR = C.SIGLACERTIFICADOR) "
                                               "OR EXISTS (SELECT 1 FROM CREDENCIAMENTO_SERV CS "
                                               "WHERE CS.IDCLASSECERTIF = CL.IDCLASSECERTIF "
                                               "AND CS.SIGLACERTIFICADOR = C.SIGLACERTIFICADOR) "
                                               "ORDER BY CL.NOMCLASSECERTIF"));
    QList<ClasseItem> items;
    while (q.next())
        items.append({q.value(0).toString(), q.value(1).toString()});
    return items;
}

ClasseItem classeDeProdutos(const QSqlDatabase& db, int idClasseProd) {
    const QVariant nome =
        Sql::scalar(db, QStringLiteral("SELECT NomClasseProd FROM CLASSE_P WHERE IdClasseProd = :id"),
                    {{":id", idClasseProd}});
    return {idClasseProd, nome.isNull() ? QString::number(idClasseProd) : nome.toString()};
}

ClasseItem classeDeCertificado(const QSqlDatabase& db, const QString& idClasseCertif) {
    const QVariant nome =
        Sql::scalar(db, QStringLiteral("SELECT NomClasseCertif FROM CLASSE_C WHERE IdClasseCertif = :id"),
                    {{":id", idClasseCertif}});
    return {idClasseCertif, nome.isNull() ? idClasseCertif : nome.toString()};
}

void incluiClasse(QList<ClasseItem>& lista, const ClasseItem& classe) {
    for (const ClasseItem& item : lista)
        if (item.id == classe.id)
            return;
    lista.append(classe);
}

QList<QStringList> empresasCertificadas(const QSqlDatabase& db, const QString& sigla, const QString& numero) {
    QSqlQuery q = Sql::exec(
        db,
        QStringLiteral("SELECT P.NomePais, E.TipoPessoa, E.CGC, E.CPF, E.RazSocialEmp, E.NomPessoaFisica, "
                       "E.NomFantasia, PE.PapelEmp FROM EMP_CERT EC "
                       "LEFT JOIN EMPRESA E ON E.CodigoPais = EC.CodigoPais AND E.IdEmpresa = EC.IdEmpresa "
                       "LEFT JOIN PAIS P ON P.CodigoPais = EC.CodigoPais "
                       "LEFT JOIN PAPEL_EMP PE ON PE.IdPapelEmp = EC.IdPapelEmp "
                       "WHERE EC.SiglaCertificador = :s AND EC.NumCertif = :n ORDER BY E.RazSocialEmp"),
        {{":s", sigla}, {":n", numero}});
    QList<QStringList> rows;
    while (q.next()) {
        const QString tipo = q.value(1).toString();
        QString id, nome;
        if (tipo == QLatin1String("1")) {
            id = FormataCNPJ(q.value(2).toString(), true);
            nome = q.value(4).toString();
        } else if (tipo == QLatin1String("2")) {
            id = FormataCPF(q.value(3).toString());
            nome = q.value(5).toString();
        }
        rows.append({q.value(0).toString(), id, nome, q.value(6).toString(), q.value(7).toString()});
    }
    return rows;
}

QList<QStringList> produtosCertificados(const QSqlDatabase& db, const QString& sigla, const QString& numero) {
    QSqlQuery q = Sql::exec(
        db,
        QStringLiteral("SELECT L.MarcaProd, L.ModeloProd, L.Importado, P.CodEANUPC, L.Numero FROM ("
                       "SELECT MarcaProd, ModeloProd, Importado, '' AS Numero FROM TIPO "
                       "WHERE SiglaCertificador = :s AND NumCertif = :n UNION ALL "
                       "SELECT MarcaProd, ModeloProd, Importado, NumSerieProd FROM UNIDADE "
                       "WHERE SiglaCertificador = :s AND NumCertif = :n UNION ALL "
                       "SELECT MarcaProd, ModeloProd, Importado, NumLote FROM LOTE "
                       "WHERE SiglaCertificador = :s AND NumCertif = :n) L "
                       "LEFT JOIN PRODUTO P ON P.MarcaProd = L.MarcaProd AND P.ModeloProd = L.ModeloProd "
                       "AND P.Importado = L.Importado ORDER BY 1, 2, 5"),
        {{":s", sigla}, {":n", numero}});
    QList<QStringList> rows;
    while (q.next())
        rows.append({q.value(0).toString(), q.value(1).toString(), DescrImportado(q.value(2)),
                     q.value(3).toString(), q.value(4).toString()});
    return rows;
}

QList<QStringList> servicosCertificados(const QSqlDatabase& db, const QString& sigla, const QString& numero) {
    QSqlQuery q =
        Sql::exec(db,
                  QStringLiteral(
                      "SELECT CS.NomClasseServ, E.TipoPessoa, E.RazSocialEmp, E.NomPessoaFisica, S.IdEmpresa "
                      "FROM SERVICO S LEFT JOIN CLASSE_S CS ON CS.IdClasseServ = S.IdClasseServ "
                      "LEFT JOIN EMPRESA E ON E.CodigoPais = S.CodigoPais AND E.IdEmpresa = S.IdEmpresa "
                      "WHERE S.SiglaCertificador = :s AND S.NumCertif = :n ORDER BY 1"),
                  {{":s", sigla}, {":n", numero}});
    QList<QStringList> rows;
    while (q.next()) {
        const QString tipo = q.value(1).toString();
        const QString empresa = tipo == QLatin1String("2") ? q.value(3).toString()
                                : q.value(2).isNull()      ? q.value(4).toString()
                                                           : q.value(2).toString();
        rows.append({q.value(0).toString(), empresa});
    }
    return rows;
}

} // namespace Certificados
