#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Windows code page 1252, the text encoding of the authority's files and of scrambled passwords.
// Qt 6 has no codec for it. Every one of the 256 bytes decodes to a distinct character (the five
// bytes the code page leaves undefined map to the C1 controls U+0081, U+008D, U+008F, U+0090,
// U+009D, as Windows does), so decode followed by encode gives back the same bytes.
namespace Cp1252 {

QString decode(const QByteArray& bytes);
// Empty when a character has no byte in the code page.
std::optional<QByteArray> encode(const QString& text);
// Characters without a byte become '?'.
QByteArray encodeLossy(const QString& text);

} // namespace Cp1252
