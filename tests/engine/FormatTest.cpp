#include "Format.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Every case states its locale, so the machine's own never leaks into the figures.
class FormatLocale : public ::testing::Test
{
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

struct WonCase
{
    double won;
    const char* text;
};

class FmtWon : public FormatLocale, public ::testing::WithParamInterface<WonCase>
{};

TEST_P(FmtWon, RoundsHalfAwayFromZeroAndGroupsDigits)
{
    EXPECT_EQ(fmtWon(GetParam().won), QString::fromUtf8(GetParam().text));
}

constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Table, FmtWon,
    ::testing::Values(WonCase{51000, "51,000원"}, WonCase{84300.4, "84,300원"}, WonCase{0.5, "1원"},
                      WonCase{-0.5, "-1원"}, WonCase{0.49, "0원"}, WonCase{-0.4, "0원"},
                      WonCase{0, "0원"}, WonCase{999.5, "1,000원"},
                      WonCase{-1234567.5, "-1,234,568원"},
                      // Beyond the 64-bit range the amount stops at its edge instead of wrapping.
                      WonCase{1e30, "9,223,372,036,854,774,784원"},
                      WonCase{-1e30, "-9,223,372,036,854,774,784원"}, WonCase{std::nan(""), "0원"},
                      WonCase{kInf, "0원"}, WonCase{-kInf, "0원"}));

TEST_F(FormatLocale, WonFollowsTheUserLocaleButNeverPrintsUngroupedInTheCLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(fmtWon(84300), QStringLiteral("84.300원"));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(fmtWon(84300), QStringLiteral("84,300원"));
    EXPECT_EQ(fmtWon(-1234567), QStringLiteral("-1,234,567원"));
}

struct DurCase
{
    double minutes;
    const char* text;
};

class FmtDurSec : public ::testing::TestWithParam<DurCase>
{};

TEST_P(FmtDurSec, ShowsHoursMinutesAndSecondsThatAreNotZero)
{
    EXPECT_EQ(fmtDurSec(GetParam().minutes), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FmtDurSec,
    ::testing::Values(DurCase{65.05, "1시간 5분 3초"}, DurCase{45, "45분"}, DurCase{120, "2시간"},
                      DurCase{0.5, "30초"}, DurCase{61, "1시간 1분"}, DurCase{0.001, "0초"},
                      DurCase{60.5 / 60, "1분 1초"}, DurCase{59.5 / 60, "1분"},
                      DurCase{3601.0 / 60, "1시간 1초"}, DurCase{-5, "0초"},
                      DurCase{std::nan(""), "0초"}, DurCase{kInf, "0초"}, DurCase{-kInf, "0초"},
                      // Seconds beyond the 64-bit range stop at its edge: 2^63 - 1024 seconds.
                      DurCase{1e300, "2562047788015215시간 13분 4초"}));

} // namespace
