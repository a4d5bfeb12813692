#pragma once

#include "FtpClient.h"

#include <QString>
#include <atomic>
#include <functional>

// Finding and fetching a newer reference-table version, from the authority's FTP server or from a
// local directory, into the reception directory. It touches no database, so a screen may run it on
// a worker thread while its window keeps painting; the installation that follows is InstalaVersao.
class AtualizaVersao {
public:
    enum class Desfecho {
        Obtida,          // the newer archive is in the reception directory, ready to install
        NenhumaMaisNova, // nothing newer than the installed version
        Falhou,          // the transfer failed: `texto` says why
        Interrompida,
    };
    struct Resultado {
        Desfecho desfecho = Desfecho::Falhou;
        QString texto;   // the result text for the screen (empty when obtained)
        QString arquivo; // the newer archive's name when one was found
        QString versao;
    };
    struct Avisos {
        std::function<void(const QString& arquivo, const QString& versao)> encontrada;
        std::function<void(qint64 feito, qint64 total)> progresso;
        std::function<void()> conectado; // from here on an FTP download cannot be interrupted
    };

    AtualizaVersao(QString diretorioRecepcao, QString versaoInstalada);
    void setAvisos(Avisos avisos) { avisos_ = std::move(avisos); }

    // Any thread: stops the search or the transfer at its next step.
    void interrompe();

    // The authority's server: the names of `diretorio` on `endpoint`.
    Resultado pelaInternet(const FtpEndpoint& endpoint, const QString& diretorio);
    // The files of a local directory (removable media, a download made by hand).
    Resultado doDiretorio(const QString& diretorio);

private:
    Resultado interrompida(bool transferindo) const;
    QString copia(const QString& origem, const QString& destino);

    QString recepcao_;
    QString referencia_;
    Avisos avisos_;
    std::atomic<bool> interrompido_{false};
    std::atomic<FtpClient*> ftp_{nullptr};
};
