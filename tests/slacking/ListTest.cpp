#include "SlackingFixture.h"

#include "Hosts.h"
#include "KnownServices.h"
#include "Wollu.h"

#include <QFile>

namespace {

using ListTest = SlackingTest;

TEST_F(ListTest, DefaultListExpandsToKnownTokens)
{
    EXPECT_EQ(Wollu::apps(),
              QStringList({"카카오톡", "유튜브", "인스타그램", "넷플릭스", "디스코드", "트위치"}));
    EXPECT_EQ(Wollu::allTokens(), QStringList({"kakaotalk", "카카오톡", "youtube", "instagram",
                                               "netflix", "discord", "twitch"}));
    EXPECT_EQ(KNOWN_SERVICES().size(), 41);
}

TEST_F(ListTest, ParsingTrimsLowerCasesAndDropsEmptyPieces)
{
    Wollu::setApps(QStringLiteral("  YouTube\t,, \n\nNews.Example.COM ,"));
    EXPECT_EQ(Wollu::apps(), QStringList({"youtube", "news.example.com"}));

    // Carriage returns from a pasted list separate entries instead of sticking to them.
    Wollu::setApps(QStringLiteral("reddit\r\nslack\rfoo"));
    EXPECT_EQ(Wollu::apps(), QStringList({"reddit", "slack", "foo"}));

    // Duplicates stay; inner spaces stay.
    Wollu::setApps(QStringLiteral("a b,a b"));
    EXPECT_EQ(Wollu::apps(), QStringList({"a b", "a b"}));

    Wollu::setApps(QStringLiteral(" , \t,\n"));
    EXPECT_TRUE(Wollu::allTokens().isEmpty());
}

// People edit the settings file by hand; INI readers split unquoted commas into a list.
TEST_F(ListTest, HandWrittenUnquotedListReadsBackAsText)
{
    {
        QFile file(storePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[General]\nwolluApps=youtube,레딧,x.com\n");
    }
    Store::openStandardAt(storePath());
    EXPECT_EQ(Wollu::appsRaw(), QStringLiteral("youtube,레딧,x.com"));
    EXPECT_EQ(Wollu::allTokens(), QStringList({"youtube", "reddit", "x.com"}));
}

TEST_F(ListTest, TokensOfOneEntry)
{
    EXPECT_EQ(Wollu::tokens(QStringLiteral("  트위터\t")), QStringList({"twitter", "x.com"}));
    EXPECT_EQ(Wollu::tokens(QStringLiteral("TWITTER")), QStringList({"twitter", "x.com"}));
    EXPECT_EQ(Wollu::tokens(QStringLiteral("당근")), QStringList({"daangn", "karrot"}));
    EXPECT_EQ(Wollu::tokens(QStringLiteral("Hacker News")), QStringList({"hacker news"}));
    // Only spaces and tabs pad a name; a line break is part of it.
    EXPECT_EQ(serviceKey(QStringLiteral(" \tYouTube \t")), QStringLiteral("youtube"));
    EXPECT_EQ(serviceKey(QStringLiteral("\nyoutube")), QStringLiteral("\nyoutube"));
}

} // namespace
