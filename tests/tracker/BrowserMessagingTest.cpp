// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/BrowserSupport.h"
#include "browser/NativeMessaging.h"
#include "browser/TabReport.h"
#include "support/WaitFor.h"
#include "tracker/BrowserTabs.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <unistd.h>

namespace {

using NativeMessaging::Decoder;

QByteArray frame(const QByteArray& body)
{
    const auto length = quint32(body.size());
    QByteArray framed(4, Qt::Uninitialized);
    std::memcpy(framed.data(), &length, 4);
    return framed + body;
}

QString urlOf(const std::optional<NativeMessaging::Item>& item)
{
    const auto* object = item ? std::get_if<QJsonObject>(&*item) : nullptr;
    return object ? object->value(QStringLiteral("url")).toString() : QStringLiteral("<none>");
}

TEST(NativeMessagingFraming, MessagesAreCutFromTheStreamHoweverTheBytesArrive)
{
    const QByteArray stream = NativeMessaging::encode({{"url", "https://a.example/"}}) +
                              frame("not json") + frame("[1,2]") +
                              NativeMessaging::encode({{"url", "https://b.example/"}});
    Decoder decoder;
    QStringList seen;
    for (char byte : stream) { // one byte at a time: the worst a pipe can do
        decoder.feed(QByteArrayView(&byte, 1));
        while (const auto item = decoder.next())
            seen << (std::holds_alternative<NativeMessaging::Garbage>(*item) ? "garbage"
                                                                             : urlOf(item));
    }
    EXPECT_EQ(seen,
              QStringList({"https://a.example/", "garbage", "garbage", "https://b.example/"}));
}

TEST(NativeMessagingFraming, AnOversizedLengthBreaksTheStreamForGood)
{
    Decoder decoder;
    const QByteArray atLimit = frame(QByteArray(NativeMessaging::kMaxMessageBytes, ' '));
    decoder.feed(atLimit);
    EXPECT_TRUE(std::holds_alternative<NativeMessaging::Garbage>(*decoder.next()));

    QByteArray huge(4, '\xff'); // 4 GiB announced
    decoder.feed(QByteArray(huge + NativeMessaging::encode({{"url", "https://c.example/"}})));
    auto item = decoder.next();
    ASSERT_TRUE(item && std::holds_alternative<NativeMessaging::Oversized>(*item));
    EXPECT_EQ(std::get<NativeMessaging::Oversized>(*item).length, 0xffffffffu);
    decoder.feed(NativeMessaging::encode({{"url", "https://d.example/"}}));
    item = decoder.next();
    EXPECT_TRUE(item && std::holds_alternative<NativeMessaging::Oversized>(*item));
}

TEST(TabReportLines, OnlyWellFormedReportsAreAccepted)
{
    const TabReport report{"Chromium", 77, "https://youtube.com/"};
    EXPECT_EQ(TabReports::decode(TabReports::encode(report).trimmed()), report);
    for (const char* bad : {"", "{}", "[]", "{\"browser\":\"\",\"url\":\"x\"}",
                            "{\"browser\":\"Chromium\",\"url\":5}", "garbage"})
        EXPECT_FALSE(TabReports::decode(bad)) << bad;
    const auto odd = TabReports::decode(R"({"browser":"X","pid":-3,"url":""})");
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->pid, 0);
}

class BrowserTabsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        if (!listenAtStart)
            return;
        ASSERT_TRUE(tabs.listen());
        ASSERT_EQ(tabs.path(), runtime.filePath(QStringLiteral("tockwork-browser.sock")));
    }
    void TearDown() override { qunsetenv("XDG_RUNTIME_DIR"); }

    bool listenAtStart = true;
    QTemporaryDir runtime;
    BrowserTabs tabs;
};

