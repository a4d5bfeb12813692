#include "EspelhoCertificado.h"

#include "Formats.h"
#include "ReportLayout.h"
#include "Sql.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <map>

using namespace Report;

namespace Espelho {

namespace {

QString appendIf(const QString& prefix, const QString& value) {
    return value.isEmpty() ? QString() : prefix + value;
}

QString v(const QSqlQuery& q, const char* field) {
    return q.value(QString::fromLatin1(field)).toString();
}

// "Label: value" cells of one row.
QStringList campos(std::initializer_list<std::pair<const char*, QString>> pairs) {
    QStringList cells;
    for (const auto& [label, value] : pairs)
        cells << QString::fromUtf8(label) + QLatin1Char(' ') + value;
    return cells;
}

QList<Column> partes(int n) {
    QList<Column> columns;
    for (int i = 0; i < n; ++i)
        columns.append(Column{QString(), 1});
    return columns;
}

class Espelhador {
public:
    Espelhador(const QSqlDatabase& db, Layout& layout, Variante variante)
        : db_(db), layout_(layout), variante_(variante) {}

    void certificado(const QSqlRecord& c) {
        const QString sigla = c.value(QStringLiteral("SiglaCertificador")).toString();
        const QString numero = c.value(QStringLiteral("NumCertif")).toString();
        layout_.newPageUnlessAtTop();
        dadosGerais(c);
        empresas(sigla, numero);
        servicos(sigla, numero);
        documentos(sigla, numero);
        if (variante_ == Variante::ComLog)
            log(sigla, numero);
    }

private:
    void secao(const QString& title) {
        layout_.gap(2);
        layout_.heading(title);
    }

    void dadosGerais(const QSqlRecord& c) {
        const auto f = [&c](const char* field) { return c.value(QString::fromLatin1(field)).toString(); };
        layout_.beginKeepTogether();
        layout_.heading(QStringLiteral("Dados Gerais"));
        layout_.row(partes(3), campos({{"Sigla Certificador:", f("SiglaCertificador")},
                                       {"Nº Certificado:", f("NumCertif")},
                                       {"Status Certificado:", ReportText::status(f("StatusCertificado"))}}));
        layout_.row(partes(3),
                    campos({{"Data Emissão:", ReportText::data(c.value(QStringLiteral("DataEmissao")))},
                            {"Data Validade:", ReportText::data(c.value(QStringLiteral("DataValid")))},
                            {"Lab. Ensaio:", f("LabEnsaio")}}));
        layout_.row(partes(3), campos({{"Classe do Certificado:", f("NomClasseCertif")},
                                       {"Classe de Produto:", f("NomClasseProd")},
                                       {"Num. Rel. Ensaio:", f("NumRelEnsaio")}}));
        layout_.paragraph(QStringLiteral("Signatários: ") + f("Signatarios"));
        layout_.endKeepTogether();
    }

