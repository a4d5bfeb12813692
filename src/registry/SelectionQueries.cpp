#include "SelectionQueries.h"

QSqlQuery ConsultaMontada::executa(const QSqlDatabase& db) const {
    QSqlQuery query = Sql::prepare(db, texto());
    query.setForwardOnly(false); // the grids move back and forth over the rows
    for (const Sql::Param& p : parametros)
        Sql::bind(query, {p});
    Sql::exec(query);
    return query;
}

namespace {

int flagDe(FiltroImportado importado) {
    return importado == FiltroImportado::Sim ? 1 : 0;
}

// The three "exists" blocks over the type, unit and lot lines of the certificate; `condicoes`
// gives the product conditions of one block for its table alias.
template <typename Condicoes> void existeLinhaDeProduto(QStringList& linhas, Condicoes condicoes) {
    struct Bloco {
        const char* abertura;
        const char* tabela;
        const char* alias;
    };
    const Bloco blocos[] = {
        {"exists(", "Select * From tipo as T", "T"},
        {"exists (", "Select * From unidade as U", "U"},
        {"exists (", "Select * From lote as L", "L"},
    };
    linhas << QStringLiteral("and (");
    for (int i = 0; i < 3; ++i) {
        const QString a = QString::fromLatin1(blocos[i].alias);
        linhas << QString::fromLatin1(blocos[i].abertura) << QString::fromLatin1(blocos[i].tabela);
        linhas << QStringLiteral("Where %1.siglacertificador = a.siglacertificador and").arg(a);
        linhas << QStringLiteral("      %1.numcertif = a.numcertif and").arg(a);
        linhas << condicoes(a);
        linhas << (i < 2 ? QStringLiteral(")  or") : QStringLiteral("))  "));
    }
}

QList<ClasseCredenciada> classes(const QSqlDatabase& db, const QString& sql) {
    QList<ClasseCredenciada> result;
    QSqlQuery q = Sql::exec(db, sql);
    while (q.next())
        result.append({q.value(0).toString(), q.value(1).toString()});
    return result;
}

} // namespace

ConsultaMontada consultaCertificados(const FiltroCertificado& filtro, CertOrdem ordem) {
    ConsultaMontada c;
    QStringList& l = c.linhas;
    // Outer joins: a certificate whose class is missing from the reference tables (or was never
    // stored) must still be found, or it could be neither repaired nor deleted.
    l << QStringLiteral("select distinct a.SiglaCertificador,a.NumCertif,b.NomClasseCertif,c.NomClasseProd,"
                        "a.DataEmissao,a.DataValid, a.UsuResp, a.DthUltAtualiz from certific a "
                        "left join classe_c b on a.IdClasseCertif = b.IdClasseCertif "
                        "left join classe_p c on a.IdClasseProd = c.IdClasseProd ");
    l << QStringLiteral("where 1 = 1 ");
    if (!filtro.numCertif.isEmpty()) {
        l << QStringLiteral("and UCase(a.NumCertif) like :NumCert");
        c.parametros.append(
            {QStringLiteral(":NumCert"), QStringLiteral("%") + filtro.numCertif + QStringLiteral("%")});
    }
    if (!filtro.nomClasseCertif.isEmpty()) {
        l << QStringLiteral("and b.NomClasseCertif = :NomeClasseCert");
        c.parametros.append({QStringLiteral(":NomeClasseCert"), filtro.nomClasseCertif});
    }
    if (!filtro.nomClasseProd.isEmpty()) {
        l << QStringLiteral("and c.NomClasseProd = :NomeClasseProd");
        c.parametros.append({QStringLiteral(":NomeClasseProd"), filtro.nomClasseProd});
    }
    if (filtro.empresa) {
        l << QStringLiteral("and (exists (Select * from Emp_Cert EC")
          << QStringLiteral("Where EC.NumCertif = a.NumCertif and")
          << QStringLiteral("      EC.SiglaCertificador = a.SiglaCertificador and")
          << QStringLiteral("      EC.CodigoPais = :Cod_Pais and")
          << QStringLiteral("      EC.IdEmpresa = :Id_Emp))");
        c.parametros.append({QStringLiteral(":Cod_Pais"), filtro.empresa->first});
        c.parametros.append({QStringLiteral(":Id_Emp"), filtro.empresa->second});
    }
    if (filtro.produto) {
        // The brand and model are bound, so any character in them (a quote included) is just text.
        existeLinhaDeProduto(l, [](const QString& a) {
            return QStringList{QStringLiteral("%1.MarcaProd = :Marca_Prod and").arg(a),
                               QStringLiteral("%1.ModeloProd = :Modelo_Prod and").arg(a),
                               QStringLiteral("%1.Importado = :Importado_Prod").arg(a)};
        });
        c.parametros.append({QStringLiteral(":Marca_Prod"), filtro.produto->MarcaProd});
        c.parametros.append({QStringLiteral(":Modelo_Prod"), filtro.produto->ModeloProd});
        c.parametros.append({QStringLiteral(":Importado_Prod"), filtro.produto->Importado});
    }
    if (!filtro.nomClasseServ.isEmpty()) {
        l << QStringLiteral("and exists (select * from  servico as S, Classe_s CS")
          << QStringLiteral("Where S.IdClasseServ = CS.IdClasseServ and")
          << QStringLiteral("CS.NomClasseServ = :Nom_Class and")
          << QStringLiteral("S.SiglaCertificador = a.siglacertificador and")
          << QStringLiteral("S.Numcertif = a.numcertif)");
        c.parametros.append({QStringLiteral(":Nom_Class"), filtro.nomClasseServ});
    }
    if (!filtro.produto && filtro.importado != FiltroImportado::Todos) {
        const QString flag = QString::number(flagDe(filtro.importado));
        existeLinhaDeProduto(l, [&flag](const QString& a) {
            return QStringList{QStringLiteral("%1.Importado = %2").arg(a, flag)};
        });
    }
    switch (ordem) {
    case CertOrdem::Primeira:
        l << QStringLiteral("Order By 1");
        break;
    case CertOrdem::NumCertif:
        l << QStringLiteral("Order by a.NumCertif");
        break;
    case CertOrdem::NomClasseCertif:
        l << QStringLiteral("Order by b.NomClasseCertif");
        break;
    case CertOrdem::NomClasseProd:
        l << QStringLiteral("Order by c.NomClasseProd");
        break;
    case CertOrdem::DataEmissao:
        l << QStringLiteral("Order by a.DataEmissao");
        break;
    case CertOrdem::DataValid:
        l << QStringLiteral("Order by a.DataValid");
        break;
    }
    return c;
}

