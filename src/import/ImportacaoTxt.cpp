#include "ImportacaoTxt.h"

#include "Backups.h"
#include "CodigosReferencia.h"
#include "DbError.h"
#include "HistoricoImportacao.h"
#include "LogImportacao.h"
#include "Prompts.h"
#include "Sql.h"
#include "TArquivoImportacao.h"
#include "Transaction.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <memory>
#include <vector>

ImportacaoTxt::ImportacaoTxt(Parametros parametros) : p_(std::move(parametros)) {}

QStringList ImportacaoTxt::arquivosDoDiretorio(const QString& diretorio) {
    return QDir(diretorio).entryList({MascaraArquivos}, QDir::Files, QDir::Name);
}

QString ImportacaoTxt::siglaDoNome(const QString& nomeArquivo) {
    const qsizetype tamanho = nomeArquivo.size() - 17;
    return tamanho > 0 ? nomeArquivo.mid(3, tamanho) : QString();
}

QString ImportacaoTxt::validaSigla(const QString& nomeArquivo) {
    const QString origem = p_.origem.toUpper();
    QString tabela;
    if (origem == QLatin1String("MODULOOCC"))
        tabela = QStringLiteral("config_local");
    else if (origem == QLatin1String("KAVORELCERTIFICACAO"))
        tabela = QStringLiteral("Certificador");
    if (tabela.isEmpty()) {
        p_.prompts->information(QStringLiteral(
            "Não foi possível validar a sigla do Certificador a tabela de pesquiza não foi informada"));
        return {};
    }
    QString sigla;
    try {
        QSqlQuery query = Sql::exec(p_.db,
                                    QStringLiteral("Select * from ") + tabela +
                                        QStringLiteral(" where siglacertificador = :p1"),
                                    {{QStringLiteral(":p1"), siglaDoNome(nomeArquivo)}});
        if (query.next())
            sigla = query.value(QStringLiteral("SiglaCertificador")).toString();
    } catch (const DbError&) {
    }
    if (sigla.isEmpty())
        p_.prompts->information(QStringLiteral(
            "Não foi possível validar a sigla do Certificador informada no nome do arquivo txt"));
    return sigla;
}

