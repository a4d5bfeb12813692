#include "SelecaoCertificados.h"

#include "Sql.h"

namespace {

// The three "exists" blocks over the type, unit and lot lines of the certificate.
void blocosDeProduto(QStringList& linhas, const std::function<QStringList(const QString&)>& condicoes) {
    const char* aberturas[] = {"exists(", "exists (", "exists ("};
    const char* tabelas[] = {"Select * From tipo as T", "Select * From unidade as U",
                             "Select * From lote as L"};
    const char* aliases[] = {"T", "U", "L"};
    linhas << QStringLiteral("and (");
    for (int i = 0; i < 3; ++i) {
        const QString a = QString::fromLatin1(aliases[i]);
        linhas << QString::fromLatin1(aberturas[i]) << QString::fromLatin1(tabelas[i]);
        linhas << QStringLiteral("Where %1.siglacertificador = a.siglacertificador and").arg(a);
        linhas << QStringLiteral("      %1.numcertif = a.numcertif and").arg(a);
        linhas << condicoes(a);
        linhas << (i < 2 ? QStringLiteral(")  or") : QStringLiteral("))  "));
    }
}

} // namespace

SelecaoCertificados montaSelecao(const FiltroRelatorio& f) {
    SelecaoCertificados s;
    QStringList& l = s.consulta.linhas;
    QList<Sql::Param>& p = s.consulta.parametros;
    QString& texto = s.texto;
    texto = QStringLiteral("Seleção: ");
    l << QStringLiteral("select distinct a.*,b.NomClasseCertif,c.NomClasseProd from certific a,classe_c b,"
                        "classe_p c ")
      << QStringLiteral("where a.IdClasseCertif = b.IdClasseCertif and a.IdClasseProd = c.IdClasseProd ");
    if (!f.numero.isEmpty()) {
        l << QStringLiteral("and UCase(a.NumCertif) like :NumC");
        p.append({QStringLiteral(":NumC"), QStringLiteral("%") + f.numero.toUpper() + QStringLiteral("%")});
        texto += QStringLiteral("Número do Certificado: ") + f.numero + QLatin1Char(',');
    }
    if (f.classeCertificado) {
        l << QStringLiteral("and b.IdClasseCertif = :IdClasseCertif");
        p.append({QStringLiteral(":IdClasseCertif"), f.classeCertificado->id});
        texto += QStringLiteral("Classe do Certificado: ") + f.classeCertificado->nome + QLatin1Char(',');
    }
    if (f.classeProduto) {
        l << QStringLiteral("and c.IdClasseProd = :IdClasseProd");
        p.append({QStringLiteral(":IdClasseProd"), f.classeProduto->id});
        texto += QStringLiteral("Classe de Produto: ") + f.classeProduto->nome + QLatin1Char(',');
    }
    if (f.empresa) {
        l << QStringLiteral("and (exists (Select * from Emp_Cert EC")
          << QStringLiteral("Where EC.NumCertif = a.NumCertif and")
          << QStringLiteral("      EC.SiglaCertificador = a.SiglaCertificador and")
          << QStringLiteral("      EC.CodigoPais = :Cod_Pais and")
          << QStringLiteral("      EC.IdEmpresa = :Id_Emp))");
        p.append({QStringLiteral(":Cod_Pais"), f.empresa->CodigoPais});
        p.append({QStringLiteral(":Id_Emp"), f.empresa->IdEmpresa});
        texto += QStringLiteral("Razão social: ") + f.empresa->nome + QLatin1Char(',');
    }
    if (f.produto) {
        // Brand and model are bound: a quote in them is just text.
        blocosDeProduto(l, [](const QString& a) {
            return QStringList{QStringLiteral("%1.MarcaProd = :Marca_Prod and").arg(a),
                               QStringLiteral("%1.ModeloProd = :Modelo_Prod and").arg(a),
                               QStringLiteral("%1.Importado = :Importado_Prod").arg(a)};
        });
        p.append({QStringLiteral(":Marca_Prod"), f.produto->MarcaProd});
        p.append({QStringLiteral(":Modelo_Prod"), f.produto->ModeloProd});
        p.append({QStringLiteral(":Importado_Prod"), f.produto->Importado});
        texto += QStringLiteral("Marca: ") + f.produto->MarcaProd + QStringLiteral(" Modelo: ") +
                 f.produto->ModeloProd + QLatin1Char(',');
    }
    if (f.classeServico) {
        l << QStringLiteral("and exists (select * from  servico as S ")
          << QStringLiteral("Where S.SiglaCertificador = a.siglacertificador and ")
          << QStringLiteral("S.Numcertif = a.numcertif and ")
          << QStringLiteral("S.IdClasseServ = :IdClasseServ )");
        p.append({QStringLiteral(":IdClasseServ"), f.classeServico->id});
        texto += QStringLiteral("Classe de Serviço: ") + f.classeServico->nome + QLatin1Char(',');
    }
    switch (f.importado) {
    case FiltroImportado::Todos:
        texto += QStringLiteral("Importado:Todos, ");
        break;
    case FiltroImportado::Sim:
    case FiltroImportado::Nao: {
        const bool sim = f.importado == FiltroImportado::Sim;
        blocosDeProduto(
            l, [](const QString& a) { return QStringList{QStringLiteral("%1.Importado = :Imp").arg(a)}; });
        p.append({QStringLiteral(":Imp"), sim ? 1 : 0});
        texto += sim ? QStringLiteral("Importado:Sim, ") : QStringLiteral("Importado:Não, ");
        break;
    }
    }
    // The status letter is bound like every other value.
    switch (f.status) {
    case FiltroStatus::Todos:
        texto += QStringLiteral("Status:Todos, ");
        break;
    case FiltroStatus::Ativos:
    case FiltroStatus::Cancelados:
    case FiltroStatus::Suspensos: {
        const QString letra = f.status == FiltroStatus::Ativos       ? QStringLiteral("A")
                              : f.status == FiltroStatus::Cancelados ? QStringLiteral("C")
                                                                     : QStringLiteral("S");
        l << QStringLiteral("and a.StatusCertificado = :StatusCertificado");
        p.append({QStringLiteral(":StatusCertificado"), letra});
        texto += f.status == FiltroStatus::Ativos       ? QStringLiteral("Status:Ativos, ")
                 : f.status == FiltroStatus::Cancelados ? QStringLiteral("Status:Cancelados, ")
                                                        : QStringLiteral("Status:Suspensos, ");
        break;
    }
    }
    switch (f.aprovacao) {
    case FiltroAprovacao::Todos:
        texto += QStringLiteral("Aprovados:Todos ");
        break;
    case FiltroAprovacao::Aprovados:
        l << QStringLiteral("and a.Aprovado = true ");
        texto += QStringLiteral("Aprovados: Sim ");
        break;
    case FiltroAprovacao::NaoAprovados:
        l << QStringLiteral("and a.Aprovado = false ");
        texto += QStringLiteral("Aprovados:Não ");
        break;
    }
    return s;
}

int contaSelecao(const QSqlDatabase& db, const SelecaoCertificados& selecao) {
    ConsultaMontada conta = selecao.consulta;
    conta.linhas.prepend(QStringLiteral("select count(*) from ("));
    conta.linhas.append(QStringLiteral(")"));
    QSqlQuery q = conta.executa(db);
    return q.next() ? q.value(0).toInt() : 0;
}

QString formataContagem(qint64 count) {
    if (count == 0)
        return {};
    QString digits = QString::number(qAbs(count));
    for (int i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char('.'));
    return count < 0 ? QLatin1Char('-') + digits : digits;
}