TEST_F(BrowserTabsTest, TheLatestAddressPerBrowserAndProcessIsKept)
{
    QSignalSpy connected(&tabs, &BrowserTabs::browserConnected);
    tabs.accept({"Chromium", 10, "https://a.example/"});
    tabs.accept({"Chromium", 11, "https://b.example/"});
    tabs.accept({"Chromium", 10, "https://c.example/"});
    tabs.accept({"Firefox", 20, "https://d.example/"});
    EXPECT_EQ(tabs.latest("Chromium", 11), QStringLiteral("https://b.example/"));
    EXPECT_EQ(tabs.latest("Chromium", 10), QStringLiteral("https://c.example/"));
    // A window of another process of the same browser: its latest report stands in.
    EXPECT_EQ(tabs.latest("Chromium", 99), QStringLiteral("https://c.example/"));
    EXPECT_FALSE(tabs.latest("Google Chrome", 0));
    ASSERT_EQ(connected.size(), 2);
    EXPECT_EQ(connected[0][0].toString(), QStringLiteral("Chromium"));
    EXPECT_EQ(browserAddressLines(tabs.connectedBrowsers()),
              QStringList{QStringLiteral("· 주소까지 보는 브라우저: Chromium, Firefox")});
}

TEST(BrowserAddressLines, TitlesStandInUntilABrowserReportsAndLongListsAreCounted)
{
    EXPECT_EQ(browserAddressLines({}),
              QStringList{QStringLiteral("· 브라우저는 창 제목으로 (확장 설치 시 주소)")});
    EXPECT_EQ(
        browserAddressLines({"Brave Browser", "Chromium", "Firefox", "Whale"}),
        QStringList{QStringLiteral("· 주소까지 보는 브라우저: Brave Browser, Chromium 외 2")});
}

TEST_F(BrowserTabsTest, AClientSendingGarbageOrEndlessLinesIsCutOffAndOthersGoOn)
{
    QLocalSocket bad;
    bad.connectToServer(tabs.path());
    ASSERT_TRUE(bad.waitForConnected(2000));
    bad.write("garbage\n{\"browser\":1}\n");
    bad.write(QByteArray(TabReports::kMaxLineBytes + 10, 'x'));
    bad.flush();
    EXPECT_TRUE(waitFor([&] { return bad.state() == QLocalSocket::UnconnectedState; }));

    QLocalSocket good;
    good.connectToServer(tabs.path());
    ASSERT_TRUE(good.waitForConnected(2000));
    good.write(TabReports::encode({"Vivaldi", 5, "https://youtube.com/"}));
    good.flush();
    EXPECT_TRUE(waitFor([&] { return tabs.latest("Vivaldi", 5).has_value(); }));
}

// The real host program, started as a browser starts it: standard input and output are the port.
class HostProcess : public BrowserTabsTest
{
protected:
    void start()
    {
        host.setProgram(QStringLiteral(TOCKWORK_BROWSER_HOST));
        host.setArguments({QStringLiteral("chrome-extension://%1/")
                               .arg(QString::fromLatin1(BrowserSupport::kChromiumExtensionId))});
        host.start();
        ASSERT_TRUE(host.waitForStarted());
    }
    void send(const QByteArray& bytes)
    {
        host.write(bytes);
        host.waitForBytesWritten(2000);
    }
    QProcess host;
};

