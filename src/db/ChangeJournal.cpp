#include "ChangeJournal.h"

#include "Sql.h"
#include "TabelaRemessa.h"

namespace ChangeJournal {

namespace {

struct Chave {
    QString tipo;
    QStringList colunas;
};

const Chave& chaveDe(EscopoRemessa escopo) {
    static const Chave certificado{QStringLiteral("C"),
                                   {QStringLiteral("SiglaCertificador"), QStringLiteral("NumCertif")}};
    static const Chave empresa{QStringLiteral("E"),
                               {QStringLiteral("CodigoPais"), QStringLiteral("IdEmpresa")}};
    static const Chave produto{
        QStringLiteral("P"),
        {QStringLiteral("MarcaProd"), QStringLiteral("ModeloProd"), QStringLiteral("Importado")}};
    switch (escopo) {
    case EscopoRemessa::Empresa:
        return empresa;
    case EscopoRemessa::Produto:
        return produto;
    default:
        return certificado;
    }
}

// "SELECT 'C', NEW.SiglaCertificador, NEW.NumCertif" for the row `linha` (NEW or OLD).
QString entrada(const Chave& chave, const QString& linha) {
    QStringList valores{QLatin1Char('\'') + chave.tipo + QLatin1Char('\'')};
    for (const QString& coluna : chave.colunas)
        valores << linha + QLatin1Char('.') + coluna;
    return QStringLiteral("SELECT ") + valores.join(QStringLiteral(", "));
}

QString insercao(const Chave& chave) {
    QStringList colunas{QStringLiteral("Tipo")};
    for (int i = 1; i <= chave.colunas.size(); ++i)
        colunas << QStringLiteral("K%1").arg(i);
    return QStringLiteral("INSERT INTO %1 (%2) ").arg(Tabela, colunas.join(QStringLiteral(", ")));
}

// The keys of one kind in the journal, under the scope's column names (each once with `distintas`).
QString chavesDoDiario(const Chave& chave, bool distintas = false) {
    QStringList colunas;
    for (int i = 0; i < chave.colunas.size(); ++i)
        colunas << QStringLiteral("K%1 AS %2").arg(i + 1).arg(chave.colunas[i]);
    return QStringLiteral("SELECT %1%2 FROM %3 WHERE Tipo = '%4'")
        .arg(distintas ? QStringLiteral("DISTINCT ") : QString(), colunas.join(QStringLiteral(", ")), Tabela,
             chave.tipo);
}

// The items (companies, products) that the lines of the changed certificates in `linhas` name.
QString nomeadosPor(const QString& linhas, const QStringList& colunas) {
    QStringList selecionadas;
    for (const QString& coluna : colunas)
        selecionadas << QStringLiteral("X.") + coluna;
    return QStringLiteral("SELECT %1 FROM (%2) D CROSS JOIN %3 X ON X.SiglaCertificador = "
                          "D.SiglaCertificador AND X.NumCertif = D.NumCertif")
        .arg(selecionadas.join(QStringLiteral(", ")), certificadosAlterados(), linhas);
}

} // namespace

QStringList gatilhos(const TabelaRemessa& tabela) {
    if (tabela.escopo == EscopoRemessa::Tabela)
        return {};
    const Chave& chave = chaveDe(tabela.escopo);
    const QString nome = tabela.tabela();
    const QString inserir = insercao(chave);
    // A key that changes (a certificate renumbered) journals both: the old one's rows are gone.
    return {
        QStringLiteral("DROP TRIGGER IF EXISTS %1_ALTERACAO_I").arg(nome),
        QStringLiteral("CREATE TRIGGER %1_ALTERACAO_I AFTER INSERT ON %1 BEGIN %2%3; END")
            .arg(nome, inserir, entrada(chave, QStringLiteral("NEW"))),
        QStringLiteral("DROP TRIGGER IF EXISTS %1_ALTERACAO_A").arg(nome),
        QStringLiteral("CREATE TRIGGER %1_ALTERACAO_A AFTER UPDATE ON %1 BEGIN %2%3 UNION %4; END")
            .arg(nome, inserir, entrada(chave, QStringLiteral("OLD")), entrada(chave, QStringLiteral("NEW"))),
        QStringLiteral("DROP TRIGGER IF EXISTS %1_ALTERACAO_E").arg(nome),
        QStringLiteral("CREATE TRIGGER %1_ALTERACAO_E AFTER DELETE ON %1 BEGIN %2%3; END")
            .arg(nome, inserir, entrada(chave, QStringLiteral("OLD"))),
    };
}

QStringList instalacao() {
    // No index but the row id: a trigger's append is the cheapest write there is; the preparation
    // reads the journal whole, once per kind.
    QStringList sql{
        QStringLiteral(
            "CREATE TABLE IF NOT EXISTS %1 (Id INTEGER PRIMARY KEY, Tipo CHAR(1) NOT NULL, K1, K2, K3)")
            .arg(Tabela),
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (NumeroRemessa VARCHAR(10) NOT NULL PRIMARY KEY, "
                       "UltimaAlteracao INTEGER NOT NULL)")
            .arg(TabelaRemessas),
    };
    for (const TabelaRemessa& tabela : TabelasRemessa())
        sql << gatilhos(tabela);
    return sql;
}

void marcaIncompleto(const QSqlDatabase& db) {
    Sql::execute(db, QStringLiteral("INSERT INTO %1 (Tipo) VALUES ('X')").arg(Tabela));
}

bool incompleto(const QSqlDatabase& db) {
    return Sql::scalar(db, QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1 WHERE Tipo = 'X')").arg(Tabela))
        .toBool();
}

qint64 entradas(const QSqlDatabase& db) {
    return Sql::scalar(db, QStringLiteral("SELECT count(*) FROM %1").arg(Tabela)).toLongLong();
}

qint64 ultimaAlteracao(const QSqlDatabase& db) {
    return Sql::scalar(db, QStringLiteral("SELECT coalesce(max(Id), 0) FROM %1").arg(Tabela)).toLongLong();
}

void registraRemessa(const QSqlDatabase& db, const QString& numeroRemessa, qint64 ultima) {
    Sql::execute(db,
                 QStringLiteral("INSERT OR REPLACE INTO %1 (NumeroRemessa, UltimaAlteracao) VALUES (:n, :u)")
                     .arg(TabelaRemessas),
                 {{QStringLiteral(":n"), numeroRemessa}, {QStringLiteral(":u"), ultima}});
}

void limpaAteRemessa(const QSqlDatabase& db, const QString& numeroRemessa) {
    const QVariant ultima = Sql::scalar(
        db, QStringLiteral("SELECT UltimaAlteracao FROM %1 WHERE NumeroRemessa = :n").arg(TabelaRemessas),
        {{QStringLiteral(":n"), numeroRemessa}});
    if (!ultima.isNull()) {
        // Nothing written since the preparation (the usual case): emptied whole, which SQLite does
        // without visiting the rows.
        if (ultimaAlteracao(db) <= ultima.toLongLong())
            Sql::execute(db, QStringLiteral("DELETE FROM %1").arg(Tabela));
        else
            Sql::execute(db, QStringLiteral("DELETE FROM %1 WHERE Id <= :u").arg(Tabela),
                         {{QStringLiteral(":u"), ultima}});
    }
    // The records of this batch and of those cancelled or refused before it serve no more.
    Sql::execute(db, QStringLiteral("DELETE FROM %1 WHERE NumeroRemessa <= :n").arg(TabelaRemessas),
                 {{QStringLiteral(":n"), numeroRemessa}});
}

QString certificadosAlterados() {
    return chavesDoDiario(chaveDe(EscopoRemessa::Certificado), true);
}

QString empresasAlteradas() {
    const QStringList colunas = chaveDe(EscopoRemessa::Empresa).colunas;
    // UNION keeps each company once.
    return QStringList{chavesDoDiario(chaveDe(EscopoRemessa::Empresa)),
                       nomeadosPor(QStringLiteral("EMP_CERT"), colunas),
                       nomeadosPor(QStringLiteral("REP_EMP_CERT"), colunas)}
        .join(QStringLiteral(" UNION "));
}

QString produtosAlterados() {
    const QStringList colunas = chaveDe(EscopoRemessa::Produto).colunas;
    // The lines that bring a product into a batch (types, units, lots), and the replica of the
    // types, through which one leaves it.
    return QStringList{
        chavesDoDiario(chaveDe(EscopoRemessa::Produto)), nomeadosPor(QStringLiteral("TIPO"), colunas),
        nomeadosPor(QStringLiteral("UNIDADE"), colunas), nomeadosPor(QStringLiteral("LOTE"), colunas),
        nomeadosPor(QStringLiteral("REP_TIPO"), colunas)}
        .join(QStringLiteral(" UNION "));
}

} // namespace ChangeJournal
