#pragma once

#include <QDate>
#include <QString>

// A date typed day first into a "99/99/9999" mask, blanks shown as spaces ("  /  /    " when
// nothing was typed).
struct DataDigitada {
    enum class Estado {
        EmBranco,   // nothing typed
        Incompleta, // some digits missing
        Invalida,   // all digits, but no such day
        Valida,
    };
    Estado estado = Estado::EmBranco;
    QDate data; // valid only when Valida

    static DataDigitada le(const QString& texto);
    bool emBranco() const { return estado == Estado::EmBranco; }
    // Every digit typed (a field counts as filled in only then), whether or not the day exists.
    bool completa() const { return estado == Estado::Valida || estado == Estado::Invalida; }
    bool valida() const { return estado == Estado::Valida; }
};

// The date as the masks show it ("25/11/2015"); blanks for an invalid date.
QString textoDaData(const QDate& date);

// The checks of a certificate's dates; each returns the message to show, or an empty text.
namespace DatasCertificado {

inline const QString FormatoInvalido = QStringLiteral("O formato de data deve ser dd/mm/aaaa.");
inline const QString EmissaoInvalida =
    QStringLiteral("Formato de data inválido ou data superior a data atual! Tente novamente.");
// The new-certificate panel and the general-data tab word the validity message slightly differently.
inline const QString ValidadeInvalidaNovo = QStringLiteral(
    "Formato de data inválido ou data inferior a data de emissao do certificado! Tente novamente.");
inline const QString ValidadeInvalidaGeral = QStringLiteral(
    "Formato de data inválido ou data inferior a data de emissão do certificado! Tente novamente.");
inline const QString ValidadeObrigatoria =
    QStringLiteral("Por favor informe a data de validade do certificado.");
inline const QString CaptionEntrada = QStringLiteral("Erro de entrada de dados");

// The first year refused in emission and validity dates.
inline constexpr int AnoLimite = 2080;

// Emission: complete, a real day, not after today, before the year limit. A blank text passes.
QString erroEmissao(const QString& texto, const QDate& hoje);
// Validity: complete, a real day, not before the emission (when one is given), before the year
// limit. A blank text passes.
QString erroValidade(const QString& texto, const QDate& emissao, const QString& mensagem);

} // namespace DatasCertificado
