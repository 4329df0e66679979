// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestWindow.h"

#include "platform/InstalledApps.h"
#include "platform/RunningApps.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QRasterWindow>
#include <QTemporaryDir>

using DesktopSession::waitFor;

namespace {

QStringList names(const QList<RunningApp>& apps)
{
    QStringList out;
    for (const RunningApp& app : apps)
        out << app.name;
    return out;
}

const RunningApp* find(const QList<RunningApp>& apps, const QString& name)
{
    for (const RunningApp& app : apps)
        if (app.name == name)
            return &app;
    return nullptr;
}

// _NET_WM_ICON as xprop writes it (64 words at most): width, height, then opaque red ARGB pixels.
QString redIcon7()
{
    QStringList words{QStringLiteral("7"), QStringLiteral("7")};
    for (int i = 0; i < 7 * 7; ++i)
        words << QString::number(0xffff0000u);
    return words.join(u',');
}

QRgb centre(const QIcon& icon)
{
    const QImage image = icon.pixmap(16, 16).toImage();
    return image.pixel(image.width() / 2, image.height() / 2);
}

// Whether a window manager runs: the window its root property names still exists (a test before
// this one may have stopped it, and without one there is no client list to read).
bool windowManagerRuns()
{
    QProcess root;
    root.start(QStringLiteral("xprop"),
               {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    root.waitForFinished(5000);
    const QString id =
        QString::fromLatin1(root.readAllStandardOutput()).section(u' ', -1).trimmed();
    return id.startsWith(QLatin1String("0x")) &&
           DesktopSession::run(QStringLiteral("xprop"),
                               {QStringLiteral("-id"), id, QStringLiteral("WM_NAME")}) == 0;
}

class RunningAppsTest : public DesktopTest
{
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        if (IsSkipped())
            return;
        if (!windowManagerRuns())
            GTEST_SKIP() << "no window manager runs (an earlier test stopped it)";
        QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
        setApplicationDirs({apps_.path()});
    }
    void TearDown() override
    {
        setApplicationDirs({});
        QLocale::setDefault(previousLocale_);
    }
    void entry(const QString& file, const QByteArray& keys)
    {
        QFile f(apps_.filePath(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Desktop Entry]\nType=Application\n" + keys);
    }
    QString picture(const QString& name, const QColor& colour)
    {
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(colour);
        const QString path = apps_.filePath(name);
        image.save(path);
        return path;
    }

    QTemporaryDir apps_;
    const QLocale previousLocale_;
};

TEST_F(RunningAppsTest, EachApplicationOnceByItsDesktopNameWithItsIcon)
{
    entry(QStringLiteral("slack.desktop"),
          "Name=Slack\nName[ko]=슬랙\nExec=/usr/bin/slack %U\nIcon=" +
              picture(QStringLiteral("slack.png"), Qt::green).toUtf8() + '\n');
    TestWindow slack(QStringLiteral("Slack"), QStringLiteral("slack"), QStringLiteral("general"));
    TestWindow slackAgain(QStringLiteral("Slack"), QStringLiteral("slack"), QStringLiteral("dm"));
    TestWindow game(QStringLiteral("SomeGame"), QStringLiteral("somegame"), QStringLiteral("Game"));
    TestWindow tool(QStringLiteral("Panel"), QStringLiteral("panel"), QStringLiteral("off bar"));
    ASSERT_TRUE(slack.shown() && slackAgain.shown() && game.shown() && tool.shown());
    // A window drawn with its own picture, and one kept off the taskbar (a desktop widget).
    ASSERT_EQ(DesktopSession::run(QStringLiteral("xprop"),
                                  {QStringLiteral("-id"), QString::number(game.id()),
                                   QStringLiteral("-f"), QStringLiteral("_NET_WM_ICON"),
                                   QStringLiteral("32c"), QStringLiteral("-set"),
                                   QStringLiteral("_NET_WM_ICON"), redIcon7()}),
              0);
    ASSERT_EQ(DesktopSession::run(
                  QStringLiteral("xprop"),
                  {QStringLiteral("-id"), QString::number(tool.id()), QStringLiteral("-f"),
                   QStringLiteral("_NET_WM_STATE"), QStringLiteral("32a"), QStringLiteral("-set"),
                   QStringLiteral("_NET_WM_STATE"), QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")}),
              0);
    // A window of this application is never one of the applications to list.
    QRasterWindow own;
    own.resize(100, 80);
    own.show();

    QList<RunningApp> apps;
    ASSERT_TRUE(waitFor([&] {
        apps = RunningApps::list();
        return names(apps) == QStringList({QStringLiteral("슬랙"), QStringLiteral("SomeGame")});
    })) << names(apps).join(u',').toStdString();
    EXPECT_EQ(centre(find(apps, QStringLiteral("슬랙"))->icon), qRgb(0, 255, 0));
    EXPECT_EQ(centre(find(apps, QStringLiteral("SomeGame"))->icon), qRgb(255, 0, 0));

    game.close();
    slack.close();
    slackAgain.close();
    EXPECT_TRUE(waitFor([] { return RunningApps::list().isEmpty(); }));
}

} // namespace
