#include "FuzzEntries.h"
#include "FuzzSupport.h"

#include "Cp1252.h"
#include "ResultadoRemessa.h"

#include <QStringDecoder>

// Bytes in Windows-1252 and in UTF-8, decoded as the authority's files are: every byte string
// reads back from Windows-1252 unchanged, and a text that fits the code page goes there and back.
int fuzzOneTexto(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString cp1252 = Cp1252::decode(bytes);
    fuzz::check(cp1252.size() == bytes.size(), "one character per Windows-1252 byte");
    const std::optional<QByteArray> encoded = Cp1252::encode(cp1252);
    fuzz::check(encoded && *encoded == bytes, "Windows-1252 bytes do not read back");
    fuzz::check(Cp1252::encodeLossy(cp1252) == bytes, "Windows-1252 bytes do not read back (lossy)");

    const QString utf8 = QString::fromUtf8(bytes);
    const std::optional<QByteArray> deUtf8 = Cp1252::encode(utf8);
    if (deUtf8)
        fuzz::check(Cp1252::decode(*deUtf8) == utf8, "a text in the code page does not read back");
    const QByteArray perdido = Cp1252::encodeLossy(utf8);
    fuzz::check(perdido.size() == utf8.size(), "one byte per character, '?' for the others");

    // The remarks take UTF-8 when it is valid and Windows-1252 otherwise.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decodificado = decoder.decode(bytes);
    const QString esperado = decoder.hasError() ? cp1252 : decodificado;
    const QStringList linhas = ResultadoRemessa::linhasObservacoes(bytes);
    QString semQuebras = esperado;
    semQuebras.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    fuzz::check(linhas.join(QString()) == semQuebras, "the remarks lose or change characters");
    return 0;
}
