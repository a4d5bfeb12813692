#include "TDMTabelasData.h"

#include "ChangeJournal.h"
#include "DbError.h"
#include "EngineServices.h"
#include "ParadoxWriter.h"
#include "Sql.h"

#include <QDir>
#include <QRegularExpression>

namespace {

// "a.X = b.X AND ..." over the columns.
QString equal(const QStringList& columns, const QString& a, const QString& b) {
    QStringList terms;
    for (const QString& column : columns)
        terms.append(QStringLiteral("%1.%3 = %2.%3").arg(a, b, column));
    return terms.join(QStringLiteral(" AND "));
}

QString qualified(const QStringList& columns, const QString& alias) {
    QStringList out;
    for (const QString& column : columns)
        out.append(alias + QLatin1Char('.') + column);
    return out.join(QStringLiteral(", "));
}

const QStringList Certificate{QStringLiteral("SiglaCertificador"), QStringLiteral("NumCertif")};
const QStringList Company{QStringLiteral("CodigoPais"), QStringLiteral("IdEmpresa")};
const QStringList Product{QStringLiteral("MarcaProd"), QStringLiteral("ModeloProd"),
                          QStringLiteral("Importado")};

// The row of `alias` in `table` belongs to an approved certificate.
QString approved(const QString& alias) {
    return QStringLiteral("EXISTS (SELECT 1 FROM CERTIFIC C WHERE %1 AND C.Aprovado = True)")
        .arg(equal(Certificate, QStringLiteral("C"), alias));
}

// Some row of `lines` names the same item (columns) as `alias` and belongs to an approved
// certificate. The lines are found through their index by item, the certificate by its key.
QString usedByApproved(const QString& lines, const QStringList& columns, const QString& alias) {
    return QStringLiteral(
               "EXISTS (SELECT 1 FROM %1 X INNER JOIN CERTIFIC C ON %2 WHERE %3 AND C.Aprovado = True)")
        .arg(lines, equal(Certificate, QStringLiteral("C"), QStringLiteral("X")),
             equal(columns, QStringLiteral("X"), alias));
}

} // namespace

TDMTabelasData::TDMTabelasData(QSqlDatabase db, Comparacao comparacao)
    : db_(std::move(db)), comparacao_(comparacao) {}

QString TDMTabelasData::origem(const TabelaRemessa& tabela, ConsultaRemessa tipo, const QString& nome,
                               const QString& alias) const {
    const QString simples = nome + QLatin1Char(' ') + alias;
    if (comparacao_ == Comparacao::Completa || tipo == ConsultaRemessa::T)
        return simples;
    QString chaves;
    QStringList colunas;
    switch (tabela.escopo) {
    case EscopoRemessa::Certificado:
    case EscopoRemessa::Certific:
        chaves = ChangeJournal::certificadosAlterados();
        colunas = Certificate;
        break;
    case EscopoRemessa::Empresa:
        chaves = ChangeJournal::empresasAlteradas();
        colunas = Company;
        break;
    case EscopoRemessa::Produto:
        chaves = ChangeJournal::produtosAlterados();
        colunas = Product;
        break;
    case EscopoRemessa::Tabela:
        return simples;
    }
    // CROSS JOIN keeps the few keys as the outer loop: each finds its rows through the table's key.
    return QStringLiteral("(%1) J CROSS JOIN %2 ON %3")
        .arg(chaves, simples, equal(colunas, alias, QStringLiteral("J")));
}

QString TDMTabelasData::nomeTabelaRemessa(const QString& tabela, int tipo) {
    switch (tipo) {
    case 0:
        return tabela + QStringLiteral("_I");
    case 1:
        return tabela + QStringLiteral("_E");
    case 2:
        return tabela + QStringLiteral("_A");
    case 3:
        return tabela;
    case 4:
        return QStringLiteral("REP_") + tabela;
    default:
        throw DbError(QStringLiteral("Tipo de tabela de remessa inválido: %1.").arg(tipo));
    }
}

QStringList TDMTabelasData::colunas(const QString& tabela) const {
    QSqlQuery query = Sql::exec(db_, QStringLiteral("SELECT name FROM pragma_table_info(:t) ORDER BY cid"),
                                {{QStringLiteral(":t"), tabela}});
    QStringList names;
    while (query.next())
        names.append(query.value(0).toString());
    if (names.isEmpty())
        throw DbError(QStringLiteral("A tabela %1 não existe.").arg(tabela));
    return names;
}

