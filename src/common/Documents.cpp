#include "Documents.h"

#include "Prompts.h"

#include <span>

namespace {

QString digitsOf(const QString& text) {
    QString digits;
    for (const QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    return digits;
}

bool allDigits(const QString& text) {
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

bool oneRepeatedDigit(const QString& digits) {
    return !digits.isEmpty() && digits.count(digits[0]) == digits.size();
}

int weightedSum(const QString& digits, std::span<const int> weights) {
    int sum = 0;
    for (size_t i = 0; i < weights.size(); ++i)
        sum += digits[qsizetype(i)].digitValue() * weights[i];
    return sum;
}

// 11 minus the remainder, 0 when that gives 10 or 11 (i.e. a remainder of 0 or 1).
int checkDigit(int sum) {
    const int remainder = sum % 11;
    return remainder < 2 ? 0 : 11 - remainder;
}

bool cpfCheckDigitsMatch(const QString& cpf) {
    if (cpf.size() != 11 || !allDigits(cpf))
        return false;
    static constexpr int first[] = {10, 9, 8, 7, 6, 5, 4, 3, 2};
    static constexpr int second[] = {11, 10, 9, 8, 7, 6, 5, 4, 3, 2};
    return cpf[9].digitValue() == checkDigit(weightedSum(cpf, first)) &&
           cpf[10].digitValue() == checkDigit(weightedSum(cpf, second));
}

const QString cnpjCaption = QStringLiteral("Erro de validação do CNPJ");

} // namespace

CnpjCheck checkCnpj(const QString& text) {
    const QString digits = digitsOf(text);
    if (digits.size() != 14)
        return CnpjCheck::WrongLength;
    static constexpr int first[] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    static constexpr int second[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    const bool match = digits[12].digitValue() == checkDigit(weightedSum(digits, first)) &&
                       digits[13].digitValue() == checkDigit(weightedSum(digits, second));
    return match ? CnpjCheck::Valid : CnpjCheck::WrongCheckDigit;
}

bool ValidaCNPJ(Prompts& prompts, const QString& cnpj) {
    CnpjCheck check = checkCnpj(cnpj);
    if (check == CnpjCheck::Valid && oneRepeatedDigit(digitsOf(cnpj)))
        check = CnpjCheck::WrongCheckDigit;
    switch (check) {
    case CnpjCheck::Valid:
        return true;
    case CnpjCheck::WrongLength:
        prompts.message(cnpjCaption, QStringLiteral("O CNPJ fornecido não é válido (forneça 14 dígitos)."));
        return false;
    case CnpjCheck::WrongCheckDigit:
        prompts.message(cnpjCaption,
                        QStringLiteral("O CNPJ fornecido não é válido (dígito verificador não confere)."));
        return false;
    }
    return false;
}

bool ValidaCNPJImportacao(const QString& cnpj) {
    return checkCnpj(cnpj) == CnpjCheck::Valid;
}

bool ValidaCPF(const QString& cpf) {
    return cpfCheckDigitsMatch(cpf) && !oneRepeatedDigit(cpf);
}

bool ValidaCPFImportacao(const QString& cpf) {
    return cpfCheckDigitsMatch(cpf);
}