TEST_F(HostProcess, ForwardsAddressesSkipsGarbageAndStopsCleanlyOnAnOversizedMessage)
{
    start();
    send(frame("{{{") + frame("{\"no\":\"url\"}") +
         NativeMessaging::encode({{"url", "https://www.youtube.com/watch?v=1"}}));
    // The browser is the process that started the host: here, this test.
    ASSERT_TRUE(waitFor([&] { return tabs.latest(QString(), ::getpid()).has_value(); }));
    EXPECT_EQ(*tabs.latest(QString(), ::getpid()),
              QStringLiteral("https://www.youtube.com/watch?v=1"));

    send(QByteArray(4, '\x7f') + "{\"url\":\"https://x.example/\"}");
    ASSERT_TRUE(host.waitForFinished(5000));
    EXPECT_EQ(host.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(host.exitCode(), 1);
    EXPECT_TRUE(host.readAllStandardError().contains("refusing"));
}

class HostBeforeApplication : public HostProcess
{
protected:
    HostBeforeApplication() { listenAtStart = false; }
};

TEST_F(HostBeforeApplication, ReachesAnApplicationThatStartsAfterTheBrowser)
{
    start();
    send(NativeMessaging::encode({{"url", "https://twitch.tv/"}}));
    ASSERT_TRUE(tabs.listen());
    EXPECT_TRUE(waitFor([&] { return tabs.latest(QString(), ::getpid()).has_value(); }, 8000));
    host.closeWriteChannel();
    ASSERT_TRUE(host.waitForFinished(5000));
    EXPECT_EQ(host.exitCode(), 0);
}

TEST(BrowserSupportInstall, ManifestsGoToTheBrowsersFoundWithTheExtensionsIdentity)
{
    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral(".config"));
    QDir().mkpath(config + QStringLiteral("/BraveSoftware/Brave-Browser"));
    QDir().mkpath(home.filePath(QStringLiteral(".mozilla")));
    // Other channels keep settings folders of their own.
    for (const char* channel :
         {"google-chrome-beta", "google-chrome-unstable", "google-chrome-canary",
          "microsoft-edge-beta", "microsoft-edge-dev", "BraveSoftware/Brave-Browser-Beta",
          "BraveSoftware/Brave-Browser-Nightly", "vivaldi-snapshot"})
        QDir().mkpath(config + u'/' + QLatin1String(channel));
    const auto result = BrowserSupport::install(QStringLiteral("/opt/tw/tockwork-browser-host"),
                                                home.path(), config);
    QStringList browsers;
    for (const auto& w : result.written)
        browsers << w.browser;
    EXPECT_TRUE(browsers.contains("Brave Browser"));
    EXPECT_TRUE(browsers.contains("Firefox"));
    for (const char* channel :
         {"Google Chrome Beta", "Google Chrome Dev", "Google Chrome Canary", "Microsoft Edge Beta",
          "Microsoft Edge Dev", "Brave Beta", "Brave Nightly", "Vivaldi Snapshot"})
        EXPECT_TRUE(browsers.contains(channel)) << channel;
    EXPECT_TRUE(QFile::exists(config + "/google-chrome-unstable/NativeMessagingHosts/"
                                       "app.tockwork.browser.json"));
    EXPECT_TRUE(result.failed.isEmpty());

    QFile brave(config +
                QStringLiteral(
                    "/BraveSoftware/Brave-Browser/NativeMessagingHosts/app.tockwork.browser.json"));
    ASSERT_TRUE(brave.open(QIODevice::ReadOnly));
    const QJsonObject chromium = QJsonDocument::fromJson(brave.readAll()).object();
    EXPECT_EQ(chromium["name"].toString(), QStringLiteral("app.tockwork.browser"));
    EXPECT_EQ(chromium["path"].toString(), QStringLiteral("/opt/tw/tockwork-browser-host"));
    EXPECT_EQ(chromium["type"].toString(), QStringLiteral("stdio"));
    EXPECT_EQ(chromium["allowed_origins"].toArray().at(0).toString(),
              QStringLiteral("chrome-extension://jbnhieajialjmfjoemmmeakgadcjcdih/"));

    QFile firefox(
        home.filePath(QStringLiteral(".mozilla/native-messaging-hosts/app.tockwork.browser.json")));
    ASSERT_TRUE(firefox.open(QIODevice::ReadOnly));
    EXPECT_EQ(QJsonDocument::fromJson(firefox.readAll())
                  .object()["allowed_extensions"]
                  .toArray()
                  .at(0)
                  .toString(),
              QStringLiteral("browser@tockwork.app"));
}

// Chromium derives an unpacked extension's id from the public key in its manifest: the first
// 32 hex digits of its SHA-256, written with the letters a-p.
TEST(BrowserSupportInstall, TheExtensionsKeyGivesTheIdTheHostManifestAllows)
{
    QFile file(QStringLiteral(TOCKWORK_EXTENSION_DIR "/manifest.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject manifest = QJsonDocument::fromJson(file.readAll()).object();
    const QByteArray key = QByteArray::fromBase64(manifest["key"].toString().toLatin1());
    const QByteArray hex =
        QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(32);
    QByteArray id;
    for (char c : hex)
        id += char('a' + QByteArray(1, c).toInt(nullptr, 16));
    EXPECT_EQ(id, QByteArray(BrowserSupport::kChromiumExtensionId));
    EXPECT_EQ(manifest["manifest_version"].toInt(), 3);
    EXPECT_EQ(manifest["browser_specific_settings"]["gecko"]["id"].toString(),
              QString::fromLatin1(BrowserSupport::kFirefoxExtensionId));
}

} // namespace
