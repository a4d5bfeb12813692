#pragma once

#include "VerificacoesImportacao.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>

class Clock;
class Prompts;

// What the screen (or a console) is told while a run goes on.
struct AcompanhamentoImportacao {
    std::function<void(const QString& arquivo, int linhas)> inicioArquivo;
    std::function<void(int linha)> linhaLida;
    std::function<void(const QStringList& estruturas)> lote;            // "TCertificStruct-OK", "...-NO"
    std::function<void(const QList<QStringList>& campos)> camposDoLote; // "Nome=valor" per record of it
    std::function<void(int gravados, int total)> registroGravado;
    std::function<void(const QString& aviso)> aviso; // lines that were not imported
    std::function<void()> atualizacaoConcluida;      // the file's rows are written and checked
    std::function<void(int vistos, int total)> certificadoVisto;
    std::function<void()> certificadosConcluidos;
};

enum class SituacaoArquivo {
    Importado,
    Falhou,   // rolled back; its logs kept as "ERRO..." and "ERROBD..."
    Recusado, // not opened: wrong acronym, already imported or unreadable
};

struct ResultadoArquivo {
    QString arquivo;
    SituacaoArquivo situacao = SituacaoArquivo::Recusado;
    QStringList logsDeErro; // names of the kept logs, in the file's directory
};

// The import of "TX-" text files into the register: one transaction per file, applied completely or
// not at all. Messages go through the prompts; logs are written in the files' directory.
class ImportacaoTxt {
public:
    struct Parametros {
        QSqlDatabase db;
        Clock* clock = nullptr;
        Prompts* prompts = nullptr;
        QString usuario;
        QString origem = QStringLiteral("MODULOOCC"); // chooses where the file's acronym is looked up
        bool podeAprovar = false;                     // the user may approve certificates for sending
    };

    explicit ImportacaoTxt(Parametros parametros);

    void setAcompanhamento(AcompanhamentoImportacao acompanhamento) { acomp_ = std::move(acompanhamento); }

    static inline const QString MascaraArquivos = QStringLiteral("TX-*.txt");
    static constexpr int RegistrosPorLote = 51;

    // The import files of a directory, in alphabetical order.
    static QStringList arquivosDoDiretorio(const QString& diretorio);
    // The acronym in a file name: between "TX-" and the last 14 characters; empty for 17 or fewer.
    static QString siglaDoNome(const QString& nomeArquivo);

    // Imports every file in order, then tells whether any failed and deletes the working logs.
    QList<ResultadoArquivo> importa(const QString& diretorio, const QStringList& arquivos);
    // One file of the directory.
    ResultadoArquivo importaArquivo(const QString& diretorio, const QString& arquivo);

    // Names of the logs kept for the failed files of the last run.
    const QStringList& falhas() const { return falhas_; }
    // "Erros de Importação": what the run left for correction.
    void mostraErros();

private:
    // The run's acronym, or empty when the file's acronym is refused (message shown).
    QString validaSigla(const QString& nomeArquivo);

    Parametros p_;
    AcompanhamentoImportacao acomp_;
    QStringList falhas_;
};