    void empresas(const QString& sigla, const QString& numero) {
        QSqlQuery& q = run(
            QStringLiteral("select distinct a.CodigoPais, a.IdEmpresa, a.StatusEmpresa, a.DthEntEmpresa, "
                           "b.TipoPessoa, b.CGC, b.RazSocialEmp, b.CPF, b.NomPessoaFisica, b.NomFantasia, "
                           "b.EndLogr, b.EndNum, b.EndCompl, b.EndBairro, b.EndCidade, b.EndCep, b.SiglaUF, "
                           "b.Telefone, b.Fax, b.Email, c.PapelEmp, d.NomePais "
                           "from Emp_Cert a, Empresa b, Papel_Emp c, Pais d "
                           "where a.CodigoPais = b.CodigoPais and a.IdEmpresa = b.IdEmpresa and "
                           "a.IdPapelEmp = c.IdPapelEmp and a.CodigoPais = d.CodigoPais and "
                           "a.SiglaCertificador = :Sigla and a.NumCertif = :Num"),
            {{QStringLiteral(":Sigla"), sigla}, {QStringLiteral(":Num"), numero}});
        const QList<Column> columns{{QStringLiteral("País"), 2},
                                    {QStringLiteral("CNPJ/CPF"), 2.2},
                                    {QStringLiteral("Razão Social/Nome Pessoa Física"), 4},
                                    {QStringLiteral("Nome Fantasia"), 2.5},
                                    {QStringLiteral("Papel da Empresa"), 2.5},
                                    {QStringLiteral("Status"), 1.3}};
        bool first = true;
        while (q.next()) {
            if (first) {
                secao(QStringLiteral("Empresas Certificadas"));
                first = false;
            }
            const QString tipo = v(q, "TipoPessoa");
            QString id;
            QString nome;
            if (tipo == QLatin1String("1")) {
                id = FormataCNPJ(v(q, "CGC"), true);
                nome = v(q, "RazSocialEmp");
            } else if (tipo == QLatin1String("2")) {
                id = FormataCPF(v(q, "CPF"));
                nome = v(q, "NomPessoaFisica");
            }
            layout_.beginKeepTogether();
            layout_.row(columns,
                        {QStringLiteral("País"), QStringLiteral("CNPJ/CPF"),
                         QStringLiteral("Razão Social/Nome Pessoa Física"), QStringLiteral("Nome Fantasia"),
                         QStringLiteral("Papel da Empresa"), QStringLiteral("Status")},
                        FontRole::Bold);
            layout_.row(columns, {v(q, "NomePais"), id, nome, v(q, "NomFantasia"), v(q, "PapelEmp"),
                                  ReportText::status(v(q, "StatusEmpresa"))});
            const Endereco e{v(q, "EndLogr"), v(q, "EndNum"),    v(q, "EndCompl"), v(q, "EndBairro"),
                             v(q, "EndCep"),  v(q, "EndCidade"), v(q, "SiglaUF"),  v(q, "Telefone"),
                             v(q, "Fax"),     v(q, "Email")};
            layout_.row({{QString(), 8}, {QString(), 3}},
                        {QStringLiteral("Endereço: ") + textoEndereco(e),
                         QStringLiteral("Dt Ent no Certificado ") +
                             ReportText::data(q.value(QStringLiteral("DthEntEmpresa")))});
            layout_.endKeepTogether();
            produtos(sigla, numero, v(q, "CodigoPais"), v(q, "IdEmpresa"));
            layout_.gap(1.5);
        }
    }

    void produtos(const QString& sigla, const QString& numero, const QString& pais, const QString& empresa) {
        const QString common = QStringLiteral("P.CodEANUPC, P.DescrProd, P.MarcaProd as ProdutoCadastrado, "
                                              "X.MarcaProd, X.ModeloProd, X.DthEntCertif as Dta_Entrada, ");
        const QString where = QStringLiteral(" where X.SiglaCertificador = :Sigla and X.NumCertif = :Num and "
                                             "X.CodigoPais = :Pais and X.IdEmpresa = :Emp");
        const QString join = QStringLiteral(" left join PRODUTO P on P.MarcaProd = X.MarcaProd and "
                                            "P.ModeloProd = X.ModeloProd and P.Importado = X.Importado");
        const QString sql =
            QStringLiteral("select 'TIPO' as Tipo_Produto, '' as Numero_Produto, X.Importado, ") + common +
            QStringLiteral("X.StatusProduto as Status_Produto, null as QuantLote, null as DataFabrLote, "
                           "null as DataValLote, null as NumProfInvoice, null as LocalInstalacao, "
                           "null as EndBairro, null as EndCidade, null as EndCep, null as SiglaUF, "
                           "null as Observacoes from TIPO X") +
            join + where + QStringLiteral(" union all ") +
            QStringLiteral("select 'UNIDADE', X.NumSerieProd, X.Importado, ") + common +
            QStringLiteral("X.StatusUnidade, null, null, null, null, X.LocalInstalacao, X.EndBairro, "
                           "X.EndCidade, X.EndCep, X.SiglaUF, X.Observacoes from UNIDADE X") +
            join + where + QStringLiteral(" union all ") +
            QStringLiteral("select 'LOTE', X.NumLote, X.Importado, ") + common +
            QStringLiteral("X.StatusLote, X.QuantLote, X.DataFabrLote, X.DataValLote, X.NumProfInvoice, "
                           "null, null, null, null, null, null from LOTE X") +
            join + where + QStringLiteral(" Order By 7");
        QSqlQuery& q = run(sql, {{QStringLiteral(":Sigla"), sigla},
                                 {QStringLiteral(":Num"), numero},
                                 {QStringLiteral(":Pais"), pais},
                                 {QStringLiteral(":Emp"), empresa}});
        const QList<Column> columns{{QStringLiteral("Marca / Modelo"), 5},
                                    {QStringLiteral("Código EANUPC"), 2.5},
                                    {QStringLiteral("Importado"), 1.2},
                                    {QStringLiteral("Dt Ent no Certificado"), 1.8},
                                    {QStringLiteral("Status"), 1.5}};
        bool first = true;
        while (q.next()) {
            layout_.beginKeepTogether();
            if (first) {
                layout_.paragraph(QStringLiteral("Produtos Certificados"), FontRole::Bold, 6);
                layout_.row(columns,
                            {columns[0].title, columns[1].title, columns[2].title, columns[3].title,
                             columns[4].title},
                            FontRole::Bold);
                first = false;
            }
            const QString tipo = v(q, "Tipo_Produto");
            layout_.row(
                columns,
                {v(q, "MarcaProd") + QStringLiteral(" / ") + v(q, "ModeloProd"), v(q, "CodEANUPC"),
                 v(q, "Importado") == QLatin1String("0") ? QStringLiteral("Não") : QStringLiteral("Sim"),
                 ReportText::data(q.value(QStringLiteral("Dta_Entrada"))),
                 ReportText::status(v(q, "Status_Produto"))});
            if (tipo == QLatin1String("LOTE")) {
                layout_.row(
                    partes(5),
                    campos({{"Nº. Lote:", v(q, "Numero_Produto")},
                            {"Qtd. Lote:", v(q, "QuantLote")},
                            {"Dt. Fabricação:", ReportText::data(q.value(QStringLiteral("DataFabrLote")))},
                            {"Dt. Validade:", ReportText::data(q.value(QStringLiteral("DataValLote")))},
                            {"Proforma Invoice:", v(q, "NumProfInvoice")}}),
                    FontRole::Small);
            } else if (tipo == QLatin1String("UNIDADE")) {
                layout_.row(partes(3),
                            campos({{"Nº. Série:", v(q, "Numero_Produto")},
                                    {"Local Instalação:",
                                     textoInstalacao(v(q, "LocalInstalacao"), v(q, "EndBairro"),
                                                     v(q, "EndCidade"), v(q, "SiglaUF"), v(q, "EndCep"))},
                                    {"Observações", v(q, "Observacoes")}}),
                            FontRole::Small);
            }
            if (!q.value(QStringLiteral("ProdutoCadastrado")).isNull())
                layout_.paragraph(QStringLiteral("Descrição do Produto: ") + v(q, "DescrProd"),
                                  FontRole::Small, 6);
            layout_.endKeepTogether();
        }
    }

