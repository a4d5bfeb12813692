#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

// The two logs of an import, kept in the directory of the imported files (never the process's
// current directory): "Log.txt" receives the record check messages, "Log_BD.txt" the statements run
// and the reports of the final checks. Each message is appended and flushed at once (Windows-1252,
// CR LF), so a run that stops half way leaves what it had logged; the files stay open in between.
class LogImportacao {
public:
    explicit LogImportacao(QString diretorio);

    static inline const QString NomeLog = QStringLiteral("Log.txt");
    static inline const QString NomeLogBD = QStringLiteral("Log_BD.txt");

    const QString& diretorio() const { return diretorio_; }
    QString caminhoLog() const;
    QString caminhoLogBD() const;

    void log(const QString& linha) { acrescenta(log_, caminhoLog(), {linha}); }
    void logBD(const QStringList& linhas) { acrescenta(logBD_, caminhoLogBD(), linhas); }
    void logBD(const QString& linha) { acrescenta(logBD_, caminhoLogBD(), {linha}); }
    // Lines whose outcome follows at once (a statement about to run): written with the outcome.
    void logBDAntes(const QStringList& linhas) { acrescenta(logBD_, caminhoLogBD(), linhas, false); }

    // Deletes both logs (a new file starts with empty logs; the reset deletes them too).
    void apaga();
    // Renames the logs of the failed file `nome` (without its extension) to "ERRO" + nome + ".txt" and
    // "ERROBD" + nome + ".txt", deleting older files of those names first. Returns the new names of
    // the logs that existed.
    QStringList guardaComoErro(const QString& nome);

    // The text of a log as written (for tests and the screen); empty when it does not exist.
    static QString le(const QString& caminho);

private:
    static void acrescenta(QFile& arquivo, const QString& caminho, const QStringList& linhas,
                           bool descarrega = true);
    void fecha();

    QString diretorio_;
    QFile log_;
    QFile logBD_;
};
