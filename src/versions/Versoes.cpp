#include "Versoes.h"

#include <QDir>
#include <QFileInfo>

#include "Clock.h"
#include "Sql.h"

#include <algorithm>

namespace Versoes {

const QStringList& tabelasReferencia() {
    static const QStringList tables = {
        QStringLiteral("PAIS"),
        QStringLiteral("PAPEL_EMP"),
        QStringLiteral("CLASSE_P"),
        QStringLiteral("CLASSE_S"),
        QStringLiteral("CLASSE_C"),
        QStringLiteral("UF"),
        QStringLiteral("TIPO_DOC"),
        QStringLiteral("DOC_NORMATIVOS_SERV"),
        QStringLiteral("CREDENCIAMENTO_SERV"),
        QStringLiteral("OBRIG_SERVICO"),
        QStringLiteral("CREDENCIAMENTO"),
        QStringLiteral("DOC_NORMATIVOS"),
    };
    return tables;
}

QString nomeArquivo(const QString& numeroVersao) {
    return QStringLiteral("OC-TAB-") + numeroVersao + QStringLiteral(".zip");
}

QString numeroDe(const QString& nomeArquivo) {
    return nomeArquivo.mid(7, 10);
}

namespace {

// Characters `from` (1-based) .. `from + count - 1` as a number, or -1.
int numberAt(const QString& name, int from, int count) {
    const QString part = name.mid(from - 1, count);
    if (part.size() != count)
        return -1;
    for (QChar c : part) {
        if (!c.isDigit() || c.unicode() > 127)
            return -1;
    }
    return part.toInt();
}

} // namespace

bool VersaoMaisNova(const QString& referencia, const QString& candidato) {
    static const int parts[][2] = {{8, 4}, {12, 2}, {14, 2}, {16, 2}};
    int old[4], candidate[4];
    for (int i = 0; i < 4; ++i) {
        old[i] = numberAt(referencia, parts[i][0], parts[i][1]);
        candidate[i] = numberAt(candidato, parts[i][0], parts[i][1]);
        if (old[i] < 0 || candidate[i] < 0)
            return false; // every part must be a number, wherever the names differ
    }
    return std::lexicographical_compare(old, old + 4, candidate, candidate + 4);
}

bool nomeDeVersao(const QString& nome) {
    return nome.size() == 21 && nome.startsWith(QLatin1String("OC-TAB-"), Qt::CaseInsensitive) &&
           nome.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive) && numberAt(nome, 8, 4) >= 0 &&
           numberAt(nome, 12, 6) >= 0; // ten digits, read in two parts to stay within an int
}

QString maisNova(const QString& referencia, const QStringList& nomes) {
    QString best = referencia;
    for (const QString& nome : nomes) {
        if (nomeDeVersao(nome) && VersaoMaisNova(best, nome))
            best = nome;
    }
    return best;
}

VersaoInstalada versaoInstalada(const QSqlDatabase& db) {
    QSqlQuery query = Sql::exec(db, QStringLiteral("SELECT NumeroVersao, NomeArquivo FROM CONTROLE_AUX "
                                                   "ORDER BY DataHoraVersao DESC, rowid DESC LIMIT 1"));
    VersaoInstalada installed;
    if (query.next()) {
        installed.numero = query.value(0).toString();
        installed.arquivo = query.value(1).toString();
    }
    return installed;
}

QString problemaRecepcao(const QString& diretorioRecepcao) {
    if (!diretorioRecepcao.isEmpty() && QDir(diretorioRecepcao).exists())
        return {};
    return QStringLiteral("O diretório de recepção das tabelas auxiliares não existe: \"%1\". "
                          "Verifique as configurações do Sistema.")
        .arg(diretorioRecepcao);
}

bool arquivoNaRecepcao(const QString& diretorioRecepcao, const QString& arquivo) {
    return !diretorioRecepcao.isEmpty() && !arquivo.isEmpty() &&
           QFileInfo(QDir(diretorioRecepcao).filePath(arquivo)).isFile();
}

void RegistraVersao(const QSqlDatabase& db, const Clock& clock, const QString& numero,
                    const QString& arquivo) {
    Sql::exec(db,
              QStringLiteral("INSERT INTO CONTROLE_AUX (DataHoraVersao, NumeroVersao, NomeArquivo) "
                             "VALUES (:quando, :numero, :arquivo)"),
              {{QStringLiteral(":quando"), clock.now()},
               {QStringLiteral(":numero"), numero},
               {QStringLiteral(":arquivo"), arquivo}});
}

namespace {

QList<Instalacao> installations(const QSqlDatabase& db, const QString& order) {
    QSqlQuery query = Sql::exec(
        db, QStringLiteral("SELECT DataHoraVersao, NumeroVersao, NomeArquivo FROM CONTROLE_AUX ORDER BY ") +
                order);
    QList<Instalacao> rows;
    while (query.next())
        rows.append({query.value(0).toDateTime(), query.value(1).toString(), query.value(2).toString()});
    return rows;
}

} // namespace

QList<Instalacao> historico(const QSqlDatabase& db) {
    return installations(db, QStringLiteral("DataHoraVersao DESC, rowid DESC"));
}

QList<Instalacao> porVersao(const QSqlDatabase& db) {
    return installations(db, QStringLiteral("NumeroVersao DESC, DataHoraVersao DESC"));
}

} // namespace Versoes
