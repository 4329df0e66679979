// SPDX-License-Identifier: GPL-3.0-or-later
// The real binary, ended the way a logout, a service manager or `kill` ends it.
#include "Sandbox.h"
#include "TestServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

class Exit : public testing::Test
{
protected:
    void SetUp() override { home.useAsHome(); }

    // Starts tockwork with analytics aimed at `baseUrl` and waits until it counted its launch.
    void launch(const QString& baseUrl, int launchesCounted)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("TZ", "Asia/Seoul");
        env.insert("TOCKWORK_ANALYTICS_URL", baseUrl);
        env.insert("TOCKWORK_ANALYTICS_TOKEN", "0123456789abcdef0123456789abcdef");
        env.remove("DBUS_SESSION_BUS_ADDRESS");
        app.setProcessEnvironment(env);
        app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app.start(TOCKWORK_EXE, {});
        ASSERT_TRUE(app.waitForStarted(10000));
        const QDeadlineTimer deadline(20000);
        while (QSettings(home.storePath(), QSettings::IniFormat)
                   .value("analyticsLaunchCount")
                   .toInt() < launchesCounted) {
            ASSERT_FALSE(deadline.hasExpired()) << "tockwork never recorded its launch";
            ASSERT_EQ(app.state(), QProcess::Running);
            QThread::msleep(20);
        }
    }

    // Sends `signal` and expects an orderly exit.
    void end(int signal)
    {
        ::kill(pid_t(app.processId()), signal);
        ASSERT_TRUE(app.waitForFinished(20000)) << "still running after signal " << signal;
        EXPECT_EQ(app.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(app.exitCode(), 0) << signal;
    }

    // The properties of the first queued event of that name.
    QJsonObject queuedProperties(const QString& event) const
    {
        QFile file(home.filePath("data/tockwork/analytics-queue.json"));
        if (file.open(QIODevice::ReadOnly))
            for (const QJsonValue& record : QJsonDocument::fromJson(file.readAll()).array())
                if (record["event"].toString() == event)
                    return record["properties"].toObject();
        return {};
    }

    void writeAutostartEntry(const QByteArray& switches)
    {
        QDir().mkpath(home.filePath("config/autostart"));
        QFile entry(home.filePath("config/autostart/tockwork.desktop"));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=톡웍\nExec=" +
                    QFileInfo(TOCKWORK_EXE).canonicalFilePath().toUtf8() + "\n" + switches);
    }

    QStringList queuedEvents() const
    {
        QFile file(home.filePath("data/tockwork/analytics-queue.json"));
        QStringList names;
        if (file.open(QIODevice::ReadOnly))
            for (const QJsonValue& record : QJsonDocument::fromJson(file.readAll()).array())
                names.append(record["event"].toString());
        return names;
    }

    StoreSandbox home;
    QProcess app;
    int launches = 0;
};

TEST_F(Exit, SignalsQuitInOrderAndKeepTheFirstLaunchForTheNextOne)
{
    // Nothing listens on the discard port: the first launch's events cannot leave.
    launch("http://127.0.0.1:9", 1);
    end(SIGTERM);
    const QStringList queued = queuedEvents();
    EXPECT_TRUE(queued.contains("App Installed")) << queued.join(", ").toStdString();
    EXPECT_TRUE(queued.contains("App Launched")) << queued.join(", ").toStdString();
    EXPECT_FALSE(queued.contains("App Quit")) << "a signal is not the user's choice to quit";

    TestServer server;
    launch(server.baseUrl(), 2);
    const QDeadlineTimer deadline(20000);
    auto received = [&] {
        QStringList names;
        for (const QJsonValue& record : server.records())
            names.append(record["event"].toString());
        return names;
    };
    while (!(received().contains("App Installed") && received().count("App Launched") == 2)) {
        ASSERT_FALSE(deadline.hasExpired()) << received().join(", ").toStdString();
        QThread::msleep(20);
    }
    end(SIGINT);

    launch(server.baseUrl(), 3);
    end(SIGHUP);
    EXPECT_FALSE(received().contains("App Quit"));
}

