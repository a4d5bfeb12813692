#include "TransferenciaRemota.h"

#include "Clock.h"
#include "ConfigLocal.h"
#include "Files.h"
#include "Formats.h"
#include "Prompts.h"
#include "Session.h"
#include "SharedBatchState.h"

#include <QFile>
#include <exception>

namespace {

const QString Assunto = QStringLiteral("Envio de remessa anexado ao E-MAIL");
const QString Corpo = QStringLiteral("Segue em anexo o arquivo de remessa");
const QString HouveErro = QStringLiteral("Houve erro durante a transferência.");
const QString Interrompida = QStringLiteral("Transferência interrompida.");

// Keeps a client reachable by interrompe() while it works.
template <typename Client> struct Alcance {
    std::atomic<Client*>& slot;
    Alcance(std::atomic<Client*>& s, Client* client) : slot(s) { slot = client; }
    ~Alcance() { slot = nullptr; }
};

} // namespace

TransferenciaRemota::TransferenciaRemota(Session& session, SharedBatchState& state, ModoEntrega modo,
                                         QString diretorio, QString nomeArquivo)
    : session_(session), state_(state), modo_(modo),
      entrega_(session, state, std::move(diretorio), std::move(nomeArquivo)) {}

TransferenciaRemota::DestinoFtp TransferenciaRemota::destinoFtp(const QString& endKavorelEnvio,
                                                                const QString& login, const QString& senha) {
    const FtpAddress address = SeparaEnderecoFTP(endKavorelEnvio);
    return {FtpEndpoint{address.host, address.port.toInt(), login, senha}, address.directory};
}

QString TransferenciaRemota::erroConexaoFtp(const QString& detalhe) {
    return QStringLiteral("Erro ao tentar conectar. Verifique as configurações do Sistema\nErro:") + detalhe;
}

QString TransferenciaRemota::motivoSmtp(const SmtpResult& result) {
    switch (result.failure) {
    case SmtpResult::Failure::None:
        return {};
    case SmtpResult::Failure::Send:
        return QStringLiteral("Falha na transmissão do E_MAIL");
    case SmtpResult::Failure::Connect:
        return QStringLiteral("Erro na conecção com Servidor E-MAIL");
    case SmtpResult::Failure::InvalidHost:
        return QStringLiteral("HOST invalido");
    case SmtpResult::Failure::RecipientRefused:
        return QStringLiteral("Destinatário recusado pelo Servidor E-MAIL");
    case SmtpResult::Failure::TlsRequired:
        return QStringLiteral(
            "O Servidor E-MAIL exige conexão segura (STARTTLS), que não pôde ser estabelecida");
    case SmtpResult::Failure::Aborted:
        return Interrompida;
    case SmtpResult::Failure::Stalled:
    case SmtpResult::Failure::LocalFile:
        break;
    }
    return result.detail;
}

QString TransferenciaRemota::semPortaSmtp() {
    return QStringLiteral("A porta do servidor de E-MAIL (SMTP) não foi configurada. Verifique as "
                          "configurações do Sistema.");
}

QString TransferenciaRemota::semEnderecoEmail() {
    return QStringLiteral("O EMail do Responsável Kavorel não foi configurado. Verifique as configurações do "
                          "Sistema.");
}

QString TransferenciaRemota::portaSmtpInvalida(const QString& porta) {
    return QStringLiteral("A porta do servidor de E-MAIL (SMTP) configurada não é válida: %1. Verifique as "
                          "configurações do Sistema.")
        .arg(porta);
}

void TransferenciaRemota::escreve(const QString& linha) {
    log_ << linha;
    if (avisos_.linha)
        avisos_.linha(linha);
}

QString TransferenciaRemota::horario(const QDateTime& quando) const {
    return quando.time().toString(QStringLiteral("HH:mm:ss"));
}

void TransferenciaRemota::interrompe() {
    interrompido_ = true;
    if (FtpClient* client = ftpClient_.load())
        client->abort();
    if (SmtpClient* client = smtpClient_.load())
        client->abort();
}

