#include "AtualizaVersao.h"

#include "Versoes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace {

const QString NenhumaInternet = QStringLiteral("Não foi encontrado arquivo de atualização mais atual.");
const QString NenhumaLocal = QStringLiteral("Não foi encontrado arquivo de atualização mais atual");
const QString ErroTransferencia =
    QStringLiteral("Foi encontrado arquivo mais atual, mas houve erro na transferência");
constexpr qint64 Bloco = 8192;

bool sameFile(const QString& a, const QString& b) {
    struct stat sa {
    }, sb{};
    return stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace

AtualizaVersao::AtualizaVersao(QString diretorioRecepcao, QString versaoInstalada)
    : recepcao_(std::move(diretorioRecepcao)),
      referencia_(
          Versoes::nomeArquivo(versaoInstalada.isEmpty() ? Versoes::NenhumaVersao : versaoInstalada)) {}

void AtualizaVersao::interrompe() {
    interrompido_ = true;
    if (FtpClient* client = ftp_.load())
        client->abort();
}

AtualizaVersao::Resultado AtualizaVersao::interrompida(bool transferindo) const {
    return {Desfecho::Interrompida,
            transferindo
                ? QStringLiteral("Foi encontrado arquivo mais atual, mas houve interrupção na transferência.")
                : QStringLiteral("Transferência interrompida."),
            {},
            {}};
}

AtualizaVersao::Resultado AtualizaVersao::pelaInternet(const FtpEndpoint& endpoint,
                                                       const QString& diretorio) {
    FtpClient client(endpoint);
    ftp_ = &client;
    struct Release {
        std::atomic<FtpClient*>& slot;
        ~Release() { slot = nullptr; }
    } release{ftp_};
    if (interrompido_)
        return interrompida(false);
    client.setConnected([this] {
        if (avisos_.conectado)
            avisos_.conectado();
    });

    QStringList names;
    const FtpResult listed = client.list(diretorio, names);
    if (interrompido_)
        return interrompida(false);
    if (!listed.ok())
        return {Desfecho::Falhou, listed.reason(), {}, {}};

    const QString best = Versoes::maisNova(referencia_, names);
    if (best == referencia_)
        return {Desfecho::NenhumaMaisNova, NenhumaInternet, {}, {}};
    Resultado result{Desfecho::Obtida, {}, best, Versoes::numeroDe(best)};
    if (avisos_.encontrada)
        avisos_.encontrada(result.arquivo, result.versao);

    client.setProgress([this](qint64 done, qint64 total) {
        if (avisos_.progresso)
            avisos_.progresso(done, total);
    });
    const FtpResult fetched = client.download(diretorio, best, QDir(recepcao_).filePath(best));
    if (interrompido_ || fetched.failure == FtpResult::Failure::Aborted)
        return interrompida(true);
    if (!fetched.ok()) {
        result.desfecho = Desfecho::Falhou;
        result.texto = fetched.failure == FtpResult::Failure::LocalFile ? ErroTransferencia + QLatin1Char('.')
                                                                        : fetched.reason();
    }
    return result;
}

AtualizaVersao::Resultado AtualizaVersao::doDiretorio(const QString& diretorio) {
    if (interrompido_)
        return interrompida(false);
    const QDir source(diretorio);
    const QString best =
        Versoes::maisNova(referencia_, source.entryList(QDir::Files | QDir::Hidden, QDir::Name));
    if (best == referencia_)
        return {Desfecho::NenhumaMaisNova, NenhumaLocal, {}, {}};
    Resultado result{Desfecho::Obtida, {}, best, Versoes::numeroDe(best)};
    if (avisos_.encontrada)
        avisos_.encontrada(result.arquivo, result.versao);

    const QString error = copia(source.filePath(best), QDir(recepcao_).filePath(best));
    if (interrompido_)
        return interrompida(true);
    if (!error.isEmpty()) {
        result.desfecho = Desfecho::Falhou;
        result.texto = ErroTransferencia + QStringLiteral(": ") + error + QLatin1Char('.');
    }
    return result;
}

// Copies in blocks, reporting progress and stopping when interrupted; the target is written under a
// temporary name and renamed when complete, so a failed copy leaves no half archive. The reception
// directory itself as the source needs no copy (and copying a file onto itself would empty it).
QString AtualizaVersao::copia(const QString& origem, const QString& destino) {
    if (sameFile(origem, destino))
        return {};
    QFile in(origem);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("Erro ao abrir arquivo");
    const QString partial = destino + QStringLiteral(".part");
    QFile out(partial);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QStringLiteral("Erro ao criar arquivo");
    const qint64 total = in.size();
    qint64 done = 0;
    QString error;
    while (!interrompido_) {
        const QByteArray block = in.read(Bloco);
        if (block.isEmpty()) {
            if (in.error() != QFile::NoError)
                error = QStringLiteral("Erro ao ler arquivo");
            break;
        }
        if (out.write(block) != block.size()) {
            error = QStringLiteral("Erro ao gravar arquivo");
            break;
        }
        done += block.size();
        if (avisos_.progresso)
            avisos_.progresso(done, total);
    }
    if (error.isEmpty() && !interrompido_ && (!out.flush() || done != total))
        error = QStringLiteral("Erro ao gravar arquivo");
    out.close();
    if (!error.isEmpty() || interrompido_) {
        QFile::remove(partial);
        return error;
    }
    QFile::remove(destino);
    if (!QFile::rename(partial, destino)) {
        QFile::remove(partial);
        return QStringLiteral("Erro ao criar arquivo");
    }
    return {};
}
