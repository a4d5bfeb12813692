#include "Documents.h"
#include "Formats.h"
#include "ScriptedPrompts.h"

#include <gtest/gtest.h>

namespace {

const char* const caption = "Erro de validação do CNPJ";
const char* const wrongDigits = "O CNPJ fornecido não é válido (dígito verificador não confere).";
const char* const wrongLength = "O CNPJ fornecido não é válido (forneça 14 dígitos).";

struct CnpjCase {
    const char* text;
    bool screen;         // ValidaCNPJ
    const char* message; // box shown by ValidaCNPJ, nullptr for none
    bool import;         // ValidaCNPJImportacao
};

void PrintTo(const CnpjCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class CnpjTest : public testing::TestWithParam<CnpjCase> {};

TEST_P(CnpjTest, ScreenAndImportVariants) {
    const CnpjCase& c = GetParam();
    ScriptedPrompts prompts;
    EXPECT_EQ(ValidaCNPJ(prompts, QString::fromUtf8(c.text)), c.screen);
    if (c.message) {
        ASSERT_EQ(prompts.shown().size(), 1);
        EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Message);
        EXPECT_EQ(prompts.shown()[0].caption.toStdString(), caption);
        EXPECT_EQ(prompts.shown()[0].text.toStdString(), c.message);
    } else {
        EXPECT_TRUE(prompts.shown().isEmpty());
    }
    EXPECT_EQ(ValidaCNPJImportacao(QString::fromUtf8(c.text)), c.import);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CnpjTest,
    testing::Values(CnpjCase{"11.222.333/0001-81", true, nullptr, true}, // valid, punctuated
                    CnpjCase{"11222333000181", true, nullptr, true},     // valid, digits only
                    CnpjCase{"12.345.678/0001-95", true, nullptr, true},
                    CnpjCase{"11.444.777/0001-61", true, nullptr, true},
                    CnpjCase{"11.222.333/0001-82", false, wrongDigits, false}, // last digit changed
                    CnpjCase{"11.222.333/0001-91", false, wrongDigits, false}, // first check digit changed
                    CnpjCase{"00.000.000/0000-00", false, wrongDigits,
                             true}, // zeros pass the check-digit rule
                    CnpjCase{"00000000000000", false, wrongDigits, true},
                    CnpjCase{"11.111.111/1111-11", false, wrongDigits, false}, // one repeated digit
                    CnpjCase{"112223330001819", false, wrongLength, false},    // 15 digits
                    CnpjCase{"11.222.333/0001-8", false, wrongLength, false},  // 13 digits
                    CnpjCase{"", false, wrongLength, false},
                    CnpjCase{"11a222b333c0001d81", true, nullptr, true})); // other characters are ignored

struct CpfCase {
    const char* text;
    bool screen; // ValidaCPF
    bool import; // ValidaCPFImportacao
};

void PrintTo(const CpfCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class CpfTest : public testing::TestWithParam<CpfCase> {};

TEST_P(CpfTest, ScreenAndImportVariants) {
    const CpfCase& c = GetParam();
    EXPECT_EQ(ValidaCPF(QString::fromUtf8(c.text)), c.screen);
    EXPECT_EQ(ValidaCPFImportacao(QString::fromUtf8(c.text)), c.import);
}

INSTANTIATE_TEST_SUITE_P(Table, CpfTest,
                         testing::Values(CpfCase{"52998224725", true, true},      // valid
                                         CpfCase{"12345678909", true, true},      // valid
                                         CpfCase{"98765432100", true, true},      // both check digits 0
                                         CpfCase{"52998224726", false, false},    // second check digit wrong
                                         CpfCase{"52998224715", false, false},    // first check digit wrong
                                         CpfCase{"00000000000", false, true},     // import accepts zeros
                                         CpfCase{"11111111111", false, true},     // repeated digit
                                         CpfCase{"5299822472", false, false},     // 10 characters
                                         CpfCase{"529982247250", false, false},   // 12 characters
                                         CpfCase{"529.982.247-25", false, false}, // punctuated
                                         CpfCase{"529982247-25", false, false},
                                         CpfCase{"5299822472a", false, false},
                                         CpfCase{" 5299822472", false, false}, CpfCase{"", false, false},
                                         CpfCase{" ", false, false}));

TEST(ValidaCNPJ, AcceptsWhatFormataCNPJGivesAndRefusesAChangedDigit) {
    ScriptedPrompts prompts;
    EXPECT_TRUE(ValidaCNPJ(prompts, FormataCNPJ("11222333000181", true)));
    EXPECT_FALSE(ValidaCNPJ(prompts, FormataCNPJ("11222333000180", true)));
    EXPECT_EQ(prompts.texts(), QStringList{QString::fromUtf8(wrongDigits)});
}

TEST(checkCnpj, TellsLengthFromCheckDigits) {
    EXPECT_EQ(checkCnpj("11.222.333/0001-81"), CnpjCheck::Valid);
    EXPECT_EQ(checkCnpj("11.222.333/0001-80"), CnpjCheck::WrongCheckDigit);
    EXPECT_EQ(checkCnpj("1122233300018"), CnpjCheck::WrongLength);
}

} // namespace