    void servicos(const QString& sigla, const QString& numero) {
        QSqlQuery& q = run(
            QStringLiteral("select CS.NomClasseServ, E.TipoPessoa, E.RazSocialEmp, E.NomPessoaFisica, E.CGC, "
                           "S.StatusServico, S.DthEntCertif, S.Observacoes, S.CodigoPais, P.NomePais "
                           "from SERVICO S "
                           "left join EMPRESA E on E.CodigoPais = S.CodigoPais and E.IdEmpresa = S.IdEmpresa "
                           "left join PAIS P on P.CodigoPais = S.CodigoPais "
                           "left join CLASSE_S CS on CS.IdClasseServ = S.IdClasseServ "
                           "where S.SiglaCertificador = :Sigla and S.NumCertif = :Num "
                           "order by CS.NomClasseServ"),
            {{QStringLiteral(":Sigla"), sigla}, {QStringLiteral(":Num"), numero}});
        const QList<Column> columns{{QStringLiteral("Classe do Serviço"), 5},
                                    {QStringLiteral("Razão Social da Empresa"), 5},
                                    {QStringLiteral("CNPJ"), 2.5},
                                    {QStringLiteral("Status"), 1.5}};
        bool first = true;
        while (q.next()) {
            if (first) {
                secao(QStringLiteral("Serviços Certificados"));
                layout_.setColumnTitles(columns);
                first = false;
            }
            const QString cgc = v(q, "CGC");
            const QString razao =
                v(q, "TipoPessoa") == QLatin1String("2") ? v(q, "NomPessoaFisica") : v(q, "RazSocialEmp");
            layout_.beginKeepTogether();
            // The service's own status, not its company link's.
            layout_.row(columns,
                        {v(q, "NomClasseServ"), razao, cgc.isEmpty() ? QString() : FormataCNPJ(cgc, true),
                         ReportText::status(v(q, "StatusServico"))});
            layout_.row(
                partes(3),
                campos({{"País:", v(q, "NomePais")},
                        {"Dt Ent no Certificado:", ReportText::data(q.value(QStringLiteral("DthEntCertif")))},
                        {"Observações:", v(q, "Observacoes")}}),
                FontRole::Small);
            layout_.endKeepTogether();
        }
        if (!first)
            layout_.clearColumnTitles();
    }

