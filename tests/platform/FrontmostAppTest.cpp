// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestWindow.h"

#include "platform/FrontmostApp.h"
#include "platform/InstalledApps.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>

using DesktopSession::waitFor;

namespace {

class FrontmostAppTest : public DesktopTest
{
protected:
    bool frontIs(FrontmostApp& front, const TestWindow& window)
    {
        return waitFor([&] {
            const auto now = front.current();
            return now && now->pid == window.pid();
        });
    }
};

TEST_F(FrontmostAppTest, FollowsTheWindowInFrontAndItsTitle)
{
    TestWindow slack(QStringLiteral("Slack"), QStringLiteral("slack"),
                     QStringLiteral("general - 우리 팀"));
    TestWindow firefox(QStringLiteral("Firefox-esr"), QStringLiteral("Navigator"),
                       QStringLiteral("YouTube — Mozilla Firefox"));
    ASSERT_TRUE(slack.shown() && firefox.shown());
    ASSERT_TRUE(slack.activate());

    FrontmostApp front;
    QSignalSpy changed(&front, &FrontmostApp::changed);
    ASSERT_TRUE(frontIs(front, slack));
    auto now = front.current();
    EXPECT_EQ(now->windowClass, QStringLiteral("Slack"));
    EXPECT_EQ(now->instance, QStringLiteral("slack"));
    EXPECT_EQ(now->title, QStringLiteral("general - 우리 팀"));
    EXPECT_EQ(now->executable, QFileInfo(QCoreApplication::applicationFilePath()).fileName());

    ASSERT_TRUE(firefox.activate());
    ASSERT_TRUE(frontIs(front, firefox));
    EXPECT_GE(changed.count(), 1);
    EXPECT_EQ(front.current()->windowClass, QStringLiteral("Firefox-esr"));
    EXPECT_EQ(front.current()->instance, QStringLiteral("Navigator"));

    // A page change in the browser is a title change of the same window.
    const qsizetype before = changed.count();
    firefox.setTitle(QStringLiteral("네이버 웹툰 — Mozilla Firefox"));
    ASSERT_TRUE(waitFor([&] {
        return front.current() &&
               front.current()->title == QStringLiteral("네이버 웹툰 — Mozilla Firefox");
    }));
    EXPECT_GT(changed.count(), before);

    // With every window gone the desktop itself is in front: no application.
    firefox.close();
    slack.close();
    EXPECT_TRUE(waitFor([&] { return !front.current(); }));
}

TEST_F(FrontmostAppTest, NamesTheApplicationByItsDesktopEntry)
{
    QTemporaryDir apps;
    const auto entry = [&](const QString& file, const QByteArray& keys) {
        QFile f(apps.filePath(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Desktop Entry]\nType=Application\n" + keys);
    };
    entry(QStringLiteral("slack.desktop"), "Name=Slack\nName[ko]=슬랙\nExec=/usr/bin/slack %U\n");
    entry(QStringLiteral("com.example.Talk.desktop"),
          "Name=Talk\nStartupWMClass=chat-app\nExec=talk\n");
    entry(QStringLiteral("runner.desktop"),
          "Name=Runner\nExec=env GDK_BACKEND=x11 \"/opt/some where/" +
              QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + "\" %u\n");
    setApplicationDirs({apps.path()});
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));

    // Found by the file name, by StartupWMClass, and by the program the window's process runs.
    const struct
    {
        QString windowClass, instance, appName;
    } cases[] = {
        {QStringLiteral("Slack"), QStringLiteral("slack"), QStringLiteral("슬랙")},
        {QStringLiteral("Chat-app"), QStringLiteral("chat-app"), QStringLiteral("Talk")},
        {QStringLiteral("Unlisted"), QStringLiteral("unlisted"), QStringLiteral("Runner")},
    };
    FrontmostApp front;
    for (const auto& c : cases) {
        TestWindow window(c.windowClass, c.instance, QStringLiteral("창"));
        ASSERT_TRUE(window.shown() && window.activate());
        ASSERT_TRUE(frontIs(front, window)) << c.windowClass.toStdString();
        EXPECT_EQ(front.current()->appName, c.appName) << c.windowClass.toStdString();
    }
    QLocale::setDefault(QLocale::system());
    setApplicationDirs({});
}

TEST_F(FrontmostAppTest, WithoutWindowManagerTheInputFocusCounts)
{
    DesktopSession::stopWindowManager();
    DesktopSession::run(
        QStringLiteral("xprop"),
        {QStringLiteral("-root"), QStringLiteral("-remove"), QStringLiteral("_NET_ACTIVE_WINDOW")});
    TestWindow first(QStringLiteral("Discord"), QStringLiteral("discord"), QStringLiteral("친구"));
    TestWindow second(QStringLiteral("Steam"), QStringLiteral("steam"), QStringLiteral("상점"));
    ASSERT_TRUE(first.shown() && second.shown());
    ASSERT_TRUE(first.focus());

    FrontmostApp front;
    ASSERT_TRUE(frontIs(front, first));
    EXPECT_EQ(front.current()->windowClass, QStringLiteral("Discord"));

    QSignalSpy changed(&front, &FrontmostApp::changed);
    ASSERT_TRUE(second.focus());
    EXPECT_TRUE(frontIs(front, second));
    EXPECT_GE(changed.count(), 1);
}

} // namespace
