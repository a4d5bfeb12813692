#include "LocalTime.h"

#include <QDateTime>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// Puts TZ back as it was, so the other tests of this program see the environment they started with.
class KeepsTz : public ::testing::Test {
protected:
    void TearDown() override {
        if (had_)
            qputenv("TZ", before_);
        else
            qunsetenv("TZ");
    }
    const bool had_ = qEnvironmentVariableIsSet("TZ");
    const QByteArray before_ = qgetenv("TZ");
};

TEST_F(KeepsTz, UnsetZoneIsPinnedToTheSystemsFileAndKeepsLocalTime) {
    if (!QFileInfo::exists(QStringLiteral("/etc/localtime")))
        GTEST_SKIP() << "no /etc/localtime on this machine";
    qunsetenv("TZ");
    const QDateTime noon(QDate(2015, 7, 1), QTime(12, 0));
    const qint64 before = noon.toSecsSinceEpoch();
    pinLocalTimeZone();
    EXPECT_EQ(qgetenv("TZ"), QByteArray(":/etc/localtime"));
    EXPECT_EQ(QDateTime(QDate(2015, 7, 1), QTime(12, 0)).toSecsSinceEpoch(), before);
}

TEST_F(KeepsTz, AZoneTheUserChoseIsLeftAlone) {
    qputenv("TZ", "America/Sao_Paulo");
    pinLocalTimeZone();
    EXPECT_EQ(qgetenv("TZ"), QByteArray("America/Sao_Paulo"));
}

} // namespace
