#pragma once

#include <QString>

class Prompts;

// Brazilian taxpayer numbers: CNPJ (companies, 14 digits) and CPF (natural persons, 11 digits).
// The screen variants refuse numbers made of one repeated digit ("00.000.000/0000-00",
// "111.111.111-11"), which pass the check-digit rule but are never issued; the import variants apply
// the check-digit rule alone, since imported files carry "00000000000" for a person without a CPF.

enum class CnpjCheck {
    Valid,
    WrongLength,     // not exactly 14 digits
    WrongCheckDigit, // 14 digits whose check digits do not match
};

// The check-digit rule on the digits of the text, every other character ignored.
CnpjCheck checkCnpj(const QString& text);

// Screen variant: shows "Erro de validação do CNPJ" with the reason when the CNPJ is not valid.
bool ValidaCNPJ(Prompts& prompts, const QString& cnpj);

// Import variant: the check-digit rule, silently.
bool ValidaCNPJImportacao(const QString& cnpj);

// Screen variant: 11 digits with matching check digits, not one repeated digit. Shows nothing (the
// callers do).
bool ValidaCPF(const QString& cpf);

// Import variant: 11 digits with matching check digits.
bool ValidaCPFImportacao(const QString& cpf);
