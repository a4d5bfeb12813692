#include "InstalaVersao.h"

#include "Archiver.h"
#include "Backups.h"
#include "ChangeJournal.h"
#include "DbError.h"
#include "EngineServices.h"
#include "Prompts.h"
#include "Transaction.h"
#include "Versoes.h"
#include "WorkDirectory.h"

#include <QDir>

namespace {

const QString ErroAtualizacao =
    QStringLiteral("Ocorreu um Erro na Atualização.\nEntre em contato com o suporte.");

// The package's file for a table, whatever the case of its name; empty when absent.
QString fileOf(const QDir& directory, const QString& table) {
    const QString wanted = table + QStringLiteral(".DB");
    for (const QString& name : directory.entryList(QDir::Files)) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return directory.filePath(name);
    }
    return {};
}

} // namespace

int AplicaTabelasReferencia(const QSqlDatabase& db, const QString& diretorio) {
    const QDir directory(diretorio);
    int applied = 0;
    for (const QString& table : Versoes::tabelasReferencia()) {
        const QString file = fileOf(directory, table);
        if (file.isEmpty())
            continue;
        EngineServices::appendOrUpdateFromParadox(db, file, table);
        ++applied;
    }
    return applied;
}

bool InstalaVersao(const QSqlDatabase& db, const Clock& clock, Prompts& prompts,
                   const QString& diretorioRecepcao, const QString& arquivo, const QString& numero,
                   QString* detalhe) {
    auto fail = [&](const QString& why) {
        if (detalhe)
            *detalhe = why;
        prompts.error(ErroAtualizacao);
        return false;
    };
    const QDir reception(diretorioRecepcao);
    WorkDirectory unpacked(reception.path(), QStringLiteral("versao"));
    if (!unpacked.isValid())
        return fail(QStringLiteral("não foi possível criar um diretório em %1").arg(diretorioRecepcao));
    if (!DescompactaArquivo(prompts, reception.filePath(arquivo), unpacked.path()))
        return fail(QStringLiteral("o arquivo %1 não pôde ser descompactado").arg(arquivo));
    if (QDir(unpacked.path())
            .entryList({QStringLiteral("*.DB"), QStringLiteral("*.db")}, QDir::Files)
            .isEmpty())
        return fail(QStringLiteral("o arquivo %1 não contém tabelas").arg(arquivo));
    if (!Backups::beforeOrTell(db, Backups::Referencia, prompts)) {
        if (detalhe)
            *detalhe = QStringLiteral("a cópia de segurança não pôde ser feita");
        return false;
    }
    try {
        Transaction transaction(db);
        AplicaTabelasReferencia(db, unpacked.path());
        Versoes::RegistraVersao(db, clock, numero, arquivo);
        // The batch's rows name the reference tables' codes: the next one compares every row.
        ChangeJournal::marcaIncompleto(db);
        transaction.commit();
    } catch (const DbError& e) {
        return fail(e.message());
    }
    return true;
}
