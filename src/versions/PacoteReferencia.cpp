#include "PacoteReferencia.h"

#include "Archiver.h"
#include "DbError.h"
#include "EngineServices.h"
#include "Versoes.h"

#include <QDir>
#include <QTemporaryDir>

QString escrevePacoteReferencia(const QSqlDatabase& db, Prompts& prompts, const QString& diretorio,
                                const QString& numero, const QStringList& tabelas, const QString& senha) {
    QTemporaryDir work;
    if (!work.isValid())
        throw DbError(QStringLiteral("não foi possível criar um diretório temporário"));
    QStringList files;
    for (const QString& table : tabelas) {
        const QString path = EngineServices::createParadoxFromTable(db, table, work.path(),
                                                                    table + QStringLiteral(".DB"), senha);
        EngineServices::appendQueryToParadox(db, QStringLiteral("SELECT * FROM %1").arg(table), {}, path);
        files << path;
    }
    const QString archive = QDir(diretorio).filePath(Versoes::nomeArquivo(numero));
    if (!CompactaArquivos(prompts, files, archive))
        throw DbError(QStringLiteral("o pacote %1 não pôde ser criado").arg(archive));
    return archive;
}
