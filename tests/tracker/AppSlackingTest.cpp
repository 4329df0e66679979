// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TestWindow.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

using DesktopSession::waitFor;

namespace {

// The tray application itself, on the throw-away desktop, with a listed app in front: its store
// file shows the day's slacking seconds growing poll by poll, and the terminal companion shows
// them. Real time: two polls of about 10 seconds. Once with Qt drawing through X, once with Qt
// drawing elsewhere (offscreen, as under Qt's Wayland plugin), where the X11 windows in front are
// still seen through a connection of the tracker's own.
class AppSlackingTest : public DesktopTest, public testing::WithParamInterface<const char*>
{
protected:
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLatin1(GetParam()));
        return env;
    }
    QString storePath() const
    {
        return home.filePath(QStringLiteral("config/tockwork/tockwork.conf"));
    }
    double storedSeconds() const
    {
        return QSettings(storePath(), QSettings::IniFormat)
            .value(QStringLiteral("wolluSec"))
            .toDouble();
    }

    QTemporaryDir home;
};

TEST_P(AppSlackingTest, TheRunningAppCountsAListedAppInFrontIntoTheStore)
{
    const QDateTime now = QDateTime::currentDateTime();
    const int minute = now.time().hour() * 60 + now.time().minute();
    if (minute < 2 || minute > 24 * 60 - 3)
        GTEST_SKIP() << "too close to midnight for a working day around now";
    // A working day around the present minute, on any day of the week, with 50 seconds of
    // slacking already counted today.
    QDir().mkpath(QFileInfo(storePath()).absolutePath());
    {
        QSettings store(storePath(), QSettings::IniFormat);
        store.setValue(QStringLiteral("workStart"), std::max(0, minute - 30));
        store.setValue(QStringLiteral("workEnd"), std::min(24 * 60 - 1, minute + 60));
        store.setValue(QStringLiteral("lunchStart"), std::min(24 * 60 - 1, minute + 60));
        store.setValue(QStringLiteral("lunchEnd"), std::min(24 * 60 - 1, minute + 60));
        store.setValue(QStringLiteral("monthlySalaryWon"), 3000000);
        store.setValue(QStringLiteral("excludeWeekend"), false);
        store.setValue(QStringLiteral("wolluApps"), QStringLiteral("디스코드"));
        store.setValue(QStringLiteral("wolluDay"), now.date().toString(QStringLiteral("yyyy-M-d")));
        store.setValue(QStringLiteral("wolluSec"), 50.0);
    }
    TestWindow discord(QStringLiteral("discord"), QStringLiteral("discord"),
                       QStringLiteral("#general - Discord"));
    ASSERT_TRUE(discord.shown() && discord.activate());

    QProcess app;
    app.setProcessEnvironment(environment());
    app.setProcessChannelMode(QProcess::ForwardedChannels);
    app.start(QStringLiteral(TOCKWORK_EXE), {});
    ASSERT_TRUE(app.waitForStarted());

    // Each poll adds the time since the one before, and Qt's coarse timer may fire a poll up to
    // 5 % early: a poll's worth is 9.5 seconds or more. The start itself may be slow on a busy
    // machine, so the first poll gets time of its own.
    ASSERT_TRUE(waitFor([&] { return storedSeconds() >= 59; }, std::chrono::seconds(45)))
        << storedSeconds();
    const double afterFirstPoll = storedSeconds();
    ASSERT_TRUE(
        waitFor([&] { return storedSeconds() >= afterFirstPoll + 9; }, std::chrono::seconds(20)))
        << storedSeconds();

    QProcess cli;
    cli.setProcessEnvironment(environment());
    cli.start(QStringLiteral(TOCKWORK_CLI), {QStringLiteral("status")});
    ASSERT_TRUE(cli.waitForFinished(10000));
    const QString shown = QString::fromUtf8(cli.readAllStandardOutput());
    EXPECT_TRUE(shown.contains(QStringLiteral("1분")) && shown.contains(QStringLiteral("딴짓")))
        << shown.toStdString();

    app.terminate();
    ASSERT_TRUE(app.waitForFinished(10000));
    EXPECT_EQ(app.exitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(QtPlatform, AppSlackingTest, testing::Values("xcb", "offscreen"));

} // namespace
