#pragma once

#include "EntregaArquivo.h"

#include <QString>
#include <atomic>
#include <functional>

class Session;
struct SharedBatchState;

// The delivery by media ("Grava Disquete"): the file is copied into a chosen directory (a floppy
// disk or any removable medium mounted there) and delivered by hand. Like the network delivery it
// runs in three steps: inicia() and conclui() on the screen's thread, grava() on any thread.
//
// The copy is safe where a plain copy is not: the transfer directory itself is refused (a copy
// onto the same file would empty it), a file larger than the destination's free space is refused
// before anything is written, the data goes under a temporary name that is renamed only once
// every block was written, flushed to the medium and the size checked, and any failure removes
// the partial file and records nothing.
class GravaDisquete {
public:
    enum class Desfecho { NaoIniciada, Sucesso, NaoRegistrada, Falha, Interrompida };

    // What the destination's file system holds, in bytes; nothing known when the query failed.
    struct Espaco {
        qint64 total = -1;
        qint64 livre = -1;
    };
    using ConsultaEspaco = std::function<Espaco(const QString& diretorio)>;

    GravaDisquete(Session& session, SharedBatchState& state, QString diretorio, QString nomeArquivo,
                  QString destino);

    // The file system query (statvfs by default); tests give a small medium.
    void setConsultaEspaco(ConsultaEspaco consulta) { consulta_ = std::move(consulta); }
    void setProgresso(std::function<void(qint64 feito, qint64 total)> progresso) {
        progresso_ = std::move(progresso);
    }

    // Step 1: the destination (none: nothing happens), the file ("Arquivo não encontrado."),
    // packing a text file, the floppy's capacity, the free space, the same-file check. False
    // when the copy cannot start (the box was shown, if any).
    bool inicia();
    // Step 2: the copy.
    void grava();
    // Step 3: the result text (EdResultado) and, on success, the record.
    Desfecho conclui();
    // All three in a row.
    Desfecho executa(const std::function<void(const std::function<void()>&)>& runner = {});

    void interrompe() { interrompido_ = true; }
    const QString& resultado() const { return resultado_; }
    EntregaArquivo& entrega() { return entrega_; }
    QString destino() const { return destino_; }
    QString caminhoDestino() const { return destino_ + entrega_.nomeEnviado(); }

    // The floppy rule: the size in kilobytes (bytes / 1024 to the nearest integer, halves to the
    // even neighbour) must not exceed 1038.
    static qint64 kilobytes(qint64 bytes);
    static bool cabeNoDisquete(qint64 bytes) { return kilobytes(bytes) <= 1038; }
    // A file system of at most 1.44 MB in all is a floppy's.
    static bool ehDisquete(const Espaco& espaco) { return espaco.total > 0 && espaco.total <= 1474560; }
    static Espaco espacoDe(const QString& diretorio);

    // Texts of the screen.
    static QString arquivoNaoEncontrado(); // "Arquivo não encontrado."
    static QString maiorQueDisquete();     // "Tamanho do arquivo maior que a capacidade do disquete"
    static QString semEspaco(qint64 tamanho, qint64 livre);
    static QString mesmoDiretorio();
    // What the screen says before a copy it cannot start: no destination given, or a typed one that
    // is not a directory (the chooser gives only existing ones).
    static QString semDestino();
    static QString destinoInexistente(const QString& destino);

private:
    Session& session_;
    EntregaArquivo entrega_;
    QString destino_;
    ConsultaEspaco consulta_;
    std::function<void(qint64, qint64)> progresso_;
    std::atomic<bool> interrompido_{false};
    QString erro_;
    QString resultado_;
    qint64 tamanho_ = 0;
    bool gravado_ = false;
};
