#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QTemporaryDir;
class Session;
struct SharedBatchState;

// How a file reaches the authority.
enum class ModoEntrega {
    Ftp,      // uploaded to the directory of EndKavorelEnvio
    Disquete, // copied to a chosen directory (removable media)
    Email,    // attached to a message through the certifier's SMTP server
};

// What a delivery receipt shows: the heading (acronym + " - " + certifier name), the batch, the
// file (FTP: its name; e-mail: with the transfer directory in front; media: the destination path)
// and the lines (the result log, or for media the user and the success line).
struct ComprovanteEntrega {
    bool gravacao = false; // the recording receipt of a delivery by media
    QString cabecalho;
    QString numeroRemessa;
    QString arquivo;
    QStringList linhas;
};

// What the three delivery modes share: which file goes, packing a text file, and recording a
// delivery. A batch archive ("OC-"/"OT-" + acronym + number + ".zip") goes as it is and is recorded
// as TR in CONTROLE; a text file ("TX-...", the second character of its name is "X") goes as the zip
// of the same base name and is recorded in CONTROLE_TXT.
//
// The text file is packed from a copy, so a delivery that fails or is interrupted leaves it where
// it was; it leaves the directory only once its delivery has been recorded.
class EntregaArquivo {
public:
    // `diretorio` is the transfer directory (with or without the trailing "/"), `nomeArquivo` the
    // name shown in EdArquivoTransferencia.
    EntregaArquivo(Session& session, SharedBatchState& state, QString diretorio, QString nomeArquivo);
    ~EntregaArquivo();
    EntregaArquivo(const EntregaArquivo&) = delete;
    EntregaArquivo& operator=(const EntregaArquivo&) = delete;

    // True for a text file: the second character of the name is "X".
    static bool ehArquivoTxt(const QString& nomeArquivo);
    // The name that travels: the batch archive itself, or for a text file its name up to the first
    // "." followed by ".zip".
    static QString nomeEnviado(const QString& nomeArquivo);

    bool ehArquivoTxt() const { return ehArquivoTxt(nome_); }
    const QString& diretorio() const { return diretorio_; } // with the trailing "/"
    const QString& nomeArquivo() const { return nome_; }
    QString nomeEnviado() const { return nomeEnviado(nome_); }
    QString caminhoArquivo() const { return diretorio_ + nome_; }
    QString caminhoEnviado() const { return diretorio_ + nomeEnviado(); }

    // Why this file cannot be delivered at all (empty when it can): a text file whose name the
    // register cannot take. Checked before anything is packed or sent.
    QString problemaNome() const;

    // Packs a text file into the zip of its base name in the directory (from a copy: the text file
    // stays); nothing for a batch archive. Runs the archiver, so it belongs to the screen's thread;
    // the archiver's own boxes go through the prompts. False when packing failed (the box was
    // shown) or the text file is missing.
    bool empacota();

    // Records a successful delivery: the TR event of the current batch (the floppy mode with its
    // remark) or, for a text file, the CONTROLE_TXT row through RegistraEnvioTXT, after which the
    // text file itself is removed. Empty when recorded, otherwise why not (the delivery took place
    // but was not recorded).
    QString registra(ModoEntrega modo);

    // The remark of a delivery by media: "<Transferência Manual: Gravação de Disquete>".
    static QString obsDisquete();
    // The warnings and texts of the delivery screens.
    static QString
    arquivoNaoEncontrado(); // "O arquivo não foi encontrado no diretório indicado. Favor verificar."
    static QString registroFalhou(const QString& detalhe);

private:
    Session& session_;
    SharedBatchState& state_;
    QString diretorio_;
    QString nome_;
    std::unique_ptr<QTemporaryDir> copia_;
};
