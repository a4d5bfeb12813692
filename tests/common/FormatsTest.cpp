#include "Formats.h"
#include "Clock.h"

#include <gtest/gtest.h>

namespace {

std::string str(const QString& s) {
    return s.toStdString();
}

TEST(DataAAAAMMDD, ZeroPadsMonthAndDayFromTheClock) {
    ManualClock clock(QDateTime(QDate(2024, 3, 5), QTime(23, 59, 59)));
    EXPECT_EQ(str(DataAAAAMMDD(clock)), "20240305");
    clock.set(QDateTime(QDate(2025, 1, 1), QTime(0, 0)));
    EXPECT_EQ(str(DataAAAAMMDD(clock)), "20250101");
    EXPECT_EQ(str(DataAAAAMMDD(QDate(1999, 12, 31))), "19991231");
}

TEST(CentroVertical, DropsTheFraction) {
    EXPECT_EQ(CentroVertical(300, 1024), 362);
    EXPECT_EQ(CentroVertical(301, 1024), 361);
    EXPECT_EQ(CentroVertical(1024, 1024), 0);
}

struct RateCase {
    qint64 bytes;
    QTime start;
    QTime end;
    const char* expected;
};

void PrintTo(const RateCase& c, std::ostream* os) {
    *os << c.bytes << " bytes " << c.start.toString("HH:mm:ss.zzz").toStdString() << "-"
        << c.end.toString("HH:mm:ss.zzz").toStdString();
}

class TaxaTransferenciaTest : public testing::TestWithParam<RateCase> {};

TEST_P(TaxaTransferenciaTest, FormatsBytesPerSecond) {
    const RateCase& c = GetParam();
    EXPECT_EQ(str(TaxaTransferencia(c.bytes, c.start, c.end)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, TaxaTransferenciaTest,
                         testing::Values(
                             // 2 bytes in 0.8 s: at least five characters, two decimals, a point.
                             RateCase{2, QTime(10, 0, 0, 0), QTime(10, 0, 0, 800), " 2.50"},
                             RateCase{123456, QTime(10, 0, 0), QTime(10, 0, 4), "30864.00"},
                             RateCase{1, QTime(10, 0, 0), QTime(10, 0, 3), " 0.33"},
                             // No time passed.
                             RateCase{1000, QTime(12, 30, 15, 250), QTime(12, 30, 15, 250), "0"},
                             // Across midnight: 23:59:59 to 00:00:01 is two seconds.
                             RateCase{1000, QTime(23, 59, 59), QTime(0, 0, 1), "500.00"},
                             // Hours, minutes and milliseconds all count.
                             RateCase{7201, QTime(9, 59, 59, 500), QTime(11, 0, 0, 0), " 2.00"}));

struct FtpCase {
    const char* address;
    const char* host;
    const char* port;
    const char* directory;
};

void PrintTo(const FtpCase& c, std::ostream* os) {
    *os << '"' << c.address << '"';
}

class SeparaEnderecoFTPTest : public testing::TestWithParam<FtpCase> {};

TEST_P(SeparaEnderecoFTPTest, SplitsHostPortAndDirectory) {
    const FtpCase& c = GetParam();
    const FtpAddress a = SeparaEnderecoFTP(QString::fromUtf8(c.address));
    EXPECT_EQ(str(a.host), c.host);
    EXPECT_EQ(str(a.port), c.port);
    EXPECT_EQ(str(a.directory), c.directory);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SeparaEnderecoFTPTest,
    testing::Values(FtpCase{"servidor:2121/remessas/oc", "servidor", "2121", "/remessas/oc"},
                    FtpCase{"servidor/remessas", "servidor", "21", "remessas"},
                    FtpCase{"servidor", "servidor", "21", "/"},
                    FtpCase{"servidor:abc/x", "servidor", "21", "/x"},
                    FtpCase{"servidor:2121", "servidor", "2121", "/"},
                    FtpCase{"ftp.kavorel.gov.br:21\\entrada", "ftp.kavorel.gov.br", "21", "\\entrada"},
                    FtpCase{"servidor\\remessas\\", "servidor", "21", "remessas"},
                    // Levels below the first keep their separators.
                    FtpCase{"servidor/remessas/oc/", "servidor", "21", "remessas/oc"},
                    FtpCase{"", "", "21", "/"}));

TEST(FormataCNPJ, PunctuatesOrStripsToDigits) {
    EXPECT_EQ(str(FormataCNPJ("11222333000181", true)), "11.222.333/0001-81");
    EXPECT_EQ(str(FormataCNPJ("11.222.333/0001-81", false)), "11222333000181");
    EXPECT_EQ(str(FormataCNPJ(" 11 222 333 0001 81 ", true)), "11.222.333/0001-81");
    // Re-formatting a formatted CNPJ gives the same text.
    EXPECT_EQ(str(FormataCNPJ("11.222.333/0001-81", true)), "11.222.333/0001-81");
    // A fifteenth digit stays, so validation can still see it.
    EXPECT_EQ(str(FormataCNPJ("112223330001819", true)), "11.222.333/0001-819");
    EXPECT_EQ(str(FormataCNPJ("", true)), "");
}

TEST(FormataCPF, PutsAHyphenBeforeTheCheckDigits) {
    EXPECT_EQ(str(FormataCPF("52998224725")), "529982247-25");
    EXPECT_EQ(str(FormataCPF("")), "");
}

TEST(RemoveBrancos, TrimsSpacesOnly) {
    EXPECT_EQ(str(RemoveBrancos("   ")), "");
    EXPECT_EQ(str(RemoveBrancos("")), "");
    EXPECT_EQ(str(RemoveBrancos("  Empresa  Ltda ")), "Empresa  Ltda");
    EXPECT_EQ(str(RemoveBrancos("\tvalor \t")), "\tvalor \t");
    EXPECT_EQ(str(RemoveBrancos(" a\n")), "a\n");
}

} // namespace

TEST(TextoDataHoraRapido, WritesWhatQDateTimeWrites) {
    for (const QDateTime& when :
         {QDateTime(QDate(2015, 11, 25), QTime(14, 3, 59, 7)), QDateTime(QDate(1, 1, 1), QTime(0, 0)),
          QDateTime(QDate(2079, 12, 31), QTime(23, 59, 59, 999))})
        for (const char* pattern : {"dd/MM/yyyy hh:mm:ss", "yyyy-MM-ddThh:mm:ss.zzz", "hh:mm"}) {
            const QString p = QString::fromLatin1(pattern);
            EXPECT_EQ(textoDataHoraRapido(when, p), when.toString(p)) << pattern;
        }
}