CertOrdem ordemDaColunaCertificado(int column) {
    static const CertOrdem ordens[] = {CertOrdem::NumCertif, CertOrdem::NomClasseCertif,
                                       CertOrdem::NomClasseProd, CertOrdem::DataEmissao,
                                       CertOrdem::DataValid};
    return column >= 0 && column < 5 ? ordens[column] : CertOrdem::Primeira;
}

// A class of certificate is accredited through a class of product or a class of service.
QList<ClasseCredenciada> classesCertificadoCredenciadas(const QSqlDatabase& db) {
    return classes(db,
                   QStringLiteral("SELECT CL.IDCLASSECERTIF, CL.NOMCLASSECERTIF\n"
                                  "FROM CLASSE_C CL\n"
                                  "WHERE CL.IDCLASSECERTIF IN (\n"
                                  "  SELECT CC.IDCLASSECERTIF FROM CONFIG_LOCAL C, CREDENCIAMENTO CC\n"
                                  "  WHERE C.SIGLACERTIFICADOR = CC.SIGLACERTIFICADOR\n"
                                  "  UNION\n"
                                  "  SELECT CS.IDCLASSECERTIF FROM CONFIG_LOCAL C, CREDENCIAMENTO_SERV CS\n"
                                  "  WHERE C.SIGLACERTIFICADOR = CS.SIGLACERTIFICADOR)\n"
                                  "ORDER BY CL.NOMCLASSECERTIF"));
}

QList<ClasseCredenciada> classesProdutoCredenciadas(const QSqlDatabase& db) {
    return classes(db, QStringLiteral("SELECT DISTINCT P.IDCLASSEPROD, P.NOMCLASSEPROD\n"
                                      "FROM CLASSE_P P , CONFIG_LOCAL C, CREDENCIAMENTO CC \n"
                                      "WHERE P.IDCLASSEPROD = CC.IDCLASSEPROD\n"
                                      "AND C.SIGLACERTIFICADOR = CC.SIGLACERTIFICADOR\n"
                                      "ORDER BY  P.NOMCLASSEPROD"));
}

QList<ClasseCredenciada> classesServicoCredenciadas(const QSqlDatabase& db) {
    return classes(db, QStringLiteral("SELECT DISTINCT S.IDCLASSESERV, S.NOMCLASSESERV\n"
                                      "FROM CLASSE_S S , CONFIG_LOCAL C, CREDENCIAMENTO_SERV CC \n"
                                      "WHERE S.IDCLASSESERV = CC.IDCLASSESERV\n"
                                      "AND C.SIGLACERTIFICADOR = CC.SIGLACERTIFICADOR\n"
                                      "ORDER BY S.NOMCLASSESERV"));
}

