#include "GravaDisquete.h"

#include "Files.h"
#include "Prompts.h"
#include "Session.h"
#include "SharedBatchState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <sys/statvfs.h>

GravaDisquete::GravaDisquete(Session& session, SharedBatchState& state, QString diretorio,
                             QString nomeArquivo, QString destino)
    : session_(session), entrega_(session, state, std::move(diretorio), std::move(nomeArquivo)),
      destino_(destino.isEmpty() ? QString() : SharedBatchState::withTrailingSlash(destino)),
      consulta_(&GravaDisquete::espacoDe) {}

qint64 GravaDisquete::kilobytes(qint64 bytes) {
    // Exact halves go to the even neighbour (1038.5 -> 1038, 1039.5 -> 1040).
    const qint64 inteiro = bytes / 1024;
    const qint64 resto = bytes % 1024;
    if (resto > 512 || (resto == 512 && inteiro % 2 == 1))
        return inteiro + 1;
    return inteiro;
}

GravaDisquete::Espaco GravaDisquete::espacoDe(const QString& diretorio) {
    struct statvfs info {};
    if (statvfs(QFile::encodeName(diretorio).constData(), &info) != 0)
        return {};
    return {qint64(info.f_blocks) * qint64(info.f_frsize), qint64(info.f_bavail) * qint64(info.f_frsize)};
}

QString GravaDisquete::arquivoNaoEncontrado() {
    return QStringLiteral("Arquivo não encontrado.");
}

QString GravaDisquete::maiorQueDisquete() {
    return QStringLiteral("Tamanho do arquivo maior que a capacidade do disquete");
}

QString GravaDisquete::semEspaco(qint64 tamanho, qint64 livre) {
    return QStringLiteral("Não há espaço livre suficiente no destino: o arquivo tem %1 bytes e há %2 bytes "
                          "livres.")
        .arg(tamanho)
        .arg(livre);
}

QString GravaDisquete::mesmoDiretorio() {
    return QStringLiteral("O destino escolhido é o próprio diretório de transferência. Escolha outro "
                          "diretório.");
}

QString GravaDisquete::semDestino() {
    return QStringLiteral(
        "Informe o diretório de destino da gravação: digite-o ou escolha-o em \"Browse...\".");
}

QString GravaDisquete::destinoInexistente(const QString& destino) {
    return QStringLiteral("O diretório de destino não existe: %1")
        .arg(QDir::toNativeSeparators(QDir::cleanPath(destino)));
}

bool GravaDisquete::inicia() {
    if (destino_.isEmpty())
        return false;
    Prompts& prompts = session_.prompts();
    if (const QString problema = entrega_.problemaNome(); !problema.isEmpty()) {
        prompts.error(problema);
        return false;
    }
    if (!QFileInfo(entrega_.caminhoArquivo()).isFile()) {
        prompts.error(arquivoNaoEncontrado());
        return false;
    }
    if (sameFile(destino_, entrega_.diretorio())) {
        prompts.error(mesmoDiretorio());
        return false;
    }
    if (!entrega_.empacota())
        return false;
    tamanho_ = QFileInfo(entrega_.caminhoEnviado()).size();
    const Espaco espaco = consulta_(destino_);
    if (ehDisquete(espaco) && !cabeNoDisquete(tamanho_)) {
        prompts.error(maiorQueDisquete());
        return false;
    }
    // A file of the same name already there is replaced, so its room counts as free.
    const qint64 substituido = QFileInfo(caminhoDestino()).isFile() ? QFileInfo(caminhoDestino()).size() : 0;
    if (espaco.livre >= 0 && tamanho_ > espaco.livre + substituido) {
        prompts.error(semEspaco(tamanho_, espaco.livre));
        return false;
    }
    interrompido_ = false;
    gravado_ = false;
    erro_.clear();
    resultado_.clear();
    return true;
}

void GravaDisquete::grava() {
    const BlockCopy copia =
        copyInBlocks(entrega_.caminhoEnviado(), caminhoDestino(), caminhoDestino() + QStringLiteral(".tmp"),
                     interrompido_, progresso_, true);
    erro_ = copia.error;
    gravado_ = copia.error.isEmpty() && !copia.interrupted;
}

GravaDisquete::Desfecho GravaDisquete::conclui() {
    if (interrompido_) {
        // Interrupted as the copy ended: what was written is not a delivery.
        QFile::remove(caminhoDestino() + QStringLiteral(".tmp"));
        if (gravado_)
            QFile::remove(caminhoDestino());
        resultado_ = QStringLiteral("Gravação de arquivo interrompida.");
        return Desfecho::Interrompida;
    }
    if (!erro_.isEmpty() || !QFileInfo(caminhoDestino()).isFile()) {
        resultado_ = QStringLiteral("Gravação de arquivo não realizada: ") + erro_ + QLatin1Char('.');
        return Desfecho::Falha;
    }
    resultado_ = QStringLiteral("Gravação de arquivo realizada com sucesso.");
    if (const QString problema = entrega_.registra(ModoEntrega::Disquete); !problema.isEmpty()) {
        session_.prompts().error(problema);
        return Desfecho::NaoRegistrada;
    }
    return Desfecho::Sucesso;
}

GravaDisquete::Desfecho
GravaDisquete::executa(const std::function<void(const std::function<void()>&)>& runner) {
    if (!inicia())
        return Desfecho::NaoIniciada;
    if (runner)
        runner([this] { grava(); });
    else
        grava();
    return conclui();
}
