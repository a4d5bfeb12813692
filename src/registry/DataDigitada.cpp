#include "DataDigitada.h"

DataDigitada DataDigitada::le(const QString& texto) {
    QString digits = texto;
    digits.remove(QLatin1Char('/'));
    if (digits.trimmed().isEmpty())
        return {};
    if (digits.contains(QLatin1Char(' ')) || digits.contains(QLatin1Char('_')) || texto.size() != 10)
        return {Estado::Incompleta, {}};
    const QDate date = QDate::fromString(texto, QStringLiteral("dd/MM/yyyy"));
    if (!date.isValid())
        return {Estado::Invalida, {}};
    return {Estado::Valida, date};
}

QString textoDaData(const QDate& date) {
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QStringLiteral("  /  /    ");
}

namespace DatasCertificado {

QString erroEmissao(const QString& texto, const QDate& hoje) {
    const DataDigitada d = DataDigitada::le(texto);
    switch (d.estado) {
    case DataDigitada::Estado::EmBranco:
        return {};
    case DataDigitada::Estado::Incompleta:
        return FormatoInvalido;
    case DataDigitada::Estado::Invalida:
        return EmissaoInvalida;
    case DataDigitada::Estado::Valida:
        break;
    }
    return d.data > hoje || d.data.year() >= AnoLimite ? EmissaoInvalida : QString();
}

QString erroValidade(const QString& texto, const QDate& emissao, const QString& mensagem) {
    const DataDigitada d = DataDigitada::le(texto);
    switch (d.estado) {
    case DataDigitada::Estado::EmBranco:
        return {};
    case DataDigitada::Estado::Incompleta:
        return FormatoInvalido;
    case DataDigitada::Estado::Invalida:
        return mensagem;
    case DataDigitada::Estado::Valida:
        break;
    }
    const bool antesDaEmissao = emissao.isValid() && d.data < emissao;
    return antesDaEmissao || d.data.year() >= AnoLimite ? mensagem : QString();
}

} // namespace DatasCertificado