ConsultaMontada consultaProdutos(const FiltroProduto& filtro, ProdOrdem ordem) {
    ConsultaMontada c;
    QStringList& l = c.linhas;
    l << QStringLiteral(
        "select a.MarcaProd, a.ModeloProd, a.Importado, a.CodEANUPC from produto a where 1 = 1 ");
    if (filtro.exato) {
        l << QStringLiteral(" AND (a.MarcaProd = :par_Marca) AND (a.ModeloProd = :par_Modelo) ");
        l << QStringLiteral(" AND (a.Importado = :par_Importado) ");
        c.parametros.append({QStringLiteral(":par_Marca"), filtro.exato->MarcaProd});
        c.parametros.append({QStringLiteral(":par_Modelo"), filtro.exato->ModeloProd});
        c.parametros.append({QStringLiteral(":par_Importado"), filtro.exato->Importado});
    } else {
        if (!filtro.marca.isEmpty()) {
            l << QStringLiteral(" AND (UCase(a.MarcaProd) like UCase(:par_Text1)) ");
            c.parametros.append(
                {QStringLiteral(":par_Text1"), QStringLiteral("%") + filtro.marca + QStringLiteral("%")});
        }
        if (!filtro.modelo.isEmpty()) {
            l << QStringLiteral(" AND (UCase(a.ModeloProd) like UCase(:par_text2)) ");
            c.parametros.append(
                {QStringLiteral(":par_text2"), QStringLiteral("%") + filtro.modelo + QStringLiteral("%")});
        }
        if (!filtro.codEANUPC.isEmpty()) {
            l << QStringLiteral(" AND (a.CodEANUPC = :par_text3) ");
            c.parametros.append({QStringLiteral(":par_text3"), filtro.codEANUPC});
        }
        if (filtro.importado != FiltroImportado::Todos)
            l << QStringLiteral(" AND (a.Importado =") << QString::number(flagDe(filtro.importado))
              << QStringLiteral(") ");
    }
    switch (ordem) {
    case ProdOrdem::Nenhuma:
        break;
    case ProdOrdem::MarcaProd:
        l << QStringLiteral("Order by a.MarcaProd");
        break;
    case ProdOrdem::ModeloProd:
        l << QStringLiteral("Order by a.ModeloProd");
        break;
    case ProdOrdem::Importado:
        l << QStringLiteral("Order by a.Importado");
        break;
    case ProdOrdem::CodEANUPC:
        l << QStringLiteral("Order by a.CodEANUPC");
        break;
    }
    return c;
}

ProdOrdem ordemDaColunaProduto(int column) {
    static const ProdOrdem ordens[] = {ProdOrdem::MarcaProd, ProdOrdem::ModeloProd, ProdOrdem::Importado,
                                       ProdOrdem::CodEANUPC};
    return column >= 0 && column < 4 ? ordens[column] : ProdOrdem::Nenhuma;
}

ConsultaMontada consultaEmpresas(const FiltroEmpresa& filtro, EmprOrdem ordem) {
    ConsultaMontada c;
    QStringList& l = c.linhas;
    l << QStringLiteral(
        "select distinct a.CodigoPais, b.NomePais, a.IdEmpresa, a.CGC, a.RazSocialEmp, a.NomFantasia, "
        "a.TipoPessoa, a.NomPessoaFisica, a.CPF from empresa a, pais b where a.CodigoPais = b.CodigoPais ");
    if (filtro.exata) {
        l << QStringLiteral(" AND (b.CodigoPais = :par_cod) ")
          << QStringLiteral(" AND (a.IdEmpresa = :par_IdEmpr) ");
        c.parametros.append({QStringLiteral(":par_cod"), filtro.exata->first});
        c.parametros.append({QStringLiteral(":par_IdEmpr"), filtro.exata->second});
    } else if (filtro.filtrado) {
        if (!filtro.codigoPais.isEmpty()) {
            l << QStringLiteral(" AND (b.CodigoPais = :par_strp) ");
            c.parametros.append({QStringLiteral(":par_strp"), filtro.codigoPais});
        }
        l << (filtro.fisica ? QStringLiteral(" and a.Tipopessoa='2'")
                            : QStringLiteral(" and a.Tipopessoa='1'"));
        if (!filtro.documento.isEmpty()) {
            l << (filtro.fisica ? QStringLiteral(" AND (a.CPF like :par_text1) ")
                                : QStringLiteral(" AND (a.CGC like :par_text1) "));
            c.parametros.append({QStringLiteral(":par_text1"), filtro.documento + QStringLiteral("%")});
        }
        if (!filtro.nome.isEmpty()) {
            l << (filtro.fisica ? QStringLiteral(" AND (a.NomPessoaFisica like :par_text2)")
                                : QStringLiteral(" AND (a.NomFantasia like :par_text2)"));
            c.parametros.append(
                {QStringLiteral(":par_text2"), QStringLiteral("%") + filtro.nome + QStringLiteral("%")});
        }
        if (!filtro.razaoSocial.isEmpty()) {
            l << QStringLiteral(" AND (a.RazSocialEmp like :par_text3) ");
            c.parametros.append({QStringLiteral(":par_text3"),
                                 QStringLiteral("%") + filtro.razaoSocial + QStringLiteral("%")});
        }
    }
    switch (ordem) {
    case EmprOrdem::Nenhuma:
        break;
    case EmprOrdem::NomePais:
        l << QStringLiteral("Order by b.NomePais");
        break;
    case EmprOrdem::CGC:
        l << QStringLiteral("Order by a.CGC");
        break;
    case EmprOrdem::RazSocialEmp:
        l << QStringLiteral("Order by a.RazSocialEmp");
        break;
    case EmprOrdem::NomFantasia:
        l << QStringLiteral("Order by a.NomFantasia");
        break;
    }
    return c;
}

