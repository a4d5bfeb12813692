#include "BuscaResultado.h"

#include "Formats.h"
#include "ResultadoRemessa.h"

#include <QDir>
#include <QFileInfo>

BuscaResultado::BuscaResultado(QString usuario, QString diretorioSincronizacao)
    : usuario_(std::move(usuario)), sincronizacao_(std::move(diretorioSincronizacao)) {}

void BuscaResultado::interrompe() {
    interrompido_ = true;
    if (FtpClient* client = ftp_.load())
        client->abort();
}

QString BuscaResultado::hora(const QTime& time) {
    return time.toString(QStringLiteral("HH:mm:ss"));
}

void BuscaResultado::log(const QString& linha) const {
    if (avisos_.log)
        avisos_.log(linha);
}

BuscaResultado::Resultado BuscaResultado::busca(const FtpEndpoint& endpoint, const QString& diretorio,
                                                const QString& arquivoRemessa) {
    Resultado resultado;
    const auto interrompida = [&resultado] {
        resultado.desfecho = Desfecho::Interrompido;
        return resultado;
    };
    const auto falhou = [&](const FtpResult& ftp) {
        resultado.desfecho = Desfecho::Falhou;
        resultado.motivo = ftp.reason();
        log(QStringLiteral("Transferência de resultado não realizada: ") + resultado.motivo +
            QLatin1Char('.'));
        log(resultado.motivo);
        return resultado;
    };

    FtpClient client(endpoint);
    ftp_ = &client;
    struct Release {
        std::atomic<FtpClient*>& slot;
        ~Release() { slot = nullptr; }
    } release{ftp_};
    if (interrompido_)
        return interrompida();

    QStringList nomes;
    const FtpResult listado = client.list(diretorio, nomes);
    if (interrompido_)
        return interrompida();
    if (!listado.ok())
        return falhou(listado);

    resultado.arquivo = ResultadoRemessa::encontra(nomes, arquivoRemessa);
    if (resultado.arquivo.isEmpty()) {
        resultado.desfecho = Desfecho::NaoEncontrado;
        log(ResultadoRemessa::textoNaoRecebido());
        return resultado;
    }
    if (avisos_.encontrado)
        avisos_.encontrado(resultado.arquivo);
    log(QStringLiteral("Usuário Responsável : ") + usuario_);
    const QTime inicio = QTime::currentTime();
    log(QStringLiteral("Hora inicio: ") + hora(inicio));

    // Downloaded under the name the server gave.
    QDir().mkpath(sincronizacao_);
    resultado.caminho = QDir(sincronizacao_).filePath(resultado.arquivo);
    qint64 informado = 0;
    client.setProgress([this, &informado](qint64 feito, qint64 total) {
        informado = std::max(informado, total);
        if (avisos_.progresso)
            avisos_.progresso(feito, total);
    });
    const FtpResult baixado = client.download(diretorio, resultado.arquivo, resultado.caminho);
    const qint64 bytes = QFileInfo(resultado.caminho).size();
    if (baixado.ok() && informado == 0)
        informado = bytes; // the server did not announce a size
    log(QStringLiteral("Tamanho do arquivo : %1 bytes").arg(informado));
    if (interrompido_ || baixado.failure == FtpResult::Failure::Aborted)
        return interrompida();
    if (!baixado.ok())
        return falhou(baixado);

    const QTime fim = QTime::currentTime();
    if (avisos_.transferido)
        avisos_.transferido();
    log(QStringLiteral("Hora fim: ") + hora(fim));
    log(QStringLiteral("Bytes transferidos: %1").arg(bytes));
    log(QStringLiteral("Taxa de transferência: ") + TaxaTransferencia(bytes, inicio, fim) +
        QStringLiteral(" bytes/seg"));
    resultado.desfecho = Desfecho::Obtido;
    return resultado;
}
