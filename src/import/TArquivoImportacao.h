#pragma once

#include "TDataStruct.h"

#include <QFile>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

// The reader of one import file: lines end with CR LF (a lone LF is accepted; a trailing CR never
// enters a value). The text is UTF-8 when the file starts with UTF-8's byte-order mark or is
// well-formed UTF-8 with bytes beyond ASCII, Windows-1252 otherwise; columns count characters. A
// header line ("[" in column 1, up to its first "]") starts a record of that header's type; its
// fields are cut from the following lines by start column and width, a field with the new-line mark
// taking the next line first. A header where a data line was due ends the record (the fields still
// due stay empty) and starts the next. Every record is checked as soon as it is read (messages to
// "Log.txt"). Lines that start no record, and unknown headers, become warnings.
class TArquivoImportacao {
public:
    explicit TArquivoImportacao(ContextoImportacao contexto);

    // Opens the file, counts its lines and goes back to its start. False when it cannot be opened.
    bool Open(const QString& caminho);
    // Reads from a device already open (the caller keeps it), which must be able to seek to 0.
    bool abre(QIODevice* dispositivo);
    void Close();

    bool fimDeArquivo() const;
    int numeroLinhas() const { return totalLinhas_; }
    int linhaAtual() const { return linha_; }

    // Reads one line; when it is a header, reads and checks that record and returns it. Otherwise
    // (or for an unknown header) adds a warning and returns nullptr.
    std::unique_ptr<TDataStruct> LeProximoRegistro();

    QStringList avisos() const { return avisos_; }
    // Called with each warning as it is found.
    void aoAvisar(std::function<void(const QString&)> f) { aoAvisar_ = std::move(f); }

    // The header of a line ("[TIPO]" of "[TIPO] remark"); empty when the line is no header.
    static QString headerDaLinha(const QString& linha);

private:
    std::optional<QString> leLinha();
    std::optional<QByteArray> leBytes(); // the next line's bytes, without its CR LF
    void avisa(const QString& texto);

    ContextoImportacao contexto_;
    QFile arquivo_;
    QIODevice* dispositivo_ = nullptr;
    int linha_ = 0;
    int totalLinhas_ = 0;
    bool utf8_ = false;                // the file's text is UTF-8, else Windows-1252
    std::optional<QString> devolvida_; // a header met where a record's data line was due
    QStringList avisos_;
    std::function<void(const QString&)> aoAvisar_;
};