bool TransferenciaRemota::inicia() {
    Prompts& prompts = session_.prompts();
    if (const QString problema = entrega_.problemaNome(); !problema.isEmpty()) {
        prompts.warning(problema);
        return false;
    }
    if (modo_ == ModoEntrega::Ftp) {
        ftp_ = destinoFtp(state_.EndKavorelEnvio, state_.LoginFTP, state_.SenhaFTP);
    } else {
        const ConfigLocal config = ConfigLocalTable::load(session_.database()).value_or(ConfigLocal{});
        const QString porta = config.EndSMTPPort.trimmed();
        bool numero = false;
        const int valor = porta.toInt(&numero);
        if (porta.isEmpty()) {
            prompts.warning(semPortaSmtp());
            return false;
        }
        if (!numero || valor <= 0 || valor > 65535) {
            prompts.warning(portaSmtpInvalida(porta));
            return false;
        }
        if (config.EndSMTPEMailReply.trimmed().isEmpty()) {
            prompts.warning(semEnderecoEmail());
            return false;
        }
        mensagem_ = {};
        mensagem_.host = state_.EndSMTPHost;
        mensagem_.port = valor;
        mensagem_.greetingName = state_.EndSMTPUsuario;
        mensagem_.fromName = config.SiglaCertificador + QStringLiteral(" - ") + config.NomeOCC;
        mensagem_.fromAddress = config.EndSMTPEMailReply;
        mensagem_.toAddress = config.EndSMTPEMailReply;
        mensagem_.subject = Assunto;
        mensagem_.body = Corpo;
    }
    if (entrega_.ehArquivoTxt()) {
        // Never a zip left by an earlier attempt: the text file itself must be there.
        if (!QFile::exists(entrega_.caminhoArquivo())) {
            prompts.warning(EntregaArquivo::arquivoNaoEncontrado());
            return false;
        }
        if (!entrega_.empacota())
            return false; // the archiver showed its box
    }
    tamanho_ = TamanhoArquivo(entrega_.caminhoEnviado());
    if (tamanho_ <= 0) {
        prompts.warning(EntregaArquivo::arquivoNaoEncontrado());
        return false;
    }
    mensagem_.attachmentPath = entrega_.caminhoEnviado();
    mensagem_.date = session_.clock().now();
    enviados_ = 0;
    inicio_ = session_.clock().now();
    escreve(QStringLiteral("Usuário Responsável : ") + state_.Usuario);
    escreve(QStringLiteral("Tamanho do arquivo : %1 bytes").arg(tamanho_));
    escreve(QStringLiteral("Hora inicio: ") + horario(inicio_));
    return true;
}

void TransferenciaRemota::transfere() {
    excecao_ = false;
    const auto progresso = [this](qint64 feito, qint64 total) {
        if (feito > enviados_)
            enviados_ = feito;
        if (avisos_.progresso)
            avisos_.progresso(feito, total);
    };
    const auto conectado = [this] {
        if (avisos_.conectado)
            avisos_.conectado();
    };
    try {
        if (modo_ == ModoEntrega::Ftp) {
            FtpClient client(ftp_.endpoint);
            Alcance<FtpClient> alcance(ftpClient_, &client);
            client.setProgress(progresso);
            client.setConnected(conectado);
            if (interrompido_) {
                ftpResult_ = {FtpResult::Failure::Aborted, {}};
                return;
            }
            ftpResult_ = client.upload(entrega_.caminhoEnviado(), ftp_.diretorio, entrega_.nomeEnviado());
        } else {
            SmtpClient client;
            Alcance<SmtpClient> alcance(smtpClient_, &client);
            client.setProgress(progresso);
            client.setConnected(conectado);
            if (interrompido_) {
                smtpResult_ = {SmtpResult::Failure::Aborted, {}};
                return;
            }
            smtpResult_ = client.send(mensagem_);
        }
    } catch (const std::exception&) {
        excecao_ = true;
    }
}

TransferenciaRemota::Desfecho TransferenciaRemota::conclui() {
    if (excecao_) {
        if (!interrompido_)
            escreve(HouveErro);
        else
            escreve(Interrompida);
        return interrompido_ ? Desfecho::Interrompida : Desfecho::Erro;
    }
    const bool ftp = modo_ == ModoEntrega::Ftp;
    const bool ok = ftp ? ftpResult_.ok() : smtpResult_.ok();
    const bool abortada = ftp ? ftpResult_.failure == FtpResult::Failure::Aborted
                              : smtpResult_.failure == SmtpResult::Failure::Aborted;
    if (!ok && (abortada || interrompido_)) {
        escreve(Interrompida);
        return Desfecho::Interrompida;
    }
    if (!ok && ftp &&
        (ftpResult_.failure == FtpResult::Failure::Connect ||
         ftpResult_.failure == FtpResult::Failure::Login)) {
        session_.prompts().error(erroConexaoFtp(ftpResult_.detail));
        escreve(HouveErro);
        return Desfecho::FalhaConexao;
    }
    escreve(QStringLiteral("Tamanho do arquivo : %1 bytes").arg(tamanho_));
    if (ftp) {
        for (const QString& nota : ftpResult_.notes)
            escreve(nota);
    }
    if (!ok) {
        const QString motivo = ftp ? ftpResult_.reason() : motivoSmtp(smtpResult_);
        escreve(QStringLiteral("Transferência não realizada: ") + motivo + QLatin1Char('.'));
        escreve(motivo);
        return Desfecho::Falha;
    }
    const QDateTime fim = session_.clock().now();
    const qint64 bytes = enviados_ > 0 ? qint64(enviados_) : tamanho_;
    escreve(QStringLiteral("Hora fim: ") + horario(fim));
    escreve(QStringLiteral("Bytes transferidos: %1").arg(bytes));
    escreve(QStringLiteral("Taxa de transferência: ") + TaxaTransferencia(bytes, inicio_.time(), fim.time()) +
            QStringLiteral(" bytes/seg"));
    escreve(QStringLiteral("Transferência realizada com sucesso."));
    if (const QString problema = entrega_.registra(modo_); !problema.isEmpty()) {
        escreve(problema);
        session_.prompts().error(problema);
        return Desfecho::NaoRegistrada;
    }
    return Desfecho::Sucesso;
}

TransferenciaRemota::Desfecho
TransferenciaRemota::executa(const std::function<void(const std::function<void()>&)>& runner) {
    if (!inicia())
        return Desfecho::NaoIniciada;
    if (runner)
        runner([this] { transfere(); });
    else
        transfere();
    return conclui();
}
