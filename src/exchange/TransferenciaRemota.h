#pragma once

#include "EntregaArquivo.h"
#include "FtpClient.h"
#include "SmtpClient.h"

#include <QDateTime>
#include <QString>
#include <atomic>
#include <functional>

class Session;
struct SharedBatchState;

// The delivery of a file over the network: uploaded by FTP to the directory of EndKavorelEnvio
// ("Transfere Arquivo"), or mailed through the certifier's SMTP server ("Transfere Arquivo via
// E-MAIL"). It runs in three steps so that a screen keeps painting while the server works:
//
//   inicia()    the screen's thread: settings, packing of a text file, the file's size, the
//               first lines of the log;
//   transfere() any thread (a worker): the connection and the transfer, no database, no boxes;
//   conclui()   the screen's thread: the closing lines of the log and, on success, the record.
//
// executa() runs the three in a row (the companion). The log is the result memo's lines, in order,
// given one by one to Avisos::linha; boxes go through the session's prompts.
class TransferenciaRemota {
public:
    struct Avisos {
        std::function<void(const QString& linha)> linha;           // steps 1 and 3
        std::function<void(qint64 feito, qint64 total)> progresso; // step 2, the worker's thread
        std::function<void()> conectado;                           // step 2, the worker's thread
    };

    enum class Desfecho {
        NaoIniciada,   // refused before the transfer (file missing, settings): a box was shown
        Sucesso,       // transferred and recorded
        NaoRegistrada, // transferred, but the record failed: a box was shown
        FalhaConexao,  // FTP: no connection or login (a box was shown)
        Falha,         // the client reported a failure
        Interrompida,
        Erro, // an unexpected error inside the transfer
    };

    TransferenciaRemota(Session& session, SharedBatchState& state, ModoEntrega modo, QString diretorio,
                        QString nomeArquivo);

    void setAvisos(Avisos avisos) { avisos_ = std::move(avisos); }

    // Step 1. False when the transfer cannot start (the box was shown, nothing was logged).
    bool inicia();
    // Step 2.
    void transfere();
    // Step 3.
    Desfecho conclui();
    // All three, the transfer on the calling thread unless a runner is given (it must run the work
    // and return when it is done).
    Desfecho executa(const std::function<void(const std::function<void()>&)>& runner = {});

    // Any thread: stops the transfer, at any point until the server has confirmed it; a transfer
    // the server has confirmed is a delivery, and is recorded as one.
    void interrompe();
    bool interrompida() const { return interrompido_; }

    qint64 tamanho() const { return tamanho_; }
    const QStringList& log() const { return log_; }
    EntregaArquivo& entrega() { return entrega_; }

    // Where the FTP upload goes: host, port (the written one, 21 when none is written) and
    // directory of the address.
    struct DestinoFtp {
        FtpEndpoint endpoint;
        QString diretorio;
    };
    static DestinoFtp destinoFtp(const QString& endKavorelEnvio, const QString& login, const QString& senha);

    // Texts of the log and of the boxes.
    static QString erroConexaoFtp(const QString& detalhe);
    static QString motivoSmtp(const SmtpResult& result);
    static QString semPortaSmtp();
    static QString semEnderecoEmail();
    static QString portaSmtpInvalida(const QString& porta);

private:
    void escreve(const QString& linha);
    QString horario(const QDateTime& quando) const;

    Session& session_;
    SharedBatchState& state_;
    ModoEntrega modo_;
    EntregaArquivo entrega_;
    Avisos avisos_;
    QStringList log_;

    qint64 tamanho_ = 0;
    QDateTime inicio_;
    DestinoFtp ftp_;
    SmtpMessage mensagem_;

    std::atomic<bool> interrompido_{false};
    std::atomic<qint64> enviados_{0};
    std::atomic<FtpClient*> ftpClient_{nullptr};
    std::atomic<SmtpClient*> smtpClient_{nullptr};
    FtpResult ftpResult_;
    SmtpResult smtpResult_;
    bool excecao_ = false;
};
