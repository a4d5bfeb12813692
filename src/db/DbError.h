#pragma once

#include <QString>
#include <exception>
#include <stdexcept>

// A database error, carrying the driver's text. A duplicate key always reads exactly
// "Key violation.", which is how the screens tell a duplicate from any other failure.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message, bool keyViolation = false)
        : DbError(message, keyViolation, inUsersWords(message)) {}

    const QString& message() const { return message_; }
    bool isKeyViolation() const { return keyViolation_; }

    // A full disk is the one failure of the driver users can mend themselves: it is told in their words
    // (SQLite's text stays after it, for support).
    static QString inUsersWords(const QString& message) {
        if (message.contains(QLatin1String("database or disk is full")) && !message.startsWith(DiskFull))
            return DiskFull + QStringLiteral(" (") + message + QLatin1Char(')');
        return message;
    }
    static inline const QString DiskFull =
        QStringLiteral("Não há espaço suficiente em disco para gravar a base de dados.");

private:
    DbError(const QString&, bool keyViolation, const QString& text)
        : std::runtime_error(text.toStdString()), message_(text), keyViolation_(keyViolation) {}

    QString message_;
    bool keyViolation_;
};

inline const QString KeyViolationMessage = QStringLiteral("Key violation.");

// The text to show for any error caught where nothing more specific handles it: a DbError's
// message, a standard exception's text, or "Erro desconhecido.".
QString messageOfError(std::exception_ptr error);