    void documentos(const QString& sigla, const QString& numero) {
        struct Fonte {
            const char* tabela;
            const char* data;
            const char* status;
            const char* documentos;
            const char* texto;
        };
        const Fonte fontes[] = {
            {"DOC_NORM_CERT_PRODUTO", "DthEntDNCP", "Status_DNCP", "DOC_NORMATIVOS", "Geral por Produto"},
            {"DOC_NORM_CERT_SERVICO", "DthEntDNCS", "Status_DNCS", "DOC_NORMATIVOS_SERV",
             "Geral por Serviço"},
            {"DOC_NORM_TIPO", "DthEntDNT", "Status_DNT", "DOC_NORMATIVOS", "Tipo"},
            {"DOC_NORM_UNIDADE", "DthEntDNU", "Status_DNU", "DOC_NORMATIVOS", "Unidade"},
            {"DOC_NORM_LOTE", "DthEntDNL", "Status_DNL", "DOC_NORMATIVOS", "Lote"},
            {"DOC_NORM_SERV", "DthEntDNS", "Status_DNS", "DOC_NORMATIVOS_SERV", "Serviço"},
        };
        QStringList parts;
        for (const Fonte& f : fontes)
            parts
                << QStringLiteral(
                       "select L.IdDocNorm, L.%2 as DATAENTRADA, L.%3 as STATUS, D.NomeTitulo as NOMETITULO, "
                       "T.TipoDoc as TIPODOC, '%5' as TABELA from %1 L "
                       "left join %4 D on D.IdDocNorm = L.IdDocNorm "
                       "left join TIPO_DOC T on T.IdTipoDoc = D.IdTipoDoc "
                       "where L.SiglaCertificador = :Sigla and L.NumCertif = :Num")
                       .arg(QLatin1String(f.tabela), QLatin1String(f.data), QLatin1String(f.status),
                            QLatin1String(f.documentos), QString::fromUtf8(f.texto));
        QSqlQuery& q = run(parts.join(QStringLiteral(" union ")) + QStringLiteral(" order by 4"),
                           {{QStringLiteral(":Sigla"), sigla}, {QStringLiteral(":Num"), numero}});
        const QList<Column> columns{{QStringLiteral("Titulo Documento"), 6},
                                    {QStringLiteral("Tipo"), 3},
                                    {QStringLiteral("Data de Entrada"), 2},
                                    {QStringLiteral("Status"), 1.5}};
        bool first = true;
        while (q.next()) {
            if (first) {
                secao(QStringLiteral("Documentos Normativos"));
                layout_.setColumnTitles(columns);
                first = false;
            }
            layout_.row(columns, {v(q, "NOMETITULO"), v(q, "TIPODOC"),
                                  ReportText::data(q.value(QStringLiteral("DATAENTRADA"))),
                                  ReportText::status(v(q, "STATUS"))});
        }
        if (!first)
            layout_.clearColumnTitles();
    }

    void log(const QString& sigla, const QString& numero) {
        struct Fonte {
            const char* tabela;
            const char* data;
            const char* secao;
        };
        const Fonte fontes[] = {
            {"status_c", "DthStatusCertificado", "Certificados"},
            {"evento_emp", "DthStatusEmpresa", "Emp. Envolvidas"},
            {"Status_T", "DthStatusProduto", "Produto"},
            {"Status_U", "DthStatusUnidade", "Unidade"},
            {"Status_L", "DthStatus_L", "Lote"},
            {"Status_S", "DthStatusServico", "Serviço"},
        };
        QStringList parts;
        for (const Fonte& f : fontes)
            parts
                << QStringLiteral(
                       "select X.%2 as Data_Status, '%3' as tabela, X.SeqEvento, X.Evento, X.Justificativa, "
                       "X.DthUltAtualiz, X.UsuResp, X.HistoricoSis from %1 X "
                       "where X.SiglaCertificador = :Sigla and X.NumCertif = :Num")
                       .arg(QLatin1String(f.tabela), QLatin1String(f.data), QString::fromUtf8(f.secao));
        QSqlQuery& q = run(parts.join(QStringLiteral(" union all ")) +
                               QStringLiteral(" order by DthUltAtualiz,SeqEvento"),
                           {{QStringLiteral(":Sigla"), sigla}, {QStringLiteral(":Num"), numero}});
        const QList<Column> columns{{QStringLiteral("Data Registro no Sistema"), 2.7},
                                    {QStringLiteral("Data Evento"), 1.6},
                                    {QStringLiteral("Evento"), 2},
                                    {QStringLiteral("Justificativa"), 5.3},
                                    {QStringLiteral("Fonte"), 1.3},
                                    {QStringLiteral("Referente a"), 2}};
        secao(QStringLiteral("Log de Eventos"));
        layout_.setColumnTitles(columns);
        while (q.next()) {
            const QString fonte = v(q, "HistoricoSis") == QLatin1String("1")   ? QStringLiteral("Usuário")
                                  : v(q, "HistoricoSis") == QLatin1String("2") ? QStringLiteral("Sistema")
                                                                               : QString();
            layout_.row(columns,
                        {ReportText::data(q.value(QStringLiteral("DthUltAtualiz"))),
                         ReportText::data(q.value(QStringLiteral("Data_Status"))),
                         descricaoEvento(v(q, "Evento")), v(q, "Justificativa"), fonte, v(q, "tabela")});
        }
        layout_.clearColumnTitles();
    }

