#include "EnvioTXT.h"

#include "DbError.h"
#include "Files.h"
#include "SharedBatchState.h"
#include "Sql.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace EnvioTXT {

QString Registro::ArquivoEnviado() const {
    return EnviadoKAVOREL == QLatin1String("S") ? QStringLiteral("Sim") : QStringLiteral("Não");
}

QString mascara(const QString& siglaCertificador) {
    return QStringLiteral("TX-") + siglaCertificador + QStringLiteral("*.txt");
}

QStringList arquivosElegiveis(const QString& diretorio, const QString& siglaCertificador) {
    QStringList names;
    if (siglaCertificador.isEmpty() || diretorio.isEmpty())
        return names;
    for (const QString& path : filesMatching(diretorio, mascara(siglaCertificador)))
        names << QFileInfo(path).fileName();
    return names;
}

bool ehElegivel(const QString& nomeArquivo, const QString& siglaCertificador) {
    if (siglaCertificador.isEmpty())
        return false;
    const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QRegularExpression::wildcardToRegularExpression(
            mascara(siglaCertificador), QRegularExpression::UnanchoredWildcardConversion)),
        QRegularExpression::CaseInsensitiveOption);
    return pattern.match(nomeArquivo).hasMatch();
}

QString registrosSql() {
    return QStringLiteral("SELECT * FROM CONTROLE_TXT");
}

QList<Registro> registros(const QSqlDatabase& db) {
    QList<Registro> rows;
    QSqlQuery query = Sql::exec(
        db, QStringLiteral("SELECT NomeArquivo, DataHoraEvento, UsuResp, EnviadoKAVOREL FROM CONTROLE_TXT"));
    while (query.next())
        rows.append({query.value(0).toString(), query.value(1).toDateTime(), query.value(2).toString(),
                     query.value(3).toString()});
    return rows;
}

bool jaRegistrado(const QSqlDatabase& db, const QString& nomeArquivo) {
    try {
        QSqlQuery query =
            Sql::exec(db, QStringLiteral("SELECT * FROM CONTROLE_TXT WHERE NOMEARQUIVO = :nome"),
                      {{QStringLiteral(":nome"), nomeArquivo}});
        return query.next();
    } catch (const DbError&) {
        return false;
    }
}

QString problemaNome(const QString& nomeArquivo) {
    if (nomeArquivo.size() <= TamanhoMaximoNome)
        return {};
    return QStringLiteral("O nome do arquivo %1 tem %2 caracteres, mais do que os %3 que o registro de "
                          "arquivos enviados guarda. Renomeie o arquivo com no máximo %3 caracteres e "
                          "tente de novo.")
        .arg(nomeArquivo)
        .arg(nomeArquivo.size())
        .arg(TamanhoMaximoNome);
}

QString problemaEnvio(const QSqlDatabase& db, const QString& nomeArquivo) {
    if (nomeArquivo.isEmpty())
        return QStringLiteral("Por favor selecione um arquivo");
    if (const QString problema = problemaNome(nomeArquivo); !problema.isEmpty())
        return problema;
    if (jaRegistrado(db, nomeArquivo))
        return QStringLiteral("O arquivo ") + nomeArquivo +
               QStringLiteral(" já foi enviado e processado no KAVOREL.");
    return {};
}

void carregaEstado(SharedBatchState& state, const QSqlDatabase& db, const LoggedUser& user,
                   const QString& diretorio) {
    state.load(db, user);
    state.DirLocalTransf = SharedBatchState::withTrailingSlash(diretorio);
}

} // namespace EnvioTXT
