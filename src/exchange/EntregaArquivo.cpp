#include "EntregaArquivo.h"

#include "Archiver.h"
#include "BatchControl.h"
#include "Clock.h"
#include "DbError.h"
#include "EnvioTXT.h"
#include "RegistraEnvioTXT.h"
#include "Session.h"
#include "SharedBatchState.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

EntregaArquivo::EntregaArquivo(Session& session, SharedBatchState& state, QString diretorio,
                               QString nomeArquivo)
    : session_(session), state_(state), diretorio_(SharedBatchState::withTrailingSlash(diretorio)),
      nome_(std::move(nomeArquivo)) {}

EntregaArquivo::~EntregaArquivo() = default;

bool EntregaArquivo::ehArquivoTxt(const QString& nomeArquivo) {
    return nomeArquivo.size() > 1 && nomeArquivo.at(1).toUpper() == QLatin1Char('X');
}

QString EntregaArquivo::nomeEnviado(const QString& nomeArquivo) {
    if (!ehArquivoTxt(nomeArquivo))
        return nomeArquivo;
    return nomeArquivo.section(QLatin1Char('.'), 0, 0) + QStringLiteral(".zip");
}

QString EntregaArquivo::obsDisquete() {
    return QStringLiteral("<Transferência Manual: Gravação de Disquete>");
}

QString EntregaArquivo::arquivoNaoEncontrado() {
    return QStringLiteral("O arquivo não foi encontrado no diretório indicado. Favor verificar.");
}

QString EntregaArquivo::registroFalhou(const QString& detalhe) {
    return QStringLiteral("O arquivo foi transferido, mas o envio não pôde ser registrado: %1").arg(detalhe);
}

QString EntregaArquivo::problemaNome() const {
    return ehArquivoTxt() ? EnvioTXT::problemaNome(nome_) : QString();
}

bool EntregaArquivo::empacota() {
    if (!ehArquivoTxt())
        return true;
    if (!QFile::exists(caminhoArquivo()))
        return false;
    // The archiver moves what it packs: give it a copy, so the text file stays until the delivery
    // is recorded.
    copia_ = std::make_unique<QTemporaryDir>();
    if (!copia_->isValid())
        return false;
    const QString copia = copia_->filePath(nome_);
    if (!QFile::copy(caminhoArquivo(), copia))
        return false;
    return CompactaArquivos(session_.prompts(), {copia}, caminhoEnviado());
}

QString EntregaArquivo::registra(ModoEntrega modo) {
    const QString obs = modo == ModoEntrega::Disquete ? obsDisquete() : QString();
    if (ehArquivoTxt()) {
        QString erro;
        if (!RegistraEnvioTXT(session_.database(), session_.clock().now(), nome_, obs, state_.Usuario, &erro))
            return registroFalhou(erro);
        QFile::remove(caminhoArquivo());
        return {};
    }
    // FTP and media take the batch type from the archive's name, e-mail from the current batch: the
    // same letter.
    const QString tipo = modo == ModoEntrega::Email ? state_.TipoRemessa : nome_.mid(1, 1);
    try {
        BatchControl(session_, state_)
            .registraEvento(state_.NumeroRemessa, tipo, BatchEvents::Transferida, obs);
    } catch (const DbError& failure) {
        return registroFalhou(failure.message());
    }
    return {};
}