QStringList TDMTabelasData::chavePrimaria(const QString& tabela) const {
    // The live SIGNATARIOS is numbered by the database (its own key is the number alone) and keeps
    // the documented pair as a unique index; every other table has the documented key as its key.
    QSqlQuery query =
        Sql::exec(db_, QStringLiteral("SELECT name FROM pragma_table_info(:t) WHERE pk > 0 ORDER BY pk"),
                  {{QStringLiteral(":t"), tabela}});
    QStringList names;
    while (query.next())
        names.append(query.value(0).toString());
    return names;
}

QString TDMTabelasData::consulta(const TabelaRemessa& tabela, ConsultaRemessa tipo) const {
    const QStringList live = colunas(tabela.tabela());
    // The descriptor's names as the catalogue spells them; an unknown one is an error.
    const auto spelled = [&](const QStringList& names) {
        QStringList out;
        for (const QString& name : names) {
            const auto found = std::find_if(live.begin(), live.end(), [&](const QString& column) {
                return column.compare(name, Qt::CaseInsensitive) == 0;
            });
            if (found == live.end())
                throw DbError(QStringLiteral("A tabela %1 não tem a coluna %2.").arg(tabela.tabela(), name));
            out.append(*found);
        }
        return out;
    };
    const QStringList chave = spelled(tabela.chave);
    const QString L = QStringLiteral("L");
    const QString R = QStringLiteral("R");

    // The scope of the live rows (aliased L) and of the replica rows (aliased R) for exclusions.
    QString liveScope;
    QString replicaScope;
    switch (tabela.escopo) {
    case EscopoRemessa::Certificado:
        liveScope = approved(L);
        replicaScope = approved(R);
        break;
    case EscopoRemessa::Empresa:
        liveScope = usedByApproved(QStringLiteral("EMP_CERT"), Company, L);
        replicaScope = usedByApproved(QStringLiteral("REP_EMP_CERT"), Company, R);
        break;
    case EscopoRemessa::Produto:
        liveScope = QStringLiteral("(%1 OR %2 OR %3)")
                        .arg(usedByApproved(QStringLiteral("TIPO"), Product, L),
                             usedByApproved(QStringLiteral("UNIDADE"), Product, L),
                             usedByApproved(QStringLiteral("LOTE"), Product, L));
        // Lots and units are not consulted for exclusions.
        replicaScope = usedByApproved(QStringLiteral("REP_TIPO"), Product, R);
        break;
    case EscopoRemessa::Certific:
        liveScope = QStringLiteral("L.Aprovado = True");
        break;
    case EscopoRemessa::Tabela:
        break;
    }

    QStringList conditions;
    QString sql;
    switch (tipo) {
    case ConsultaRemessa::T:
        sql = QStringLiteral("SELECT %1 FROM %2 L").arg(qualified(live, L), tabela.tabela());
        conditions << liveScope;
        break;
    case ConsultaRemessa::I:
        sql = QStringLiteral("SELECT %1 FROM %2")
                  .arg(qualified(live, L), origem(tabela, tipo, tabela.tabela(), L));
        conditions << liveScope
                   << QStringLiteral("NOT EXISTS (SELECT 1 FROM %1 R WHERE %2)")
                          .arg(tabela.replica(), equal(chave, R, L));
        break;
    case ConsultaRemessa::A: {
        QStringList differs;
        for (const QString& column : spelled(tabela.comparadas))
            differs.append(QStringLiteral("L.%1 IS NOT R.%1").arg(column));
        sql = QStringLiteral("SELECT %1 FROM %2 INNER JOIN %3 R ON %4")
                  .arg(qualified(live, L), origem(tabela, tipo, tabela.tabela(), L), tabela.replica(),
                       equal(chave, R, L));
        conditions << liveScope << QLatin1Char('(') + differs.join(QStringLiteral(" OR ")) + QLatin1Char(')');
        break;
    }
    case ConsultaRemessa::E:
        sql = QStringLiteral("SELECT %1 FROM %2")
                  .arg(qualified(live, R), origem(tabela, tipo, tabela.replica(), R));
        conditions << replicaScope
                   << QStringLiteral("NOT EXISTS (SELECT 1 FROM %1 L WHERE %2)")
                          .arg(tabela.tabela(), equal(spelled(tabela.chaveE), L, R));
        break;
    }
    conditions.removeAll(QString());
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    return sql;
}

QString TDMTabelasData::contagem(const TabelaRemessa& tabela, ConsultaRemessa tipo) const {
    return QStringLiteral("SELECT count(*) FROM (%1)").arg(consulta(tabela, tipo));
}

QString TDMTabelasData::CriaTabelaRemessa(const QString& directory, const QString& tabela, int tipo) const {
    const QString nome = nomeTabelaRemessa(tabela, tipo);
    ParadoxWriter writer(QDir(directory).filePath(nome + QStringLiteral(".DB")),
                         EngineServices::paradoxFieldsOf(db_, tabela));
    writer.finish();
    return nome;
}
