#include "FuzzEntries.h"
#include "FuzzSupport.h"

#include "DataDigitada.h"
#include "Documents.h"
#include "Formats.h"
#include "TDataStruct.h"

// What a user types into the masks (dates, CNPJ, CPF, the FTP address) and the dates of an import
// file, through the parsers and checks that read them.
int fuzzOneMascaras(const uint8_t* data, size_t size) {
    const QString texto = QString::fromUtf8(fuzz::bytesOf(data, size));
    const QDate hoje(2015, 11, 25);

    const DataDigitada digitada = DataDigitada::le(texto);
    if (digitada.valida()) {
        fuzz::check(digitada.data.isValid(), "a valid typed date has no day");
        const DataDigitada relida = DataDigitada::le(textoDaData(digitada.data));
        fuzz::check(relida.valida() && relida.data == digitada.data, "a typed date does not read back");
    }
    DatasCertificado::erroEmissao(texto, hoje);
    DatasCertificado::erroValidade(texto, hoje, DatasCertificado::ValidadeInvalidaNovo);
    DatasCertificado::erroValidade(texto, QDate(), DatasCertificado::ValidadeInvalidaGeral);

    const std::optional<QDateTime> convertida = TDataStruct::converteData(texto);
    if (convertida) {
        fuzz::check(convertida->isValid(), "an import date converts to no date");
        const std::optional<QDateTime> relida =
            TDataStruct::converteData(TDataStruct::textoDataHora(*convertida));
        fuzz::check(relida && relida->date() == convertida->date(), "an import date does not read back");
    }

    const CnpjCheck cnpj = checkCnpj(texto);
    const QString pontuado = FormataCNPJ(texto, true);
    const QString digitos = FormataCNPJ(texto, false);
    if (cnpj == CnpjCheck::Valid) {
        fuzz::check(checkCnpj(pontuado) == CnpjCheck::Valid && checkCnpj(digitos) == CnpjCheck::Valid,
                    "a valid CNPJ is no longer valid once formatted");
        fuzz::check(digitos.size() == 14, "a valid CNPJ has 14 digits");
    }
    fuzz::check(ValidaCNPJImportacao(texto) == (cnpj == CnpjCheck::Valid), "the import CNPJ check differs");
    if (ValidaCPF(texto))
        fuzz::check(ValidaCPFImportacao(texto), "a CPF the screen takes the import refuses");
    FormataCPF(texto);
    const QString aparado = RemoveBrancos(texto);
    fuzz::check(!aparado.startsWith(QLatin1Char(' ')) && !aparado.endsWith(QLatin1Char(' ')),
                "blanks stay around a trimmed text");

    const FtpAddress endereco = SeparaEnderecoFTP(texto);
    fuzz::check(!endereco.port.isEmpty() && !endereco.directory.isEmpty(),
                "an FTP address without port or directory");
    return 0;
}
