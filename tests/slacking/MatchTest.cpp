#include "SlackingFixture.h"

#include "Hosts.h"
#include "Wollu.h"

#include <optional>

namespace {

struct MatchCase
{
    const char* list;
    std::optional<const char*> input;
    bool expected;
};

std::optional<QString> optionalText(std::optional<const char*> text)
{
    if (!text)
        return std::nullopt;
    return QString::fromUtf8(*text);
}

void PrintTo(const MatchCase& c, std::ostream* os)
{
    *os << "list=\"" << c.list << "\" input=" << (c.input ? *c.input : "(none)");
}

class AppMatchTest : public SlackingTest, public ::testing::WithParamInterface<MatchCase>
{};

TEST_P(AppMatchTest, MatchesFrontmostAppName)
{
    Wollu::setApps(QString::fromUtf8(GetParam().list));
    EXPECT_EQ(Wollu::isDistraction(optionalText(GetParam().input)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AppMatchTest,
    ::testing::Values(
        // the name contains a token
        MatchCase{"카카오톡", "KakaoTalk", true}, MatchCase{"카톡", "카카오톡", true},
        MatchCase{"discord", "Discord PTB", true}, MatchCase{"유튜브", "YouTube Music", true},
        // a token contains the name
        MatchCase{"유튜브", "Tube", true}, MatchCase{"텔레그램", "Telegram", true},
        // a short user entry is fine for apps
        MatchCase{"qq", "QQ Music", true}, MatchCase{"slack", "Safari", false},
        MatchCase{"유튜브", "Terminal", false}, MatchCase{"유튜브", "", false},
        MatchCase{"유튜브", std::nullopt, false}, MatchCase{"", "Anything", false}));

class UrlMatchTest : public SlackingTest, public ::testing::WithParamInterface<MatchCase>
{};

TEST_P(UrlMatchTest, MatchesActiveTabAddress)
{
    Wollu::setApps(QString::fromUtf8(GetParam().list));
    EXPECT_EQ(Wollu::matchesURL(optionalText(GetParam().input)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UrlMatchTest,
    ::testing::Values(
        // a domain token matches the host itself and its subdomains, at a dot only
        MatchCase{"트위터", "https://x.com/home", true},
        MatchCase{"트위터", "https://m.x.com/", true}, MatchCase{"트위터", "x.com", true},
        MatchCase{"트위터", "https://www.x.com/i/flow", true},
        MatchCase{"트위터", "https://pro.x.com/", true},
        MatchCase{"트위터", "https://fox.com/news", false},
        MatchCase{"트위터", "https://x.com.evil.example/", false},
        MatchCase{"트위터", "https://mobile.twitter.com/", true},
        // a word token matches anywhere in the host but never in the path
        MatchCase{"유튜브", "https://www.youtube.com/watch?v=1", true},
        MatchCase{"유튜브", "https://google.com/search?q=youtube", false},
        MatchCase{"유튜브", "https://example.com/@youtube", false},
        MatchCase{"naver", "HTTPS://News.Naver.com", true},
        // tokens shorter than three visible characters never match an address
        MatchCase{"qq", "https://qq.com/", false}, MatchCase{"ab", "https://lab.com/", false},
        MatchCase{"블로그", "https://블로그.kr/", true},
        MatchCase{"news.example.com", "https://news.example.com/a", true},
        MatchCase{"news.example.com", "https://example.com/", false},
        // no usable address
        MatchCase{"유튜브", "", false}, MatchCase{"유튜브", std::nullopt, false},
        MatchCase{"유튜브", "https:///watch", false}));

struct HostCase
{
    const char* address;
    std::optional<const char*> host;
};

void PrintTo(const HostCase& c, std::ostream* os)
{
    *os << '"' << c.address << '"';
}

class HostOfTest : public ::testing::TestWithParam<HostCase>
{};

TEST_P(HostOfTest, CutsTheHost)
{
    EXPECT_EQ(hostOf(QString::fromUtf8(GetParam().address)), optionalText(GetParam().host));
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostOfTest,
    ::testing::Values(HostCase{"https://user:pw@www.Example.com:8443/path/a?q=1#frag",
                               "example.com"},
                      HostCase{"  http://m.youtube.com/watch\t", "youtube.com"},
                      HostCase{"https://www.m.naver.com", "naver.com"},
                      HostCase{"https://m.www.naver.com", "www.naver.com"},
                      HostCase{"youtube.com/@channel", "youtube.com"},
                      HostCase{"https://youtube.com/@channel", "youtube.com"},
                      HostCase{"example.com.", "example.com"}, HostCase{"..a.b..", "a.b"},
                      HostCase{"https://host?x=a://b", "host"},
                      HostCase{"localhost:8080", "localhost"}, HostCase{"www.", std::nullopt},
                      HostCase{"", std::nullopt}, HostCase{" \t ", std::nullopt},
                      HostCase{"https://", std::nullopt}, HostCase{"/just/a/path", std::nullopt}));

struct NormalizeCase
{
    const char* entry;
    const char* expected;
};

void PrintTo(const NormalizeCase& c, std::ostream* os)
{
    *os << '"' << c.entry << '"';
}

class NormalizeEntryTest : public ::testing::TestWithParam<NormalizeCase>
{};

TEST_P(NormalizeEntryTest, TurnsAddressesIntoHosts)
{
    EXPECT_EQ(normalizeEntry(QString::fromUtf8(GetParam().entry)),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, NormalizeEntryTest,
    ::testing::Values(NormalizeCase{"https://www.YouTube.com/watch?v=1", "youtube.com"},
                      NormalizeCase{"  News.Ycombinator.com\t", "news.ycombinator.com"},
                      NormalizeCase{"  Hacker News ", "Hacker News"},
                      NormalizeCase{"Mr. Robot", "Mr. Robot"}, NormalizeCase{"...", "..."},
                      NormalizeCase{"", ""}));

TEST_F(SlackingTest, ChangedListTakesEffectOnNextMatch)
{
    Wollu::setApps(QStringLiteral("reddit"));
    EXPECT_TRUE(Wollu::matchesURL(QStringLiteral("https://www.reddit.com/")));
    EXPECT_FALSE(Wollu::isDistraction(QStringLiteral("Slack")));

    Wollu::setApps(QStringLiteral("slack"));
    EXPECT_FALSE(Wollu::matchesURL(QStringLiteral("https://www.reddit.com/")));
    EXPECT_TRUE(Wollu::isDistraction(QStringLiteral("Slack")));

    // A store swapped underneath (another file) is noticed as well.
    Store::openStandardAt(storePath() + QStringLiteral(".other"));
    EXPECT_EQ(Wollu::appsRaw(), Wollu::defaultApps);
    EXPECT_TRUE(Wollu::matchesURL(QStringLiteral("https://www.youtube.com/")));
}

} // namespace
