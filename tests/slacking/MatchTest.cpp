// SPDX-License-Identifier: GPL-3.0-or-later
#include "SlackingFixture.h"

#include "slacking/Hosts.h"
#include "slacking/Wollu.h"

#include <optional>

namespace {

std::optional<QString> text(const char* s)
{
    return s ? std::optional<QString>(QString::fromUtf8(s)) : std::nullopt;
}

struct M
{
    const char* list;
    const char* nameOrAddress; // nullptr = none
    bool expected;
};

TEST_F(SlackingTest, AppNamesMatchTokensBothWays)
{
    for (const M& c : {M{"카카오톡", "KakaoTalk", true}, M{"카톡", "카카오톡", true},
                       M{"유튜브", "YouTube Music", true}, M{"유튜브", "Tube", true},
                       M{"qq", "QQ Music", true}, // short entries are fine for apps
                       M{"slack", "Safari", false}, M{"유튜브", "", false},
                       M{"유튜브", nullptr, false}, M{"", "Anything", false}}) {
        Wollu::setApps(QString::fromUtf8(c.list));
        EXPECT_EQ(Wollu::isDistraction(text(c.nameOrAddress)), c.expected)
            << c.list << " / " << (c.nameOrAddress ? c.nameOrAddress : "-");
    }
}

// A domain token matches the host and its subdomains, at a dot only; a word token matches
// anywhere in the host, never in the path; under three visible characters never match.
TEST_F(SlackingTest, AddressesMatchOnTheHostAtDotBoundaries)
{
    for (const M& c : {M{"트위터", "x.com", true}, M{"트위터", "https://m.x.com/", true},
                       M{"트위터", "https://fox.com/news", false},
                       M{"트위터", "https://x.com.evil.example/", false},
                       M{"트위터", "https://mobile.twitter.com/", true},
                       M{"유튜브", "https://www.youtube.com/watch?v=1", true},
                       M{"유튜브", "https://google.com/search?q=youtube", false},
                       M{"유튜브", "https://example.com/@youtube", false},
                       M{"naver", "HTTPS://News.Naver.com", true},
                       M{"qq", "https://qq.com/", false}, M{"블로그", "https://블로그.kr/", true},
                       M{"유튜브", nullptr, false}, M{"유튜브", "https:///watch", false}}) {
        Wollu::setApps(QString::fromUtf8(c.list));
        EXPECT_EQ(Wollu::matchesURL(text(c.nameOrAddress)), c.expected)
            << c.list << " / " << (c.nameOrAddress ? c.nameOrAddress : "-");
    }
    // Another store file underneath is noticed as well.
    Store::openStandardAt(storePath() + QStringLiteral(".other"));
    EXPECT_TRUE(Wollu::matchesURL(QStringLiteral("https://www.youtube.com/")));
}

TEST(Hosts, HostOfCutsTheHostAndEntriesBecomeHosts)
{
    for (const auto& [address, host] :
         {std::pair{"https://user:pw@www.Example.com:8443/p/a?q=1#f", "example.com"},
          std::pair{"  http://m.youtube.com/watch\t", "youtube.com"},
          std::pair{"https://m.www.naver.com", "www.naver.com"}, std::pair{"..a.b..", "a.b"},
          std::pair{"https://host?x=a://b", "host"}, std::pair{"localhost:8080", "localhost"},
          std::pair{"www.", (const char*)nullptr}, std::pair{"/just/a/path", (const char*)nullptr}})
        EXPECT_EQ(hostOf(QString::fromUtf8(address)), text(host)) << address;
    EXPECT_EQ(normalizeEntry(QStringLiteral("https://www.YouTube.com/watch")), "youtube.com");
    EXPECT_EQ(normalizeEntry(QStringLiteral("  Hacker News ")), "Hacker News");
    EXPECT_EQ(normalizeEntry(QStringLiteral("Mr. Robot")), "Mr. Robot");
}

} // namespace