    // The statements are prepared once and run again for every certificate, company and line.
    QSqlQuery& run(const QString& sql, Sql::Params params) {
        auto found = prepared_.find(sql);
        if (found == prepared_.end()) {
            QSqlQuery q = Sql::prepare(db_, sql);
            q.setForwardOnly(true);
            found = prepared_.emplace(sql, std::move(q)).first;
        }
        QSqlQuery& q = found->second;
        q.finish();
        Sql::bind(q, params);
        Sql::exec(q);
        return q;
    }

    QSqlDatabase db_;
    Layout& layout_;
    Variante variante_;
    std::map<QString, QSqlQuery> prepared_;
};

} // namespace

QString textoEndereco(const Endereco& e) {
    return e.EndLogr + appendIf(QStringLiteral(", "), e.EndNum) + appendIf(QStringLiteral("/"), e.EndCompl) +
           appendIf(QStringLiteral("   "), e.EndBairro) + appendIf(QStringLiteral("  CEP "), e.EndCEP) +
           appendIf(QStringLiteral(" - "), e.EndCidade) + appendIf(QStringLiteral(", "), e.SiglaUF) +
           appendIf(QStringLiteral(" - Tel: "), e.Telefone) + appendIf(QStringLiteral("  Fax: "), e.Fax) +
           appendIf(QStringLiteral("  Email: "), e.Email);
}

QString textoInstalacao(const QString& local, const QString& bairro, const QString& cidade, const QString& uf,
                        const QString& cep) {
    return local + appendIf(QStringLiteral(" "), bairro) + appendIf(QStringLiteral(" "), cidade) +
           appendIf(QStringLiteral(" - "), uf) + appendIf(QStringLiteral(" CEP: "), cep);
}

QString descricaoEvento(const QString& evento) {
    static const QHash<QString, QString> textos{
        {QStringLiteral("INC"), QStringLiteral("Inclusão")},
        {QStringLiteral("ALT"), QStringLiteral("Alteração")},
        {QStringLiteral("CAN"), QStringLiteral("Cancelamento")},
        {QStringLiteral("SUS"), QStringLiteral("Suspensão")},
        {QStringLiteral("REA"), QStringLiteral("Reativação")},
        {QStringLiteral("APR"), QStringLiteral("Aprovação de Envio")},
    };
    return textos.value(evento);
}

Document espelho(const ReportContext& context, const SelecaoCertificados& selecao, Variante variante) {
    Layout layout(Header{QStringLiteral("Espelho dos Certificados com Log de Evento"),
                         {selecao.texto},
                         context.usuario,
                         context.agora.date()},
                  QPageLayout::Landscape);
    QSqlQuery certificados = Sql::prepare(context.db, selecao.consulta.texto());
    certificados.setForwardOnly(true);
    for (const Sql::Param& p : selecao.consulta.parametros)
        Sql::bind(certificados, {p});
    Sql::exec(certificados);
    Espelhador espelhador(context.db, layout, variante);
    while (certificados.next())
        espelhador.certificado(certificados.record());
    return layout.finish(variante == Variante::ComLog ? QStringLiteral("Espelho com Log")
                                                      : QStringLiteral("Espelho do Certificado"));
}

} // namespace Espelho
