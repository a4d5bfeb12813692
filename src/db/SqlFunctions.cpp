// Functions of the dialect the statements are written in: UCase, and a like that ignores case
// for accented letters too ("ação" like "AÇÃO%").

#include "Database.h"

#include <QString>
#include <sqlite3.h>

namespace {

QString textArg(sqlite3_value* value) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return QString::fromUtf8(bytes, sqlite3_value_bytes(value));
}

void resultText(sqlite3_context* context, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void ucaseFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    resultText(context, textArg(argv[0]).toUpper());
}

QChar folded(QChar c) {
    return c.toCaseFolded();
}

// "%" any run, "_" any one character, escape makes the next character literal.
bool likeMatch(const QString& pattern, qsizetype p, const QString& text, qsizetype t, QChar escape) {
    while (p < pattern.size()) {
        const QChar pc = pattern.at(p);
        if (!escape.isNull() && pc == escape && p + 1 < pattern.size()) {
            if (t >= text.size() || folded(text.at(t)) != folded(pattern.at(p + 1)))
                return false;
            p += 2;
            ++t;
            continue;
        }
        if (pc == QLatin1Char('%')) {
            while (p < pattern.size() && pattern.at(p) == QLatin1Char('%'))
                ++p;
            if (p == pattern.size())
                return true;
            for (qsizetype start = t; start <= text.size(); ++start)
                if (likeMatch(pattern, p, text, start, escape))
                    return true;
            return false;
        }
        if (t >= text.size())
            return false;
        if (pc != QLatin1Char('_') && folded(pc) != folded(text.at(t)))
            return false;
        ++p;
        ++t;
    }
    return t == text.size();
}

// SQLite calls like(pattern, text[, escape]) for "text LIKE pattern".
void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(context);
            return;
        }
    }
    QChar escape;
    if (argc == 3) {
        const QString e = textArg(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.at(0);
    }
    sqlite3_result_int(context, likeMatch(textArg(argv[0]), 0, textArg(argv[1]), 0, escape) ? 1 : 0);
}

} // namespace

namespace Database {

void registerFunctions(sqlite3* handle) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(handle, "UCase", 1, flags, nullptr, ucaseFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(handle, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(handle, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr, nullptr);
}

} // namespace Database
