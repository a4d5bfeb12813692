#include "TArquivoImportacao.h"

#include "Cp1252.h"

TArquivoImportacao::TArquivoImportacao(ContextoImportacao contexto) : contexto_(std::move(contexto)) {}

bool TArquivoImportacao::Open(const QString& caminho) {
    arquivo_.setFileName(caminho);
    if (!arquivo_.open(QIODevice::ReadOnly))
        return false;
    return abre(&arquivo_);
}

bool TArquivoImportacao::abre(QIODevice* dispositivo) {
    dispositivo_ = dispositivo;
    totalLinhas_ = 0;
    while (leLinha())
        ++totalLinhas_;
    if (!dispositivo_->seek(0))
        return false;
    linha_ = 0;
    devolvida_.reset();
    return true;
}

void TArquivoImportacao::Close() {
    if (arquivo_.isOpen())
        arquivo_.close();
    dispositivo_ = nullptr;
}

bool TArquivoImportacao::fimDeArquivo() const {
    return !devolvida_ && (!dispositivo_ || dispositivo_->atEnd());
}

std::optional<QString> TArquivoImportacao::leLinha() {
    if (devolvida_) {
        std::optional<QString> linha = std::move(devolvida_);
        devolvida_.reset();
        ++linha_;
        return linha;
    }
    if (!dispositivo_ || dispositivo_->atEnd())
        return std::nullopt;
    QByteArray bytes = dispositivo_->readLine();
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    ++linha_;
    return Cp1252::decode(bytes);
}

QString TArquivoImportacao::headerDaLinha(const QString& linha) {
    if (!linha.startsWith(QLatin1Char('[')))
        return {};
    const int fim = linha.indexOf(QLatin1Char(']'));
    return fim < 0 ? QString() : linha.left(fim + 1);
}

void TArquivoImportacao::avisa(const QString& texto) {
    avisos_ << texto;
    if (aoAvisar_)
        aoAvisar_(texto);
}

std::unique_ptr<TDataStruct> TArquivoImportacao::LeProximoRegistro() {
    const std::optional<QString> linha = leLinha();
    if (!linha)
        return nullptr;
    const QString header = headerDaLinha(*linha);
    if (header.isEmpty()) {
        avisa(QStringLiteral("Linha não importada-->") + *linha);
        return nullptr;
    }
    const int linhaHeader = linha_;
    const EstruturaRegistro* estrutura = EstruturasTxt::porHeader(header);

    // The record's first data line. A header there starts the next record: this one has no data.
    std::optional<QString> atual = leLinha();
    const bool semDados = atual && !headerDaLinha(*atual).isEmpty();
    if (semDados) {
        devolvida_ = atual;
        --linha_;
        atual.reset();
    }
    if (!estrutura) {
        avisa(QStringLiteral("Foi encontrado um header inválido -->") + header +
              QStringLiteral(" Verifique a linha ") + QString::number(linhaHeader));
        return nullptr;
    }

    auto registro = std::make_unique<TDataStruct>(*estrutura);
    QString corrente = atual.value_or(QString());
    int linhaCorrente = atual ? linha_ : linhaHeader + 1;
    for (int i = 0; i < estrutura->campos.size(); ++i) {
        const DefinicaoCampo& campo = estrutura->campos[i];
        if (campo.largura == 0)
            continue;
        if (campo.novaLinha) {
            const std::optional<QString> proxima = semDados ? std::nullopt : leLinha();
            corrente = proxima.value_or(QString());
            linhaCorrente = proxima ? linha_ : linhaCorrente + 1;
        }
        registro->define(i, corrente.mid(campo.coluna - 1, campo.largura), linhaCorrente);
    }
    registro->ValidaRegistro(contexto_);
    return registro;
}
