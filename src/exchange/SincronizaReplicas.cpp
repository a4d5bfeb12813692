#include "SincronizaReplicas.h"

#include "Archiver.h"
#include "BatchControl.h"
#include "DbError.h"
#include "EngineServices.h"
#include "Session.h"
#include "SharedBatchState.h"
#include "Sql.h"
#include "WorkDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {

// Rows between two progress reports inside one table.
constexpr int LinhasPorAviso = 512;

EngineServices::RowTick tickDe(const std::function<void(qint64)>& linhas, qint64 base) {
    if (!linhas)
        return {};
    return {LinhasPorAviso, [linhas, base](int rows) { linhas(base + rows); }};
}

} // namespace

SincronizaReplicas::SincronizaReplicas(Session& session, const SharedBatchState& state)
    : session_(session), state_(state) {}

bool SincronizaReplicas::nomeSimples(const QString& entrada) {
    return !entrada.isEmpty() && !entrada.contains(QLatin1Char('/')) &&
           !entrada.contains(QLatin1Char('\\')) && entrada != QLatin1String(".") &&
           entrada != QLatin1String("..") && !entrada.contains(QLatin1Char(':'));
}

void SincronizaReplicas::EsvaziaReplica(const QSqlDatabase& db, const QString& replica) {
    Sql::execute(db, QStringLiteral("Delete from ") + replica);
}

qint64 SincronizaReplicas::AplicaArquivoReplica(const QSqlDatabase& db, const QString& arquivo,
                                                const QString& replica, int tipo,
                                                const std::function<void(qint64)>& linhas) {
    qint64 feitas = 0;
    if (tipo == Exclusoes || tipo == Alteracoes)
        feitas += EngineServices::removeByKeyFromParadox(db, arquivo, replica, tickDe(linhas, feitas));
    if (tipo == Inclusoes || tipo == Alteracoes)
        feitas += EngineServices::appendParadoxToTable(db, arquivo, replica, tickDe(linhas, feitas));
    return feitas;
}

qint64 SincronizaReplicas::RecarregaReplica(const QSqlDatabase& db, const QString& arquivo,
                                            const QString& replica,
                                            const std::function<void(qint64)>& linhas) {
    EsvaziaReplica(db, replica);
    return EngineServices::appendParadoxToTable(db, arquivo, replica, tickDe(linhas, 0));
}

SincronizaReplicas::Resultado SincronizaReplicas::run(const QString& arquivoRemessa,
                                                      const QString& tipoRemessa,
                                                      const SincronizacaoProgressoFn& progresso) {
    Resultado resultado;
    const auto falha = [&resultado](Falha qual, const QString& detalhe) {
        resultado.falha = qual;
        resultado.detalhe = detalhe;
        return resultado;
    };
    try {
        if (tipoRemessa != BatchTypes::Parcial && tipoRemessa != BatchTypes::Completa)
            return falha(Falha::Excecao,
                         QStringLiteral("Tipo de remessa desconhecido: \"%1\".").arg(tipoRemessa));
        const QString arquivo = QDir(state_.DirLocalTransf).filePath(arquivoRemessa);
        if (arquivoRemessa.isEmpty() || !QFileInfo(arquivo).isFile())
            return falha(Falha::Descompactacao, QStringLiteral("O arquivo da remessa %1 não foi encontrado.")
                                                    .arg(QDir::toNativeSeparators(arquivo)));

        // Exactly what the archive lists, and only plain names.
        QStringList entradas;
        if (!ConteudoArquivo(arquivo, entradas))
            return falha(Falha::Descompactacao, QStringLiteral("O arquivo da remessa não pôde ser lido."));
        for (const QString& entrada : entradas)
            if (!nomeSimples(entrada))
                return falha(
                    Falha::Descompactacao,
                    QStringLiteral("O arquivo da remessa contém uma entrada inválida: \"%1\".").arg(entrada));

        // A copy is unpacked into a fresh directory, removed in every case.
        if (!QDir().mkpath(state_.DirLocalSincr))
            return falha(Falha::Descompactacao,
                         QStringLiteral("O diretório de sincronização %1 não pôde ser criado.")
                             .arg(QDir::toNativeSeparators(state_.DirLocalSincr)));
        WorkDirectory trabalho(state_.DirLocalSincr, QStringLiteral("sincroniza"));
        if (!trabalho.isValid())
            return falha(Falha::Descompactacao,
                         QStringLiteral("O diretório de trabalho não pôde ser criado em %1.")
                             .arg(QDir::toNativeSeparators(state_.DirLocalSincr)));
        if (!DescompactaEmDiretorioVazio(session_.prompts(), arquivo, trabalho.path()))
            return falha(Falha::Descompactacao,
                         QStringLiteral("O arquivo da remessa não pôde ser descompactado."));

        // The listed tables by their upper-case name (the batch spells "Status_C_A.DB", a copy
        // made elsewhere may not).
        QHash<QString, QString> tabelas;
        for (const QString& entrada : entradas)
            if (entrada.endsWith(QLatin1String(".DB"), Qt::CaseInsensitive))
                tabelas.insert(entrada.toUpper(), QDir(trabalho.path()).filePath(entrada));
        if (tabelas.isEmpty())
            return falha(Falha::SemTabelas, QStringLiteral("O arquivo da remessa não contém tabelas."));

        const QSqlDatabase db = session_.database();
        const bool parcial = tipoRemessa == BatchTypes::Parcial;
        const QList<TabelaRemessa>& lista = TabelasRemessa();
        for (int i = 0; i < lista.size(); ++i) {
            const TabelaRemessa& tabela = lista[i];
            SincronizacaoProgresso andamento{i + 1, tabela.Nome, 0};
            if (progresso)
                progresso(andamento);
            const auto linhas = [&](qint64 feitas) {
                andamento.linhas = feitas;
                if (progresso)
                    progresso(andamento);
            };
            const auto arquivoDe = [&](const char* sufixo) {
                return tabelas.value((tabela.Nome + QLatin1String(sufixo) + QLatin1String(".DB")).toUpper());
            };
            // E, then I, then A (remove the old versions, append the new ones); or the reload.
            struct Passo {
                const char* sufixo;
                int tipo;
            };
            const QList<Passo> passos =
                parcial ? QList<Passo>{{"_E", Exclusoes}, {"_I", Inclusoes}, {"_A", Alteracoes}}
                        : QList<Passo>{{"_I", -1}};
            for (const Passo& passo : passos) {
                const QString origem = arquivoDe(passo.sufixo);
                if (origem.isEmpty())
                    continue;
                try {
                    resultado.linhas +=
                        passo.tipo < 0
                            ? RecarregaReplica(db, origem, tabela.replica(), linhas)
                            : AplicaArquivoReplica(db, origem, tabela.replica(), passo.tipo, linhas);
                    ++resultado.tabelasAplicadas;
                } catch (const DbError& error) {
                    return falha(Falha::Aplicacao,
                                 QStringLiteral("%1: %2").arg(QFileInfo(origem).fileName(), error.message()));
                }
            }
        }
        return resultado;
    } catch (const DbError& error) {
        return falha(Falha::Excecao, error.message());
    } catch (const std::exception& error) {
        return falha(Falha::Excecao, QString::fromLocal8Bit(error.what()));
    }
}

void SincronizaReplicas::removeArquivoRemessa(const QString& arquivoRemessa) const {
    if (arquivoRemessa.isEmpty())
        return;
    const QString arquivo = QDir(state_.DirLocalTransf).filePath(arquivoRemessa);
    if (QFileInfo(arquivo).isFile())
        QFile::remove(arquivo);
}
