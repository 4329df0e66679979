#include "SlackingFixture.h"

#include "Hosts.h"
#include "Wollu.h"

#include <optional>

namespace {

std::optional<QString> text(const char* s)
{
    return s ? std::optional<QString>(QString::fromUtf8(s)) : std::nullopt;
}

// list, the app name or address (nullptr = none), expected answer
using MatchCase = std::tuple<const char*, const char*, bool>;

class AppMatchTest : public SlackingTest, public ::testing::WithParamInterface<MatchCase>
{};

TEST_P(AppMatchTest, MatchesFrontmostAppName)
{
    const auto& [list, name, expected] = GetParam();
    Wollu::setApps(QString::fromUtf8(list));
    EXPECT_EQ(Wollu::isDistraction(text(name)), expected) << list << " / " << (name ? name : "-");
}

INSTANTIATE_TEST_SUITE_P(
    Table, AppMatchTest,
    ::testing::Values(MatchCase{"카카오톡", "KakaoTalk", true}, MatchCase{"카톡", "카카오톡", true},
                      MatchCase{"유튜브", "YouTube Music", true},
                      MatchCase{"유튜브", "Tube", true}, // the token contains the name
                      MatchCase{"qq", "QQ Music", true}, // short entries are fine for apps
                      MatchCase{"slack", "Safari", false}, MatchCase{"유튜브", "", false},
                      MatchCase{"유튜브", nullptr, false}, MatchCase{"", "Anything", false}));

class UrlMatchTest : public SlackingTest, public ::testing::WithParamInterface<MatchCase>
{};

TEST_P(UrlMatchTest, MatchesActiveTabAddress)
{
    const auto& [list, url, expected] = GetParam();
    Wollu::setApps(QString::fromUtf8(list));
    EXPECT_EQ(Wollu::matchesURL(text(url)), expected) << list << " / " << (url ? url : "-");
}

INSTANTIATE_TEST_SUITE_P(Table, UrlMatchTest,
                         ::testing::Values(
                             // a domain token matches the host and its subdomains, at a dot only
                             MatchCase{"트위터", "https://x.com/home", true},
                             MatchCase{"트위터", "x.com", true},
                             MatchCase{"트위터", "https://m.x.com/", true},
                             MatchCase{"트위터", "https://www.x.com/i/flow", true},
                             MatchCase{"트위터", "https://pro.x.com/", true},
                             MatchCase{"트위터", "https://fox.com/news", false},
                             MatchCase{"트위터", "https://x.com.evil.example/", false},
                             MatchCase{"트위터", "https://mobile.twitter.com/", true},
                             // a word token matches anywhere in the host, never in the path
                             MatchCase{"유튜브", "https://www.youtube.com/watch?v=1", true},
                             MatchCase{"유튜브", "https://google.com/search?q=youtube", false},
                             MatchCase{"유튜브", "https://example.com/@youtube", false},
                             MatchCase{"naver", "HTTPS://News.Naver.com", true},
                             // fewer than three visible characters never match an address
                             MatchCase{"qq", "https://qq.com/", false},
                             MatchCase{"블로그", "https://블로그.kr/", true},
                             MatchCase{"유튜브", "", false}, MatchCase{"유튜브", nullptr, false},
                             MatchCase{"유튜브", "https:///watch", false}));

class HostOfTest : public ::testing::TestWithParam<std::pair<const char*, const char*>>
{};

TEST_P(HostOfTest, CutsTheHost)
{
    EXPECT_EQ(hostOf(QString::fromUtf8(GetParam().first)), text(GetParam().second))
        << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostOfTest,
    ::testing::Values(std::pair{"https://user:pw@www.Example.com:8443/p/a?q=1#f", "example.com"},
                      std::pair{"  http://m.youtube.com/watch\t", "youtube.com"},
                      std::pair{"https://www.m.naver.com", "naver.com"},
                      std::pair{"https://m.www.naver.com", "www.naver.com"},
                      std::pair{"https://youtube.com/@channel", "youtube.com"},
                      std::pair{"..a.b..", "a.b"}, std::pair{"https://host?x=a://b", "host"},
                      std::pair{"localhost:8080", "localhost"},
                      std::pair{"www.", (const char*)nullptr},
                      std::pair{" \t ", (const char*)nullptr},
                      std::pair{"/just/a/path", (const char*)nullptr}));

class NormalizeEntryTest : public ::testing::TestWithParam<std::pair<const char*, const char*>>
{};

TEST_P(NormalizeEntryTest, TurnsAddressesIntoHosts)
{
    EXPECT_EQ(normalizeEntry(QString::fromUtf8(GetParam().first)),
              QString::fromUtf8(GetParam().second));
}

INSTANTIATE_TEST_SUITE_P(
    Table, NormalizeEntryTest,
    ::testing::Values(std::pair{"https://www.YouTube.com/watch", "youtube.com"},
                      std::pair{" News.Ycombinator.com\t", "news.ycombinator.com"},
                      std::pair{"  Hacker News ", "Hacker News"},
                      std::pair{"Mr. Robot", "Mr. Robot"}, std::pair{"...", "..."}));

TEST_F(SlackingTest, ChangedListTakesEffectOnNextMatch)
{
    Wollu::setApps(QStringLiteral("reddit"));
    EXPECT_TRUE(Wollu::matchesURL(QStringLiteral("https://www.reddit.com/")));
    Wollu::setApps(QStringLiteral("slack"));
    EXPECT_FALSE(Wollu::matchesURL(QStringLiteral("https://www.reddit.com/")));
    EXPECT_TRUE(Wollu::isDistraction(QStringLiteral("Slack")));

    // Another store file underneath is noticed as well.
    Store::openStandardAt(storePath() + QStringLiteral(".other"));
    EXPECT_TRUE(Wollu::matchesURL(QStringLiteral("https://www.youtube.com/")));
}

} // namespace
