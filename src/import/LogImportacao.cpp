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
    QByteArray bytes;
    for (const QString& linha : linhas) {
        bool ascii = true;
        for (const QChar c : linha)
            ascii = ascii && c.unicode() < 0x80;
        bytes += ascii ? linha.toLatin1() : Cp1252::encodeLossy(linha);
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
