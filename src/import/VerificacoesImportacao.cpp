#include "VerificacoesImportacao.h"

#include "Clock.h"
#include "DbError.h"
#include "Eventos.h"
#include "LogImportacao.h"
#include "Sql.h"

#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

QString texto(const QVariant& v) {
    if (v.isNull())
        return {};
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
    return v.toString();
}

// A row of a table whose key points at a row of another table that must exist.
struct Dependencia {
    const char* tabela;
    const char* pai;
    QStringList colunas;
};

const QString S = QStringLiteral("SiglaCertificador");
const QString N = QStringLiteral("NumCertif");
const QString Pais = QStringLiteral("CodigoPais");
const QString Emp = QStringLiteral("IdEmpresa");
const QString Marca = QStringLiteral("MarcaProd");
const QString Modelo = QStringLiteral("ModeloProd");
const QString Imp = QStringLiteral("Importado");
const QString CCert = QStringLiteral("IdClasseCertif");
const QString CProd = QStringLiteral("IdClasseProd");
const QString CServ = QStringLiteral("IdClasseServ");
const QString Doc = QStringLiteral("IdDocNorm");
const QString Lote = QStringLiteral("NumLote");
const QString Serie = QStringLiteral("NumSerieProd");

const QList<Dependencia>& dependencias() {
    static const QList<Dependencia> lista = {
        {"STATUS_C", "CERTIFIC", {S, N}},
        {"EMP_CERT", "CERTIFIC", {S, N}},
        {"EMP_CERT", "EMPRESA", {Pais, Emp}},
        {"EVENTO_EMP", "EMP_CERT", {S, N, Pais, Emp}},
        {"DOC_NORM_CERT_PRODUTO", "CERTIFIC", {S, N}},
        {"STATUS_DNCP", "DOC_NORM_CERT_PRODUTO", {S, N, CCert, CProd, Doc}},
        {"DOC_NORM_CERT_SERVICO", "CERTIFIC", {S, N}},
        {"STATUS_DNCS", "DOC_NORM_CERT_SERVICO", {S, N, CCert, CServ, Doc}},
        {"TIPO", "CERTIFIC", {S, N}},
        {"TIPO", "PRODUTO", {Marca, Modelo, Imp}},
        {"TIPO", "EMPRESA", {Pais, Emp}},
        {"STATUS_T", "TIPO", {S, N, Marca, Modelo, Imp}},
        {"DOC_NORM_TIPO", "TIPO", {S, N, Marca, Modelo, Imp}},
        {"STATUS_DNT", "DOC_NORM_TIPO", {S, N, Marca, Modelo, Imp, CCert, CProd, Doc}},
        {"UNIDADE", "CERTIFIC", {S, N}},
        {"UNIDADE", "PRODUTO", {Marca, Modelo, Imp}},
        {"UNIDADE", "EMPRESA", {Pais, Emp}},
        {"STATUS_U", "UNIDADE", {Serie, S, N, Marca, Modelo, Imp}},
        {"DOC_NORM_UNIDADE", "UNIDADE", {Serie, S, N, Marca, Modelo, Imp}},
        {"STATUS_DNU", "DOC_NORM_UNIDADE", {Serie, S, N, Marca, Modelo, Imp, CCert, CProd, Doc}},
        {"LOTE", "CERTIFIC", {S, N}},
        {"LOTE", "PRODUTO", {Marca, Modelo, Imp}},
        {"LOTE", "EMPRESA", {Pais, Emp}},
        {"STATUS_L", "LOTE", {Lote, S, N, Marca, Modelo, Imp}},
        {"DOC_NORM_LOTE", "LOTE", {Lote, S, N, Marca, Modelo, Imp}},
        {"STATUS_DNL", "DOC_NORM_LOTE", {Lote, S, N, Marca, Modelo, Imp, CCert, CProd, Doc}},
        {"SERVICO", "CERTIFIC", {S, N}},
        {"SERVICO", "EMPRESA", {Pais, Emp}},
        {"STATUS_S", "SERVICO", {CServ, S, N, Pais, Emp}},
        {"DOC_NORM_SERV", "SERVICO", {CServ, S, N, Pais, Emp}},
        {"STATUS_DNS", "DOC_NORM_SERV", {Doc, CCert, CServ, S, N, Pais, Emp}},
    };
    return lista;
}

const QString Tracos = QStringLiteral("-------------------------------------------------------------");

} // namespace

