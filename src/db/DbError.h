#pragma once

#include <QString>
#include <exception>
#include <stdexcept>

// A database error, carrying the driver's text. A duplicate key always reads exactly
// "Key violation.", which is how the screens tell a duplicate from any other failure.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message, bool keyViolation = false)
        : std::runtime_error(message.toStdString()), message_(message), keyViolation_(keyViolation) {}

    const QString& message() const { return message_; }
    bool isKeyViolation() const { return keyViolation_; }

private:
    QString message_;
    bool keyViolation_;
};

inline const QString KeyViolationMessage = QStringLiteral("Key violation.");

// The text to show for any error caught where nothing more specific handles it: a DbError's
// message, a standard exception's text, or "Erro desconhecido.".
QString messageOfError(std::exception_ptr error);