TEST_F(Exit, EventsSayWhetherItStartsAtLoginAndWhichReleaseRunsIt)
{
    // The start-at-login entry's switch, and what the launch then says about itself: switched
    // off in the desktop's settings, the entry stays and nothing starts at login. The version is
    // the build's, never "unknown".
    struct Row
    {
        QByteArray entrySwitch;
        const char* expected;
    };
    const Row rows[] = {
        {"Hidden=true\n", R"({"is_login_item": false})"},
        {"X-GNOME-Autostart-enabled=false\n", R"({"is_login_item": false})"},
        {"X-GNOME-Autostart-enabled=true\n", R"({"is_login_item": true})"},
    };
    QJsonObject launched;
    for (const Row& row : rows) {
        writeAutostartEntry(row.entrySwitch);
        QFile::remove(home.filePath("data/tockwork/analytics-queue.json"));
        launch("http://127.0.0.1:9", ++launches);
        end(SIGTERM);
        launched = queuedProperties("App Launched");
        ASSERT_FALSE(launched.isEmpty()) << row.entrySwitch.constData();
        QJsonObject expected = QJsonDocument::fromJson(row.expected).object();
        expected["app_version"] = TOCKWORK_VERSION_EXPECTED;
        expected["app_build"] = TOCKWORK_VERSION_EXPECTED;
        for (auto it = expected.begin(); it != expected.end(); ++it)
            EXPECT_EQ(launched[it.key()], it.value())
                << it.key().toStdString() << " after " << row.entrySwitch.constData();
    }

    QFile osRelease("/etc/os-release");
    if (!osRelease.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "this system has no /etc/os-release to compare with";
    const QByteArray text = osRelease.readAll();
    const auto field = [&](const char* key) {
        for (const QByteArray& line : text.split('\n'))
            if (line.startsWith(QByteArray(key).append('=')))
                return QString::fromUtf8(line.mid(qstrlen(key) + 1)).remove(u'"');
        return QString();
    };
    if (field("VERSION_ID").isEmpty() || !field("VERSION_ID").front().isDigit())
        GTEST_SKIP() << "this system's os-release has no numeric VERSION_ID";
    EXPECT_EQ(launched["$os"].toString(), field("NAME"));
    const QString major = field("VERSION_ID").section(u'.', 0, 0) + u'.';
    EXPECT_TRUE(launched["os_version"].toString().startsWith(major))
        << launched["os_version"].toString().toStdString();
}

TEST_F(Exit, ASecondStartLeavesTheFirstAloneAndACrashedFirstBlocksNothing)
{
    launch("http://127.0.0.1:9", 1);

    QProcess second;
    second.setProcessEnvironment(app.processEnvironment());
    second.start(TOCKWORK_EXE, {});
    ASSERT_TRUE(second.waitForFinished(20000)) << "a second start kept running";
    EXPECT_EQ(second.exitCode(), 0);
    const QByteArray said = second.readAllStandardError();
    EXPECT_EQ(said.count("tockwork:"), 1) << said.toStdString();
    EXPECT_TRUE(said.contains("tockwork: already running")) << said.toStdString();
    EXPECT_EQ(app.state(), QProcess::Running);

    // A scripted demo runs beside the instance.
    QProcess demo;
    demo.setProcessEnvironment(app.processEnvironment());
    demo.start(TOCKWORK_EXE, {"--state", "working"});
    ASSERT_TRUE(demo.waitForStarted(10000));
    EXPECT_FALSE(demo.waitForFinished(1500)) << demo.readAllStandardError().toStdString();
    demo.kill();
    demo.waitForFinished();

    // A crash leaves the lock file behind, and the next start still becomes the instance.
    app.kill();
    app.waitForFinished();
    launch("http://127.0.0.1:9", 2);
    end(SIGTERM);
}

} // namespace

// The local server's thread needs an application object for its event loop.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