namespace VerificacoesImportacao {

bool atualizacoesJustificadas(const ContextoImportacao& ctx) {
    QSqlQuery query = Sql::exec(ctx.db, QStringLiteral("select * from Ctr_Historico where historico = :p1"),
                                {{QStringLiteral(":p1"), QStringLiteral("0")}});
    QStringList relatorio;
    while (query.next()) {
        const QSqlRecord rec = query.record();
        for (int c = 0; c < rec.count() - 2; ++c) {
            const QString v = texto(rec.value(c));
            if (!v.isEmpty())
                relatorio << rec.fieldName(c) + QStringLiteral(": ") + v;
        }
        relatorio << QString();
    }
    if (!relatorio.isEmpty()) {
        ctx.log->logBD(
            QStringList{QStringLiteral("Foram identificadas atualizações para os registros abaixo sem a "
                                       "justificativa na tabela de histórico correspondente !"),
                        QString()} +
            relatorio);
        return false;
    }
    try {
        Sql::execute(ctx.db, QStringLiteral("delete from Ctr_Historico"));
    } catch (const DbError&) {
    }
    return true;
}

bool empresasVinculadas(const ContextoImportacao& ctx) {
    const auto parte = [](const char* tabela, const char* a) {
        return QStringLiteral(
                   "select '%1' as Nome_da_Tabela, %2.numCertif, %2.marcaprod, %2.modeloprod, "
                   "%2.codigopais, %2.idempresa, %2.siglacertificador from %3 %2 "
                   "where not exists (select e.siglacertificador, e.numcertif, e.codigopais, "
                   "e.idempresa  from emp_cert e "
                   "where %2.siglacertificador = e.siglacertificador and %2.numcertif = e.numcertif "
                   "and %2.codigopais = e.codigopais and %2.idempresa = e.idempresa)")
            .arg(QString::fromLatin1(tabela).toUpper(), QString::fromLatin1(a), QString::fromLatin1(tabela));
    };
    QSqlQuery query = Sql::exec(ctx.db, parte("lote", "l") + QStringLiteral(" union ") + parte("tipo", "t") +
                                            QStringLiteral(" union ") + parte("unidade", "u"));
    QStringList relatorio;
    while (query.next()) {
        const QSqlRecord rec = query.record();
        for (int c = 0; c < rec.count() - 1; ++c) { // the acronym is not printed
            const QString v = texto(rec.value(c));
            if (!v.isEmpty())
                relatorio << rec.fieldName(c) + QStringLiteral(": ") + v;
        }
        relatorio << Tracos;
    }
    if (relatorio.isEmpty())
        return true;
    ctx.log->logBD(
        QStringList{QStringLiteral("Foram identificadas empresas informadas nas tabelas TIPO, LOTE ou "
                                   "UNIDADE, que não estão na tabela EMP_CERT  !"),
                    QString()} +
        relatorio);
    return false;
}

bool paisExistem(const ContextoImportacao& ctx, const QList<ChaveCertificadoTxt>& certificados) {
    // The file's certificates go into a table of the connection, so each dependency is one
    // statement over all of them rather than one per certificate.
    Sql::execute(ctx.db,
                 QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS CERTIFICADOS_DO_ARQUIVO ("
                                "Ordem INTEGER PRIMARY KEY, SiglaCertificador TEXT, NumCertif TEXT)"));
    Sql::execute(ctx.db, QStringLiteral("DELETE FROM temp.CERTIFICADOS_DO_ARQUIVO"));
    QSqlQuery insere = Sql::prepare(ctx.db, QStringLiteral("INSERT INTO temp.CERTIFICADOS_DO_ARQUIVO "
                                                           "(SiglaCertificador, NumCertif) VALUES (?, ?)"));
    for (const ChaveCertificadoTxt& chave : certificados) {
        insere.bindValue(0, chave.first);
        insere.bindValue(1, chave.second);
        Sql::exec(insere);
    }
    QStringList relatorio;
    for (const Dependencia& d : dependencias()) {
        QStringList junta;
        for (const QString& c : d.colunas)
            junta << QStringLiteral("p.%1 = x.%1").arg(c);
        const QString sql =
            QStringLiteral("select %1 from %2 x join temp.CERTIFICADOS_DO_ARQUIVO k "
                           "on x.SiglaCertificador = k.SiglaCertificador and x.NumCertif = k.NumCertif "
                           "where not exists (select 1 from %3 p where %4) order by k.Ordem")
                .arg(QStringLiteral("x.") + d.colunas.join(QStringLiteral(", x.")),
                     QString::fromLatin1(d.tabela), QString::fromLatin1(d.pai),
                     junta.join(QStringLiteral(" and ")));
        QSqlQuery query = Sql::exec(ctx.db, sql);
        while (query.next()) {
            relatorio << QStringLiteral("Tabela: ") + QString::fromLatin1(d.tabela)
                      << QStringLiteral("Não existe em: ") + QString::fromLatin1(d.pai);
            for (int c = 0; c < d.colunas.size(); ++c)
                relatorio << d.colunas[c] + QStringLiteral(": ") + texto(query.value(c));
            relatorio << Tracos;
        }
    }
    Sql::execute(ctx.db, QStringLiteral("DELETE FROM temp.CERTIFICADOS_DO_ARQUIVO"));
    if (relatorio.isEmpty())
        return true;
    ctx.log->logBD(
        QStringList{QStringLiteral("Foram identificados registros cujo certificado, produto, empresa "
                                   "ou item não existe na base de dados !"),
                    QString()} +
        relatorio);
    return false;
}

bool jaImportado(const QSqlDatabase& db, const QString& nomeArquivo) {
    return Sql::exec(db, QStringLiteral("select * from controle_TXT where NomeArquivo = :p1"),
                     {{QStringLiteral(":p1"), nomeArquivo}})
        .next();
}

bool registraArquivo(const ContextoImportacao& ctx, const QString& nomeArquivo) {
    if (jaImportado(ctx.db, nomeArquivo)) {
        ctx.log->logBD(QStringLiteral("Existe registro de importação para ") + nomeArquivo);
        return false;
    }
    Sql::execute(ctx.db, QStringLiteral("insert into controle_TXT values(:p2,:p3,:p4,:p5,:p6)"),
                 {{QStringLiteral(":p2"), ctx.clock->now()},
                  {QStringLiteral(":p3"), nomeArquivo},
                  {QStringLiteral(":p4"), QStringLiteral("Importação p/ módulo OCC")},
                  {QStringLiteral(":p5"), ctx.usuario},
                  {QStringLiteral(":p6"), QStringLiteral("N")}});
    return true;
}

int marcaCompletos(const ContextoImportacao& ctx, const QList<ChaveCertificadoTxt>& certificados, bool aprova,
                   const std::function<void(int)>& progresso) {
    const QString existe =
        QStringLiteral("exists (select 1 from %1 x where x.SiglaCertificador = c.SiglaCertificador "
                       "and x.NumCertif = c.NumCertif)");
    const auto algum = [&](std::initializer_list<const char*> tabelas) {
        QStringList termos;
        for (const char* t : tabelas)
            termos << existe.arg(QString::fromLatin1(t));
        return QLatin1Char('(') + termos.join(QStringLiteral(" or ")) + QLatin1Char(')');
    };
    QSqlQuery completo =
        Sql::prepare(ctx.db, QStringLiteral("select c.StatusCertificado from certific c "
                                            "where c.SiglaCertificador = :s and c.NumCertif = :n and ") +
                                 algum({"emp_cert"}) + QStringLiteral(" and ") +
                                 algum({"lote", "tipo", "unidade", "servico"}) + QStringLiteral(" and ") +
                                 algum({"doc_norm_cert_produto", "doc_norm_cert_servico", "doc_norm_lote",
                                        "doc_norm_tipo", "doc_norm_unidade", "doc_norm_serv"}));
    const QDateTime agora = ctx.clock->now();
    int marcados = 0;
    int vistos = 0;
    for (const ChaveCertificadoTxt& chave : certificados) {
        completo.bindValue(QStringLiteral(":s"), chave.first);
        completo.bindValue(QStringLiteral(":n"), chave.second);
        Sql::exec(completo);
        const bool ehCompleto = completo.next();
        const QString status = ehCompleto ? completo.value(0).toString() : QString();
        completo.finish();
        const bool aprovado = ehCompleto && aprova;
        Sql::execute(ctx.db,
                     QStringLiteral("update certific set completo = :p2, Aprovado = :p3 "
                                    "where siglaCertificador = :p4 and numcertif = :p5"),
                     {{QStringLiteral(":p2"), ehCompleto},
                      {QStringLiteral(":p3"), aprovado},
                      {QStringLiteral(":p4"), chave.first},
                      {QStringLiteral(":p5"), chave.second}});
        if (aprovado) {
            // The approval is recorded as the approval page records it, so the register treats the
            // certificate as approved from now on.
            EventRow apr;
            apr.key = {chave.first, chave.second};
            apr.evento = QStringLiteral("APR");
            apr.justificativa = HistoricoGeradoPeloSistema;
            apr.status = status;
            apr.statusDate = agora;
            apr.dthUltAtualiz = agora;
            apr.usuResp = ctx.usuario;
            Eventos::insere(ctx.db, EventTable::STATUS_C, apr);
        }
        if (ehCompleto)
            ++marcados;
        if (progresso)
            progresso(++vistos);
    }
    return marcados;
}

} // namespace VerificacoesImportacao
