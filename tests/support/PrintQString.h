#pragma once

#include <QString>
#include <ostream>

// Failure messages show texts, not their bytes.
inline std::ostream& operator<<(std::ostream& os, const QString& text) {
    return os << text.toStdString();
}
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
