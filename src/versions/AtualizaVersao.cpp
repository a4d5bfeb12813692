#include "AtualizaVersao.h"

#include "Files.h"
#include "Versoes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString NenhumaInternet = QStringLiteral("Não foi encontrado arquivo de atualização mais atual.");
const QString NenhumaLocal = QStringLiteral("Não foi encontrado arquivo de atualização mais atual");
const QString ErroTransferencia =
    QStringLiteral("Foi encontrado arquivo mais atual, mas houve erro na transferência");

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
// The copy is on the disk before the version is recorded: reinstalling it needs the archive.
QString AtualizaVersao::copia(const QString& origem, const QString& destino) {
    if (sameFile(origem, destino))
        return {};
    return copyInBlocks(origem, destino, destino + QStringLiteral(".part"), interrompido_, avisos_.progresso,
                        true)
        .error;
}
