#include "TArquivoImportacao.h"

#include "Cp1252.h"

namespace {

const QByteArray MarcaUtf8("\xEF\xBB\xBF");

// Whether the bytes are well-formed UTF-8: no stray continuation byte, no overlong form, no
// surrogate, nothing beyond U+10FFFF, no sequence cut short.
bool utf8Valido(const QByteArray& bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = b[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int seguintes = 0;
        unsigned char minimo = 0x80, maximo = 0xBF; // the range of the byte after the first
        if (c >= 0xC2 && c <= 0xDF) {
            seguintes = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            seguintes = 2;
            if (c == 0xE0)
                minimo = 0xA0;
            else if (c == 0xED)
                maximo = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            seguintes = 3;
            if (c == 0xF0)
                minimo = 0x90;
            else if (c == 0xF4)
                maximo = 0x8F;
        } else {
            return false;
        }
        if (n - i - 1 < seguintes || b[i + 1] < minimo || b[i + 1] > maximo)
            return false;
        for (int k = 2; k <= seguintes; ++k)
            if ((b[i + k] & 0xC0) != 0x80)
                return false;
        i += seguintes + 1;
    }
    return true;
}

bool soAscii(const QByteArray& bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// The characters of a line from `coluna` (1-based), at most `largura` of them. Columns count
// characters: one beyond the 16-bit range takes one column, not two.
QString trecho(const QString& linha, int coluna, int largura) {
    bool substitutos = false;
    for (const QChar c : linha)
        if (c.isSurrogate()) {
            substitutos = true;
            break;
        }
    if (!substitutos)
        return linha.mid(coluna - 1, largura);
    const QList<uint> parte = linha.toUcs4().mid(coluna - 1, largura);
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(parte.constData()), parte.size());
}

} // namespace

TArquivoImportacao::TArquivoImportacao(ContextoImportacao contexto) : contexto_(std::move(contexto)) {}

bool TArquivoImportacao::Open(const QString& caminho) {
    arquivo_.setFileName(caminho);
    if (!arquivo_.open(QIODevice::ReadOnly))
        return false;
    return abre(&arquivo_);
}

bool TArquivoImportacao::abre(QIODevice* dispositivo) {
    dispositivo_ = dispositivo;
    devolvida_.reset();
    // The first reading counts the lines and tells the encoding: UTF-8 when the file starts with
    // its byte-order mark, or when it is well-formed UTF-8 with some byte beyond ASCII; otherwise
    // Windows-1252.
    totalLinhas_ = 0;
    bool marca = false;
    bool ascii = true;
    bool valido = true;
    while (std::optional<QByteArray> bytes = leBytes()) {
        if (totalLinhas_ == 0)
            marca = bytes->startsWith(MarcaUtf8);
        if (!soAscii(*bytes)) {
            ascii = false;
            valido = valido && utf8Valido(*bytes);
        }
        ++totalLinhas_;
    }
    utf8_ = marca || (!ascii && valido);
    if (!dispositivo_->seek(marca ? MarcaUtf8.size() : 0))
        return false;
    linha_ = 0;
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
    const std::optional<QByteArray> bytes = leBytes();
    if (!bytes)
        return std::nullopt;
    ++linha_;
    return utf8_ ? QString::fromUtf8(*bytes) : Cp1252::decode(*bytes);
}

std::optional<QByteArray> TArquivoImportacao::leBytes() {
    if (!dispositivo_ || dispositivo_->atEnd())
        return std::nullopt;
    QByteArray bytes = dispositivo_->readLine();
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    return bytes;
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
        registro->define(i, trecho(corrente, campo.coluna, campo.largura), linhaCorrente);
    }
    registro->ValidaRegistro(contexto_);
    return registro;
}
