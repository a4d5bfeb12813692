#include "Cp1252.h"

#include <array>

namespace Cp1252 {

namespace {

// Bytes 0x80..0x9F; the others are Latin-1.
constexpr std::array<char16_t, 32> high = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                           0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<char> byteOf(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return char(u);
    for (std::size_t i = 0; i < high.size(); ++i)
        if (high[i] == u)
            return char(0x80 + i);
    return std::nullopt;
}

} // namespace

QString decode(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        text.append(u >= 0x80 && u < 0xA0 ? QChar(high[u - 0x80]) : QChar(u));
    }
    return text;
}

std::optional<QByteArray> encode(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const std::optional<char> b = byteOf(c);
        if (!b)
            return std::nullopt;
        bytes.append(*b);
    }
    return bytes;
}

QByteArray encodeLossy(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text)
        bytes.append(byteOf(c).value_or('?'));
    return bytes;
}

} // namespace Cp1252
