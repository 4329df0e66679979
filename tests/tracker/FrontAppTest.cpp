// SPDX-License-Identifier: GPL-3.0-or-later
#include "tracker/FrontApp.h"
#include "browser/KnownBrowsers.h"

#include "TrackerFixture.h"

namespace {

using FrontAppTest = TrackerTest;

TEST_F(FrontAppTest, CandidatesAreTheDesktopNameThenClassInstanceAndProgram)
{
    FrontWindow w = app(QStringLiteral("Slack"), QStringLiteral("슬랙 메신저"));
    w.instance = QStringLiteral("slack");
    w.executable = QStringLiteral("slack-bin");
    EXPECT_EQ(FrontApp::nameCandidates(w), QStringList({"슬랙 메신저", "Slack", "slack-bin"}));
    w.appName = QStringLiteral("Go");
    w.windowClass = QStringLiteral("qq");
    w.instance = QStringLiteral("qq");
    EXPECT_EQ(FrontApp::nameCandidates(w), QStringList({"slack-bin"}));
    // A browser is known by its desktop name alone.
    w = app(QStringLiteral("Google-chrome"), QStringLiteral("Google Chrome"));
    w.executable = QStringLiteral("chrome");
    EXPECT_EQ(FrontApp::nameCandidates(w), QStringList({"Google Chrome"}));
}

TEST_F(FrontAppTest, BrowsersAreKnownByEitherPartOfTheirWindowClass)
{
    const QPair<QString, QString> rows[] = {
        {"google-chrome", "Google Chrome"},
        {"Chromium", "Chromium"},
        {"brave-browser", "Brave Browser"},
        {"microsoft-edge", "Microsoft Edge"},
        {"naver-whale", "Whale"},
        {"opera", "Opera"},
        {"Vivaldi-stable", "Vivaldi"},
        {"firefox-esr", "Firefox"},
        // Other channels of the same browsers.
        {"Google-chrome-beta", "Google Chrome"},
        {"google-chrome-unstable", "Google Chrome"},
        {"google-chrome-canary", "Google Chrome"},
        {"Microsoft-edge-beta", "Microsoft Edge"},
        {"microsoft-edge-dev", "Microsoft Edge"},
        {"Brave-browser-beta", "Brave Browser"},
        {"brave-browser-nightly", "Brave Browser"},
        {"Vivaldi-snapshot", "Vivaldi"},
        {"firefox-aurora", "Firefox"},
        {"firefox-nightly", "Firefox"},
    };
    for (const auto& [cls, name] : rows)
        EXPECT_EQ(KnownBrowsers::nameForWindowClass(cls, QStringLiteral("x")), name)
            << cls.toStdString();
    EXPECT_EQ(
        KnownBrowsers::nameForWindowClass(QStringLiteral("Navigator"), QStringLiteral("firefox")),
        QStringLiteral("Firefox"));
    EXPECT_FALSE(
        KnownBrowsers::nameForWindowClass(QStringLiteral("XTerm"), QStringLiteral("xterm")));
    EXPECT_EQ(KnownBrowsers::nameForExecutable(QStringLiteral("chrome")),
              QStringLiteral("Google Chrome"));
}

TEST_F(FrontAppTest, OnlyTheWholeSiteSegmentOfATitleMatches)
{
    struct Row
    {
        const char* title;
        const char* browser;
        const char* label; // "" for no match
    };
    const Row rows[] = {
        {"고양이 영상 - YouTube - Chromium", "Chromium", "youtube"},
        {"YouTube - Google Chrome", "Google Chrome", "youtube"},
        {"How I quit YouTube - My blog - Chromium", "Chromium", ""},
        {"YouTube Premium Review - Chromium", "Chromium", ""},
        {"general - 우리 팀 - Slack - Brave", "Brave Browser", "slack"},
        {"NAVER - Whale", "Whale", "naver"},
        {"YouTube - Google Chrome Beta", "Google Chrome", "youtube"},
        {"YouTube - Microsoft\u200b Edge Dev", "Microsoft Edge", "youtube"},
        // 카카오톡 is listed as an app only: a page about it is not the app.
        {"카카오톡 - Chromium", "Chromium", ""},
        {"", "Chromium", ""},
        {"Chromium", "Chromium", ""},
    };
    for (const Row& row : rows) {
        const auto label = FrontApp::siteLabelFromTitle(QString::fromUtf8(row.title),
                                                        QString::fromUtf8(row.browser));
        const QString expected = QString::fromUtf8(row.label);
        if (expected.isEmpty())
            EXPECT_FALSE(label) << row.title;
        else
            EXPECT_EQ(label.value_or(QString()), expected) << row.title;
    }
    // Firefox's em dash, and a service listed by its nickname.
    Wollu::setApps(QStringLiteral("넷플"));
    EXPECT_EQ(FrontApp::siteLabelFromTitle(QStringLiteral("Home — Netflix — Mozilla Firefox"),
                                           QStringLiteral("Firefox")),
              QStringLiteral("netflix"));
    EXPECT_EQ(FrontApp::siteLabelFromTitle(QStringLiteral("Home — Netflix — Firefox Nightly"),
                                           QStringLiteral("Firefox")),
              QStringLiteral("netflix"));
}

} // namespace