EmprOrdem ordemDaColunaEmpresa(int column) {
    static const EmprOrdem ordens[] = {EmprOrdem::NomePais, EmprOrdem::CGC, EmprOrdem::RazSocialEmp,
                                       EmprOrdem::NomFantasia};
    return column >= 0 && column < 4 ? ordens[column] : EmprOrdem::Nenhuma;
}

QList<std::pair<QString, QString>> paisesPorNome(const QSqlDatabase& db) {
    QList<std::pair<QString, QString>> result;
    QSqlQuery q = Sql::exec(db, QStringLiteral("SELECT CODIGOPAIS, NOMEPAIS FROM PAIS \nORDER BY NOMEPAIS"));
    while (q.next())
        result.append({q.value(0).toString(), q.value(1).toString()});
    return result;
}

ConsultaMontada consultaEmpresasDoCertificado(const FiltroEmpCert& filtro) {
    ConsultaMontada c;
    c.linhas << QStringLiteral(
                    "SELECT EC.IDEMPRESA, EC.CODIGOPAIS, P.NOMEPAIS, E.CGC, E.RAZSOCIALEMP, E.NOMFANTASIA")
             << QStringLiteral("FROM EMP_CERT EC, EMPRESA E, PAIS P")
             << QStringLiteral("WHERE EC.SIGLACERTIFICADOR = :pSigla")
             << QStringLiteral("AND EC.NUMCERTIF = :pNumCertif") << QStringLiteral("AND E.TIPOPESSOA = '1'")
             << QStringLiteral("AND EC.CODIGOPAIS = E.CODIGOPAIS")
             << QStringLiteral("AND EC.IDEMPRESA = E.IDEMPRESA")
             << QStringLiteral("AND        EC.CODIGOPAIS = P.CODIGOPAIS");
    c.parametros.append({QStringLiteral(":pSigla"), filtro.sigla});
    c.parametros.append({QStringLiteral(":pNumCertif"), filtro.numCertif});
    if (!filtro.codigoPais.isEmpty()) {
        c.linhas << QStringLiteral("AND EC.CODIGOPAIS = :pCodigoPais");
        c.parametros.append({QStringLiteral(":pCodigoPais"), filtro.codigoPais});
    }
    if (!filtro.cgc.isEmpty()) {
        c.linhas << QStringLiteral("AND E.CGC = :pCGC");
        c.parametros.append({QStringLiteral(":pCGC"), filtro.cgc});
    }
    if (!filtro.nomFantasia.isEmpty()) {
        c.linhas << QStringLiteral("AND E.NOMFANTASIA LIKE :pNomFantasia");
        c.parametros.append({QStringLiteral(":pNomFantasia"),
                             QStringLiteral("%") + filtro.nomFantasia + QStringLiteral("%")});
    }
    if (!filtro.razSocialEmp.isEmpty()) {
        c.linhas << QStringLiteral("AND E.RAZSOCIALEMP LIKE :pRazSocialEmp");
        c.parametros.append({QStringLiteral(":pRazSocialEmp"),
                             QStringLiteral("%") + filtro.razSocialEmp + QStringLiteral("%")});
    }
    return c;
}

ConsultaMontada consultaDetalheEmpresa(const QString& codigoPais, const QString& idEmpresa) {
    ConsultaMontada c;
    c.linhas << QStringLiteral("select * from empresa ") << QStringLiteral("where codigoPais = :P1 and")
             << QStringLiteral("idEmpresa = :P2");
    c.parametros.append({QStringLiteral(":P1"), codigoPais});
    c.parametros.append({QStringLiteral(":P2"), idEmpresa});
    return c;
}
