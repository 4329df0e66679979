// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TestWindow.h"

#include "analytics/Analytics.h"
#include "analytics/Testing.h"
#include "browser/BrowserSupport.h"
#include "engine/Clock.h"
#include "slacking/Wollu.h"
#include "tracker/BrowserTabs.h"
#include "tracker/DesktopWollu.h"
#include "tracker/FrontApp.h"
#include "tracker/WolluProbes.h"
#include "tracker/WolluTracker.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "Sandbox.h"
#include "TestServer.h"

using DesktopSession::waitFor;

namespace {

// Debian's Chromium with our extension loaded unpacked and the host registered in its profile:
// the address of the tab in front reaches the tracker. No network: every name resolves nowhere,
// so the tab keeps its address and its title names no site.
class ChromiumExtensionTest : public DesktopTest
{
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        if (IsSkipped())
            return;
        if (QStandardPaths::findExecutable(QStringLiteral("chromium")).isEmpty())
            GTEST_SKIP() << "chromium is not installed";
    }
    void TearDown() override
    {
        Analytics::Testing::reset();
        if (chromium.state() == QProcess::NotRunning)
            return;
        chromium.terminate();
        if (!chromium.waitForFinished(10000))
            chromium.kill();
        chromium.waitForFinished(3000);
    }
    // The analytics events that reached the collector, by name.
    QList<QJsonObject> posted(const QString& event) const
    {
        QList<QJsonObject> found;
        for (const QJsonValue& record : collector.records())
            if (record[QStringLiteral("event")].toString() == event)
                found.append(record[QStringLiteral("properties")].toObject());
        return found;
    }

    QTemporaryDir profile;
    QProcess chromium;
    TestServer collector;
};

TEST_F(ChromiumExtensionTest, TheExtensionReportsTheTabInFrontAndItCounts)
{
    StoreSandbox store;
    FrozenClock clock{QDate(2025, 3, 12), QTime(10, 0)};
    Wollu::setApps(QStringLiteral("유튜브"));
    Analytics::Testing::reset();
    Analytics::Testing::setBaseUrl(collector.baseUrl());
    Analytics::Testing::setFlushPeriodMs(100);
    DesktopWollu wollu;

    const QString hosts = profile.filePath(QStringLiteral("NativeMessagingHosts"));
    ASSERT_TRUE(QDir().mkpath(hosts));
    QFile manifest(hosts + QStringLiteral("/app.tockwork.browser.json"));
    ASSERT_TRUE(manifest.open(QIODevice::WriteOnly));
    manifest.write(BrowserSupport::chromiumManifest(QStringLiteral(TOCKWORK_BROWSER_HOST)));
    manifest.close();

    const QString extension = QStringLiteral(TOCKWORK_EXTENSION_DIR);
    chromium.setProcessChannelMode(QProcess::MergedChannels);
    chromium.setStandardOutputFile(QProcess::nullDevice());
    // As root Chromium refuses to start with its sandbox.
    chromium.start(
        QStringLiteral("chromium"),
        {QStringLiteral("--no-sandbox"), QStringLiteral("--user-data-dir=") + profile.path(),
         QStringLiteral("--load-extension=") + extension,
         QStringLiteral("--disable-extensions-except=") + extension,
         QStringLiteral("--no-first-run"), QStringLiteral("--no-default-browser-check"),
         QStringLiteral("--disable-gpu"), QStringLiteral("--host-resolver-rules=MAP * ~NOTFOUND"),
         QStringLiteral("https://www.youtube.com/watch?v=tockwork")});
    ASSERT_TRUE(chromium.waitForStarted());

    ASSERT_TRUE(waitFor(
        [&] {
            const auto w = wollu.probes().frontWindow();
            return w && FrontApp::browserName(*w) == QStringLiteral("Chromium");
        },
        std::chrono::seconds(40)));
    ASSERT_TRUE(waitFor(
        [&] {
            const auto url = wollu.browserTabs().latest(QStringLiteral("Chromium"),
                                                        wollu.probes().frontWindow()->pid);
            return url && url->contains(QStringLiteral("youtube.com/watch"));
        },
        std::chrono::seconds(40)));
    // The title alone would not have told.
    const FrontWindow front = *wollu.probes().frontWindow();
    EXPECT_FALSE(FrontApp::siteLabelFromTitle(front.title, QStringLiteral("Chromium")))
        << front.title.toStdString();

    Clock::advance(10);
    wollu.poll();
    ASSERT_TRUE(waitFor([&] { return !wollu.tracker().tabURLFetching(); }));
    const auto run = wollu.tracker().openRun();
    ASSERT_TRUE(run);
    EXPECT_EQ(run->reason + u'/' + run->target, QStringLiteral("site/youtube"));
    Clock::advance(10);
    wollu.poll();
    ASSERT_TRUE(waitFor([&] { return !wollu.tracker().tabURLFetching(); }));
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 20);

    // Installing the extension was the consent; the run is reported once it ends.
    wollu.tracker().endWolluRun();
    Analytics::flush();
    ASSERT_TRUE(waitFor([&] { return !posted(QStringLiteral("Wollu Session")).isEmpty(); }));
    const auto consent = posted(QStringLiteral("Automation Permission Result"));
    ASSERT_EQ(consent.size(), 1);
    EXPECT_TRUE(consent[0][QStringLiteral("granted")].toBool());
    EXPECT_EQ(consent[0][QStringLiteral("browser")].toString(), QStringLiteral("Chromium"));
    const QJsonObject session = posted(QStringLiteral("Wollu Session")).constFirst();
    EXPECT_EQ(session[QStringLiteral("reason")].toString(), QStringLiteral("site"));
    EXPECT_EQ(session[QStringLiteral("target")].toString(), QStringLiteral("youtube"));
    EXPECT_EQ(session[QStringLiteral("duration_seconds")].toInt(), 20);
}

} // namespace
