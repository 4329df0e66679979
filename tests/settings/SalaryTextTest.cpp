// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SalaryText.h"
#include "ui/settings/DistractionEntries.h"

#include <gtest/gtest.h>

namespace {

using Kind = SalaryText::Reading::Kind;

TEST(SalaryText, DigitsOfEveryScriptCountByValueAndEverythingElseIsIgnored)
{
    struct Case
    {
        const char* typed;
        Kind kind;
        qint64 won;
    };
    const Case cases[] = {
        {"300", Kind::won, 3'000'000},
        {"３５０", Kind::won, 3'500'000}, // full-width, from Korean input methods
        {"٣٥٠", Kind::won, 3'500'000},    // Arabic-Indic
        {"𝟑𝟓𝟎", Kind::won, 3'500'000},    // outside the basic plane
        {"3,500만", Kind::won, 35'000'000},
        {" 3 500 만원 ", Kind::won, 35'000'000},
        {"300.5", Kind::won, 3'005'000},
        {"３００．５", Kind::won, 3'005'000},
        {"0.12345", Kind::won, 1'234}, // fractions end at the won
        {"0", Kind::won, 0},
        {"", Kind::empty, 0},
        {" \t ", Kind::empty, 0},
        {"삼백", Kind::notANumber, 0},
        {"½", Kind::notANumber, 0}, // numeric, but not a decimal digit
        {"1000000", Kind::won, SalaryText::kMaxMonthlyWon},
        {"1000000.0001", Kind::tooLarge, 0},
        {"1000001", Kind::tooLarge, 0},
        {"99999999999999999999999999999", Kind::tooLarge, 0},
    };
    for (const Case& c : cases) {
        const SalaryText::Reading r = SalaryText::read(QString::fromUtf8(c.typed));
        EXPECT_EQ(r.kind, c.kind) << c.typed;
        EXPECT_EQ(r.won, c.won) << c.typed;
    }
    EXPECT_EQ(SalaryText::display(3'005'000), "300");
    EXPECT_EQ(SalaryText::display(9'999), "0");
    EXPECT_EQ(SalaryText::display(0), "");
    EXPECT_EQ(SalaryText::display(-5), "");
}

TEST(DistractionEntries, StoredAndTypedFormsSplitTrimAndDeduplicate)
{
    EXPECT_EQ(DistractionEntries::fromStored(" YouTube ,, \t,\n reddit.com,유튜브,YouTube"),
              QStringList({"YouTube", "reddit.com", "유튜브", "YouTube"}));
    EXPECT_TRUE(DistractionEntries::contains({"Discord"}, "DISCORD"));

    const QStringList existing{"유튜브", "Reddit.com"};
    struct Case
    {
        const char* typed;
        QStringList added;
    };
    const Case cases[] = {
        {"  https://www.Twitch.tv/some/path?x=1  ", {"twitch.tv"}},
        {"치지직, blog.example.kr，인스타；", {"치지직", "blog.example.kr", "인스타；"}},
        {"유튜브, https://m.reddit.com/r/x", {}}, // both already listed
        {"slack, Slack, SLACK", {"slack"}},
        {"league of legends", {"league of legends"}},
        {" , ,, ", {}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DistractionEntries::typedEntries(QString::fromUtf8(c.typed), existing), c.added)
            << c.typed;
    // What is stored reads back as exactly the same entries.
    const QStringList entries{"유튜브", "blog.example.kr", "league of legends"};
    EXPECT_EQ(DistractionEntries::fromStored(DistractionEntries::toStored(entries)), entries);
}

} // namespace
