#include "LogImportacao.h"

#include "Cp1252.h"

#include <QDir>
#include <QFile>

LogImportacao::LogImportacao(QString diretorio) : diretorio_(std::move(diretorio)) {}

QString LogImportacao::caminhoLog() const {
    return QDir(diretorio_).filePath(NomeLog);
}

QString LogImportacao::caminhoLogBD() const {
    return QDir(diretorio_).filePath(NomeLogBD);
}

void LogImportacao::acrescenta(QFile& file, const QString& caminho, const QStringList& linhas,
                               bool descarrega) {
    if (!file.isOpen()) {
        file.setFileName(caminho);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
            return; // a log that cannot be written must not stop the import; the outcome is still told
    }
    // Most lines are plain ASCII and go byte for byte; the others through the code page.
    qsizetype tamanho = 0;
    for (const QString& linha : linhas)
        tamanho += linha.size() + 2;
    QByteArray bytes;
    bytes.reserve(tamanho);
    for (const QString& linha : linhas) {
        const qsizetype inicio = bytes.size();
        bool ascii = true;
        for (const QChar c : linha) {
            if (c.unicode() >= 0x80) {
                ascii = false;
                break;
            }
            bytes.append(char(c.unicode()));
        }
        if (!ascii) {
            bytes.truncate(inicio);
            bytes += Cp1252::encodeLossy(linha);
        }
        bytes += "\r\n";
    }
    file.write(bytes);
    if (descarrega)
        file.flush();
}

void LogImportacao::fecha() {
    log_.close();
    logBD_.close();
}

void LogImportacao::apaga() {
    fecha();
    QFile::remove(caminhoLog());
    QFile::remove(caminhoLogBD());
}

QStringList LogImportacao::guardaComoErro(const QString& nome) {
    fecha();
    QStringList guardados;
    const QDir dir(diretorio_);
    const auto guarda = [&](const QString& origem, const QString& destino) {
        if (!QFile::exists(origem))
            return;
        const QString alvo = dir.filePath(destino);
        QFile::remove(alvo);
        if (QFile::rename(origem, alvo))
            guardados << destino;
    };
    guarda(caminhoLog(), QStringLiteral("ERRO") + nome + QStringLiteral(".txt"));
    guarda(caminhoLogBD(), QStringLiteral("ERROBD") + nome + QStringLiteral(".txt"));
    return guardados;
}

QString LogImportacao::le(const QString& caminho) {
    QFile file(caminho);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return Cp1252::decode(file.readAll());
}
