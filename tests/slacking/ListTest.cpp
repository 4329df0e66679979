#include "SlackingFixture.h"

#include "Hosts.h"
#include "KnownServices.h"
#include "Wollu.h"

#include <QFile>

namespace {

using ListTest = SlackingTest;

TEST_F(ListTest, DefaultListExpandsToKnownTokens)
{
    EXPECT_EQ(Wollu::appsRaw(), Wollu::defaultApps);
    EXPECT_EQ(Wollu::apps(),
              QStringList({"카카오톡", "유튜브", "인스타그램", "넷플릭스", "디스코드", "트위치"}));
    EXPECT_EQ(Wollu::allTokens(), QStringList({"kakaotalk", "카카오톡", "youtube", "instagram",
                                               "netflix", "discord", "twitch"}));
}

TEST_F(ListTest, ParsingTrimsLowerCasesAndDropsEmptyPieces)
{
    Wollu::setApps(QStringLiteral("  YouTube\t,, \n\nNews.Example.COM ,"));
    EXPECT_EQ(Wollu::apps(), QStringList({"youtube", "news.example.com"}));

    // Carriage returns from a pasted list separate entries instead of sticking to them.
    Wollu::setApps(QStringLiteral("reddit\r\nslack\rfoo"));
    EXPECT_EQ(Wollu::apps(), QStringList({"reddit", "slack", "foo"}));

    // Duplicates stay; only spaces and tabs are trimmed, inner spaces are kept.
    Wollu::setApps(QStringLiteral("a b,a b"));
    EXPECT_EQ(Wollu::apps(), QStringList({"a b", "a b"}));

    Wollu::setApps(QStringLiteral(" , \t,\n"));
    EXPECT_TRUE(Wollu::apps().isEmpty());
    EXPECT_TRUE(Wollu::allTokens().isEmpty());
}

TEST_F(ListTest, StoredTextIsKeptVerbatimAcrossReopen)
{
    const QString text = QStringLiteral(" 유튜브 ,  x.com\n레딧,");
    Wollu::setApps(text);
    Store::openStandardAt(storePath());
    EXPECT_EQ(Wollu::appsRaw(), text);
    EXPECT_EQ(Wollu::apps(), QStringList({"유튜브", "x.com", "레딧"}));
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
    EXPECT_EQ(Wollu::tokens(QStringLiteral("카톡")), QStringList({"kakaotalk", "카카오톡"}));
    EXPECT_EQ(Wollu::tokens(QStringLiteral("Hacker News")), QStringList({"hacker news"}));
}

TEST(KnownServicesTable, HasEveryNameOnce)
{
    const auto& table = KNOWN_SERVICES();
    EXPECT_EQ(table.size(), 41);
    for (auto it = table.cbegin(); it != table.cend(); ++it) {
        EXPECT_EQ(it.key(), serviceKey(it.key())) << it.key().toStdString();
        EXPECT_FALSE(it->tokens.isEmpty()) << it.key().toStdString();
    }
    EXPECT_EQ(table.value(QStringLiteral("슬랙")).kind, QStringLiteral("앱, 사이트"));
    EXPECT_EQ(table.value(QStringLiteral("kakaotalk")).kind, QStringLiteral("앱"));
    EXPECT_EQ(table.value(QStringLiteral("치지직")).kind, QStringLiteral("사이트"));
}

TEST(ServiceKey, LowerCasesAndTrimsOnlySpacesAndTabs)
{
    EXPECT_EQ(serviceKey(QStringLiteral(" \tYouTube \t")), QStringLiteral("youtube"));
    EXPECT_EQ(serviceKey(QStringLiteral("You Tube")), QStringLiteral("you tube"));
    EXPECT_EQ(serviceKey(QStringLiteral("\nyoutube")), QStringLiteral("\nyoutube"));
}

} // namespace
