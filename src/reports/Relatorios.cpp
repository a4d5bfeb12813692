#include "Relatorios.h"

#include "BatchControl.h"
#include "ListReport.h"
#include "Sql.h"

using namespace Report;

namespace Relatorios {

namespace {

Header cabecalho(const ReportContext& context, const QString& title, const QStringList& lines = {}) {
    return Header{title, lines, context.usuario, context.agora.date()};
}

bool existe(const QSqlDatabase& db, const QString& sql, const QString& sigla, const QString& numero) {
    return Sql::scalar(db, sql, {{QStringLiteral(":Sigla"), sigla}, {QStringLiteral(":Num"), numero}})
        .isValid();
}

QString linhasDe(const char* select, std::initializer_list<const char*> tables) {
    QStringList parts;
    for (const char* table : tables)
        parts << QStringLiteral("select  %1 from %2\nwhere NUMCERTIF = :Num and SIGLACERTIFICADOR = :Sigla")
                     .arg(QLatin1String(select), QLatin1String(table));
    return parts.join(QStringLiteral("\nUnion\n"));
}

QString sqlAVencer() {
    return QStringLiteral(
        "select a.NumCertif, a.DataEmissao, a.DataValid, b.NomClasseCertif, c.NomClasseProd, "
        "a.StatusCertificado from CERTIFIC a "
        "left join CLASSE_C b on b.IdClasseCertif = a.IdClasseCertif "
        "left join CLASSE_P c on c.IdClasseProd = a.IdClasseProd "
        "where a.StatusCertificado = 'A' and a.DataValid is not null "
        "and a.DataValid < :Limite "
        "and a.SiglaCertificador in (select SiglaCertificador from CONFIG_LOCAL) ");
}

} // namespace

QString pendencias(const QSqlDatabase& db, const QString& sigla, const QString& numero) {
    if (numero.isEmpty())
        return {};
    static const QString fimDeLinha = QStringLiteral("\n\r");
    QString texto;
    if (!existe(db, linhasDe("NUMCERTIF", {"emp_cert"}), sigla, numero))
        texto += QStringLiteral("Falta preencher as informações de Empresas Envolvidas.") + fimDeLinha;
    if (!existe(db, linhasDe("NUMCERTIF", {"Tipo", "Lote", "Unidade", "Servico"}), sigla, numero))
        texto += QStringLiteral("Falta preencher as informações de Produtos ou Serviços.") + fimDeLinha;
    if (!existe(db,
                linhasDe("IdDocNorm", {"doc_norm_cert_produto", "doc_norm_tipo", "doc_norm_lote",
                                       "doc_norm_unidade", "doc_norm_cert_servico", "doc_norm_serv"}),
                sigla, numero))
        texto += QStringLiteral("Falta preencher as informações de Documentos Normativos.");
    return texto;
}

Document lista(const ReportContext& context, const SelecaoCertificados& selecao) {
    ListDefinition d;
    d.title = QStringLiteral("Lista dos Certificados");
    d.sql = selecao.consulta.texto();
    d.params = selecao.consulta.parametros;
    d.columns = {
        {QStringLiteral("Número do Certificado"), QStringLiteral("NumCertif"), 3},
        {QStringLiteral("Classe do Produto"), QStringLiteral("NomClasseProd"), 5},
        {QStringLiteral("Usuário Responsável"), QStringLiteral("UsuResp"), 2},
        {QStringLiteral("Data de Atualização"), QStringLiteral("DthUltAtualiz"), 2, Formato::Carimbo},
    };
    return buildList(d, cabecalho(context, d.title, {selecao.texto}), context.db);
}

Document certificadosIncompletos(const ReportContext& context) {
    ListDefinition d;
    d.title = QStringLiteral("Certificados Incompletos");
    d.sql = QStringLiteral(
        "select C.NumCertif, C.UsuResp, A.NomClasseProd, C.DthUltAtualiz, C.SiglaCertificador\n"
        "from CERTIFIC as C, CLASSE_P as A\n"
        "where (completo = false) and (A.IdClasseProd = C.IdClasseProd)");
    const QSqlDatabase db = context.db;
    d.columns = {
        {QStringLiteral("Número do Certificador"), QStringLiteral("NumCertif"), 3},
        {QStringLiteral("Classe do Produto"), QStringLiteral("NomClasseProd"), 4},
        {QStringLiteral("Usuário Responsável"), QStringLiteral("UsuResp"), 2.6},
        {QStringLiteral("Data Atualização"), QStringLiteral("DthUltAtualiz"), 2.2, Formato::Carimbo},
        {QStringLiteral("Pendências do Certificado"), QString(), 5, Formato::Texto,
         [db](const QSqlRecord& r) {
             return pendencias(db, r.value(QStringLiteral("SiglaCertificador")).toString(),
                               r.value(QStringLiteral("NumCertif")).toString());
         }},
    };
    return buildList(d, cabecalho(context, d.title, {ReportText::linhaCertificador(context.db)}), context.db);
}

Document certificadosProntos(const ReportContext& context) {
    ListDefinition d;
    d.title = QStringLiteral("Certificados Prontos para Aprovação");
    d.sql =
        QStringLiteral("Select a.NumCertif, a.UsuResp, a.DthUltAtualiz, a.SiglaCertificador,\n"
                       "b.NomClasseProd,\n"
                       "c.NomeOCC\n"
                       "from CERTIFIC a, CLASSE_P b, CONFIG_LOCAL c\n"
                       "where (a.Completo=true and a.Aprovado=false and a.IdClasseProd = b.IdClasseProd and\n"
                       "c.SiglaCertificador = a.SiglaCertificador)\n"
                       "order by a.DthUltAtualiz DESC");
    d.columns = {
        {QStringLiteral("Número do Certificador"), QStringLiteral("NumCertif"), 3},
        {QStringLiteral("Classe do Produto"), QStringLiteral("NomClasseProd"), 5},
        {QStringLiteral("Usuário Responsável"), QStringLiteral("UsuResp"), 2},
        {QStringLiteral("Data de Atualização"), QStringLiteral("DthUltAtualiz"), 2, Formato::Carimbo},
    };
    // The header names the certifier of the rows, which is the configured one.
    return buildList(d, cabecalho(context, d.title, {ReportText::linhaCertificador(context.db)}), context.db);
}

Document usuarios(const ReportContext& context) {
    ListDefinition d;
    d.title = QStringLiteral("Cadastro de Usuários");
    d.sql = QStringLiteral("SELECT SiglaUsu, NomeUsu, AcConfigOCC, AcConfigDir, AcCadastraUsu, AcManBase, "
                           "AcAtualTabAux, AcContRemessas, AcAprovCertific FROM USU_LOCAL ORDER BY SiglaUsu");
    d.columns = {
        {QStringLiteral("Sigla"), QStringLiteral("SiglaUsu"), 1.2},
        {QStringLiteral("Nome do Usuário"), QStringLiteral("NomeUsu"), 2.8},
        {QStringLiteral("Certificador"), QStringLiteral("AcConfigOCC"), 2, Formato::SimNao},
        {QStringLiteral("Diretórios"), QStringLiteral("AcConfigDir"), 2, Formato::SimNao},
        {QStringLiteral("Usuários"), QStringLiteral("AcCadastraUsu"), 2, Formato::SimNao},
        {QStringLiteral("Base de Dados"), QStringLiteral("AcManBase"), 2, Formato::SimNao},
        {QStringLiteral("Tabelas"), QStringLiteral("AcAtualTabAux"), 2, Formato::SimNao},
        {QStringLiteral("Remessas"), QStringLiteral("AcContRemessas"), 2, Formato::SimNao},
        {QStringLiteral("Aprovação de Certificados"), QStringLiteral("AcAprovCertific"), 3.8,
         Formato::SimNao},
    };
    return buildList(d, cabecalho(context, d.title), context.db);
}

Document historicoRemessa(const ReportContext& context, const QString& numeroRemessa) {
    ListDefinition d;
    d.title = QStringLiteral("Controle de Remessas - Listagem de Histórico");
    d.sql = BatchControl::eventosSql();
    d.params = {{QStringLiteral(":NumeroRemessa"), numeroRemessa}};
    d.groupField = QStringLiteral("NumeroRemessa");
    d.groupLabel = QStringLiteral("Número da Remessa:");
    d.columns = {
        {QStringLiteral("Evento"), QString(), 2, Formato::Texto,
         [](const QSqlRecord& r) {
             return BatchEvents::descricao(r.value(QStringLiteral("Evento")).toString());
         }},
        {QStringLiteral("Observação"), QStringLiteral("Obs"), 5},
        {QStringLiteral("Usuário Responsável"), QStringLiteral("Usuario"), 2},
        {QStringLiteral("Data e Hora"), QStringLiteral("DataHoraEvento"), 2, Formato::Carimbo},
    };
    return buildList(d, cabecalho(context, d.title, {ReportText::linhaCertificador(context.db)}), context.db);
}

Document certificadosAVencer(const ReportContext& context, int dias) {
    ListDefinition d;
    d.title = QStringLiteral("Certificados a Vencer");
    d.sql = sqlAVencer() + QStringLiteral("order by a.DataValid, a.NumCertif");
    d.params = {{QStringLiteral(":Limite"), Sql::dateValue(context.agora.date().addDays(dias + 1))}};
    d.columns = {
        {QStringLiteral("Número do Certificado"), QStringLiteral("NumCertif"), 3},
        {QStringLiteral("Classe do Certificado"), QStringLiteral("NomClasseCertif"), 3},
        {QStringLiteral("Classe do Produto"), QStringLiteral("NomClasseProd"), 4},
        {QStringLiteral("Emissão"), QStringLiteral("DataEmissao"), 1.5, Formato::Data},
        {QStringLiteral("Validade"), QStringLiteral("DataValid"), 1.5, Formato::Data},
    };
    const QString linha = QStringLiteral("Certificados ativos com validade até %1 (%2 dias)")
                              .arg(context.agora.date().addDays(dias).toString(QStringLiteral("dd/MM/yyyy")))
                              .arg(dias);
    return buildList(d, cabecalho(context, d.title, {ReportText::linhaCertificador(context.db), linha}),
                     context.db);
}

int contaAVencer(const QSqlDatabase& db, const QDate& hoje, int dias) {
    return Sql::scalar(db, QStringLiteral("select count(*) from (") + sqlAVencer() + QStringLiteral(")"),
                       {{QStringLiteral(":Limite"), Sql::dateValue(hoje.addDays(dias + 1))}})
        .toInt();
}

} // namespace Relatorios
