#pragma once

#include "FtpClient.h"

#include <QString>
#include <QTime>
#include <atomic>
#include <functional>

// Fetching a batch's result archive from the authority's FTP server into the synchronisation
// directory: the names of the result directory are listed, the batch's "-OK.ZIP" (else its
// "-NO.ZIP") is looked for without regard to letter case, and downloaded under the name as the
// server lists it. It touches no database, so a screen may run it on a worker thread while its
// window keeps painting; every log line goes through `log` as it happens.
class BuscaResultado {
public:
    enum class Desfecho {
        Obtido,        // the result archive is in the synchronisation directory
        NaoEncontrado, // no result on the server yet: nothing to record
        Falhou,        // the listing or the download failed
        Interrompido,
    };
    struct Resultado {
        Desfecho desfecho = Desfecho::Falhou;
        QString arquivo; // the result archive's name as listed (empty when none)
        QString caminho; // where it was downloaded
        QString motivo;  // why it failed
    };
    struct Avisos {
        std::function<void(const QString& linha)> log;
        std::function<void(const QString& arquivo)> encontrado; // EdArquivoDownload, CkInformacoes
        std::function<void(qint64 feito, qint64 total)> progresso;
        std::function<void()> transferido; // CkTransferencia
    };

    BuscaResultado(QString usuario, QString diretorioSincronizacao);
    void setAvisos(Avisos avisos) { avisos_ = std::move(avisos); }

    // Any thread: stops the search or the transfer at its next step.
    void interrompe();
    bool interrompido() const { return interrompido_; }

    Resultado busca(const FtpEndpoint& endpoint, const QString& diretorio, const QString& arquivoRemessa);

    // The times of the log ("Hora inicio: ", "Hora fim: ").
    static QString hora(const QTime& time);

private:
    void log(const QString& linha) const;

    QString usuario_;
    QString sincronizacao_;
    Avisos avisos_;
    std::atomic<bool> interrompido_{false};
    std::atomic<FtpClient*> ftp_{nullptr};
};
