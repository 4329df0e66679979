// SPDX-License-Identifier: GPL-3.0-or-later
#include "SlackingFixture.h"

#include "slacking/Hosts.h"
#include "slacking/Wollu.h"

#include <limits>

namespace {

using DayTotalTest = SlackingTest;

TEST_F(DayTotalTest, AccumulatesWithinADayAndStartsOverOnTheNext)
{
    freezeAt(QDate(2026, 3, 10), QTime(23, 59, 55));
    Wollu::add(10);
    Wollu::add(2.5);
    Store::openStandardAt(storePath()); // flushed: a fresh reader sees the same total
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 12.5);
    freezeAt(QDate(2026, 3, 11), QTime(0, 0, 5));
    Wollu::add(10);
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 10.0);
    freezeAt(QDate(2026, 3, 12), QTime(9, 0)); // reading alone on the next day starts over too
    EXPECT_EQ(Wollu::seconds(), 0.0);
}

TEST_F(DayTotalTest, BadAmountsAndBadStoredValuesDoNotCorruptTheTotal)
{
    Wollu::add(100);
    for (double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), -50.0})
        Wollu::add(bad);
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 100.0);
    writeStore("[General]\nwolluDay=2026-3-10\nwolluSec=garbage\n");
    Wollu::add(7);
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 7.0);
}

TEST_F(DayTotalTest, SwitchesPersist)
{
    EXPECT_FALSE(Wollu::disabled() || Wollu::hidden());
    Wollu::setDisabled(true);
    Wollu::toggleHidden();
    Store::openStandardAt(storePath());
    EXPECT_TRUE(Wollu::disabled() && Wollu::hidden());
}

TEST_F(DayTotalTest, ListParsingTrimsLowerCasesAndExpandsKnownNames)
{
    EXPECT_EQ(Wollu::allTokens(), QStringList({"kakaotalk", "카카오톡", "youtube", "instagram",
                                               "netflix", "discord", "twitch"}));
    // Carriage returns from a pasted list separate entries; duplicates and inner spaces stay.
    Wollu::setApps(QStringLiteral("  YouTube\t,, \n\nNews.Example.COM ,reddit\r\na b\ra b"));
    EXPECT_EQ(Wollu::apps(), QStringList({"youtube", "news.example.com", "reddit", "a b", "a b"}));
    EXPECT_EQ(Wollu::tokens(QStringLiteral("  트위터\t")), QStringList({"twitter", "x.com"}));
    EXPECT_EQ(Wollu::tokens(QStringLiteral("당근")), QStringList({"daangn", "karrot"}));
    // Only spaces and tabs pad a name; a line break is part of it.
    EXPECT_EQ(serviceKey(QStringLiteral("\nyoutube")), QStringLiteral("\nyoutube"));
    // People edit the settings file by hand; INI readers split unquoted commas into a list.
    writeStore("[General]\nwolluApps=youtube,레딧,x.com\n");
    EXPECT_EQ(Wollu::allTokens(), QStringList({"youtube", "reddit", "x.com"}));
}

} // namespace
