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

    // The record's data lines, read as its fields ask for them. A header met on any of them ends the
    // record (it starts the next one), as does the end of the file: the fields still due stay empty,
    // each counted on the line it would have had, and the record's own checks decide.
    bool terminado = false;
    int linhaCorrente = linhaHeader;
    const auto proximaLinha = [&]() -> QString {
        ++linhaCorrente;
        if (terminado)
            return {};
        std::optional<QString> linha = leLinha();
        if (linha && !headerDaLinha(*linha).isEmpty()) {
            devolvida_ = std::move(linha);
            --linha_;
            linha.reset();
        }
        if (!linha) {
            terminado = true;
            return {};
        }
        return *linha;
    };
    QString corrente = proximaLinha();
    if (!estrutura) {
        avisa(QStringLiteral("Foi encontrado um header inválido -->") + header +
              QStringLiteral(" Verifique a linha ") + QString::number(linhaHeader));
        return nullptr;
    }

    auto registro = std::make_unique<TDataStruct>(*estrutura);
    for (int i = 0; i < estrutura->campos.size(); ++i) {
        const DefinicaoCampo& campo = estrutura->campos[i];
        if (campo.largura == 0)
            continue;
        if (campo.novaLinha)
            corrente = proximaLinha();
        registro->define(i, corrente.mid(campo.coluna - 1, campo.largura), linhaCorrente);
    }
    registro->ValidaRegistro(contexto_);
    return registro;
}