ResultadoArquivo ImportacaoTxt::importaArquivo(const QString& diretorio, const QString& arquivo) {
    ResultadoArquivo resultado{arquivo, SituacaoArquivo::Recusado, {}};
    const QString sigla = validaSigla(arquivo);
    if (sigla.isEmpty())
        return resultado;
    if (VerificacoesImportacao::jaImportado(p_.db, arquivo)) {
        p_.prompts->information(QStringLiteral("Existe registro de importação para ") + arquivo);
        return resultado;
    }

    // Each file starts with empty logs, so the logs kept for a failed file are its own.
    LogImportacao log(diretorio);
    log.apaga();
    ConsultasPreparadas consultas(p_.db);
    CodigosReferencia referencias;
    try {
        referencias = CodigosReferencia::carrega(p_.db);
    } catch (const DbError& e) {
        log.logBD(e.message()); // no code is known, so every record with one is refused
    }
    const ContextoImportacao ctx{p_.db, sigla,      p_.usuario, p_.clock,
                                 &log,  p_.prompts, &consultas, &referencias};
    TArquivoImportacao leitor(ctx);
    if (acomp_.aviso)
        leitor.aoAvisar(acomp_.aviso);
    if (!leitor.Open(QDir(diretorio).filePath(arquivo))) {
        p_.prompts->information(QStringLiteral("Erro ao tentar abrir o arquivo!"));
        return resultado;
    }
    if (acomp_.inicioArquivo)
        acomp_.inicioArquivo(arquivo, leitor.numeroLinhas());

    bool falhou = false;
    QList<ChaveCertificadoTxt> certificados; // of the rows this file wrote, in order of first writing
    QSet<ChaveCertificadoTxt> vistos;
    int gravados = 0;
    try {
        Transaction transacao(p_.db);
        std::vector<std::unique_ptr<TDataStruct>> lote;
        const auto processaLote = [&] {
            QStringList itens;
            for (const auto& r : lote) {
                itens << r->estrutura().classe +
                             (r->valido() ? QStringLiteral("-OK") : QStringLiteral("-NO"));
                if (!r->valido())
                    falhou = true;
            }
            if (acomp_.lote)
                acomp_.lote(itens);
            if (acomp_.camposDoLote) {
                QList<QStringList> campos;
                for (const auto& r : lote)
                    campos << r->campos();
                acomp_.camposDoLote(campos);
            }
            for (const auto& r : lote) {
                if (falhou)
                    break; // an earlier failure: the rest of the file is only read and checked
                const TDataStruct::Gravacao g = r->GravaRegistro(ctx);
                bool ok = g.sucesso;
                if (ok && g.inserido)
                    ok = HistoricoImportacao::geraInclusao(ctx, *r);
                if (ok)
                    ok = HistoricoImportacao::registraControle(ctx, *r, g.inserido);
                if (!ok) {
                    falhou = true;
                    continue;
                }
                const QString num = r->valor(QStringLiteral("Numcertif"));
                if (!num.isEmpty()) {
                    const ChaveCertificadoTxt chave{r->valor(QStringLiteral("SiglaCertificador")), num};
                    if (!vistos.contains(chave)) {
                        vistos.insert(chave);
                        certificados << chave;
                    }
                }
                if (acomp_.registroGravado)
                    acomp_.registroGravado(++gravados, int(lote.size()));
            }
            lote.clear();
        };
        while (!leitor.fimDeArquivo()) {
            if (auto registro = leitor.LeProximoRegistro())
                lote.push_back(std::move(registro));
            if (acomp_.linhaLida)
                acomp_.linhaLida(leitor.linhaAtual());
            if (int(lote.size()) == RegistrosPorLote)
                processaLote();
        }
        if (!lote.empty())
            processaLote();

        if (!falhou)
            falhou = !VerificacoesImportacao::atualizacoesJustificadas(ctx) ||
                     !VerificacoesImportacao::empresasVinculadas(ctx) ||
                     !VerificacoesImportacao::paisExistem(ctx, certificados) ||
                     !VerificacoesImportacao::registraArquivo(ctx, arquivo);
        if (!falhou) {
            if (acomp_.atualizacaoConcluida)
                acomp_.atualizacaoConcluida();
            VerificacoesImportacao::marcaCompletos(ctx, certificados, p_.podeAprovar, [&](int n) {
                if (acomp_.certificadoVisto)
                    acomp_.certificadoVisto(n, int(certificados.size()));
            });
            if (acomp_.certificadosConcluidos)
                acomp_.certificadosConcluidos();
            transacao.commit();
        } else {
            transacao.rollback();
        }
    } catch (const DbError& e) {
        // The transaction is rolled back by now.
        log.logBD(e.message());
        falhou = true;
    }
    leitor.Close();

    if (!falhou) {
        resultado.situacao = SituacaoArquivo::Importado;
        p_.prompts->information(QStringLiteral("Importação dos dados do arquivo ") + arquivo +
                                QStringLiteral(" concluída com sucesso"));
        return resultado;
    }
    resultado.situacao = SituacaoArquivo::Falhou;
    p_.prompts->information(QStringLiteral("Ocorreu erro na importação dos dados do arquivo ") + arquivo);
    resultado.logsDeErro = log.guardaComoErro(arquivo.left(arquivo.size() - 4));
    falhas_ << resultado.logsDeErro;
    return resultado;
}

QList<ResultadoArquivo> ImportacaoTxt::importa(const QString& diretorio, const QStringList& arquivos) {
    falhas_.clear();
    QList<ResultadoArquivo> resultados;
    if (!Backups::beforeOrTell(p_.db, Backups::Importacao, *p_.prompts)) {
        for (const QString& arquivo : arquivos)
            resultados << ResultadoArquivo{arquivo, SituacaoArquivo::Recusado, {}};
        return resultados;
    }
    bool algumFalhou = false;
    for (const QString& arquivo : arquivos) {
        resultados << importaArquivo(diretorio, arquivo);
        algumFalhou = algumFalhou || resultados.last().situacao == SituacaoArquivo::Falhou;
    }
    if (algumFalhou)
        p_.prompts->information(
            QStringLiteral("Ocorreram erros no processamento do(s) arquivo(s) TXT clique no "
                           "botão ERROS DE IMPORTAÇÃO para procedimentos de correção"));
    LogImportacao(diretorio).apaga();
    return resultados;
}

void ImportacaoTxt::mostraErros() {
    if (p_.origem.toUpper() != QLatin1String("MODULOOCC") || falhas_.isEmpty())
        return;
    p_.prompts->information(
        QStringLiteral("Ocorreram erros na IMPORTAÇÃO do(s) arquivo(s) TXT(s) e a rotina gerou "
                       "o(s) arquivo(s) ") +
        falhas_.join(QStringLiteral(", ")) +
        QStringLiteral(", no mesmo diretório do(s) arquivos TXT processados."));
}
