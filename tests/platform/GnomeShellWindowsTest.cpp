// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeBus.h"
#include "TestWindow.h"

#include "platform/FrontmostApp.h"
#include "platform/InstalledApps.h"
#include "platform/linux/GnomeShellWindows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>

// Our GNOME Shell extension's report as the tray reads it, from a stand-in for the extension on
// the private session bus that speaks its interface (the extension itself runs in a real
// gnome-shell in tests/tracker/gnome-e2e.sh).
using DesktopSession::waitFor;

namespace {

const QString kName = QString::fromLatin1(GnomeShellWindows::kBusName);
const QString kPath = QString::fromLatin1(GnomeShellWindows::kObjectPath);
const QString kInterface = QString::fromLatin1(GnomeShellWindows::kInterface);

QVariantList report(const QString& wmClass, const QString& instance, const QString& appId,
                    const QString& title, uint pid = 0)
{
    return {wmClass, instance, appId, title, pid};
}

// The extension: Get answers with `focused`, set() also announces it as the Shell would.
class StandIn
{
public:
    StandIn() : service(FakeService::Bus::session, kName)
    {
        service.setMethod(kPath, QStringLiteral("Get"),
                          [this](const QDBusMessage& call) { return call.createReply(focused); });
    }
    void set(const QVariantList& now)
    {
        focused = now;
        service.emitSignal(kPath, kInterface, QStringLiteral("Changed"), now);
    }
    QVariantList focused = report({}, {}, {}, {});
    FakeService service;
};

class GnomeShellWindowsTest : public DesktopTest
{
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        if (IsSkipped())
            return;
        // Entries of our own: the tracker's app id names one, a class the other.
        ASSERT_TRUE(apps.isValid());
        writeEntry(QStringLiteral("org.gnome.TextEditor.desktop"), QStringLiteral("Text Editor"),
                   QStringLiteral("텍스트 편집기"), QStringLiteral("gnome-text-editor"));
        writeEntry(QStringLiteral("kakaotalk.desktop"), QStringLiteral("KakaoTalk"),
                   QStringLiteral("카카오톡"), QStringLiteral("/opt/kakao/kakaotalk --tray"));
        setApplicationDirs({apps.path()});
        QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
    }
    void TearDown() override
    {
        setApplicationDirs({});
        QLocale::setDefault(QLocale::system());
    }

    void writeEntry(const QString& file, const QString& name, const QString& korean,
                    const QString& exec)
    {
        QFile entry(apps.filePath(file));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nName[ko]=%2\n"
                                   "Exec=%3\n")
                        .arg(name, korean, exec)
                        .toUtf8());
    }

    QTemporaryDir apps;
};

TEST_F(GnomeShellWindowsTest, FollowsTheFocusedWindowTheExtensionReports)
{
    FakeService shell(FakeService::Bus::session, QStringLiteral("org.gnome.Shell"));
    StandIn extension;
    extension.focused =
        report(QStringLiteral("org.gnome.TextEditor"), QStringLiteral("org.gnome.TextEditor"),
               QStringLiteral("org.gnome.TextEditor.desktop"), QStringLiteral("메모.txt"));
    auto windows = GnomeShellWindows::connectTo(QDBusConnection::sessionBus(), true);
    ASSERT_TRUE(windows);
    EXPECT_EQ(windows->source(FrontSource::x11), FrontSource::gnomeExtension);
    // The window in front when we start is asked for, not waited for.
    ASSERT_TRUE(waitFor([&] { return windows->front().has_value(); }));
    EXPECT_EQ(windows->front()->appName, QStringLiteral("텍스트 편집기"));
    EXPECT_EQ(windows->front()->instance, QStringLiteral("TextEditor"));
    EXPECT_EQ(windows->front()->executable, QStringLiteral("gnome-text-editor"));
    EXPECT_EQ(windows->front()->title, QStringLiteral("메모.txt"));

    // Another window, then its new title; then the desktop itself.
    QSignalSpy changed(windows.get(), &GnomeShellWindows::changed);
    extension.set(report(QStringLiteral("kakaotalk"), QStringLiteral("kakaotalk"), {},
                         QStringLiteral("채팅"), uint(QCoreApplication::applicationPid())));
    ASSERT_TRUE(waitFor([&] { return windows->front()->windowClass == u"kakaotalk"; }));
    EXPECT_EQ(windows->front()->appName, QStringLiteral("카카오톡"));
    EXPECT_EQ(windows->front()->pid, QCoreApplication::applicationPid());
    // The process's own program counts over the entry's, as for an X11 window.
    EXPECT_EQ(windows->front()->executable,
              QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    extension.set(report(QStringLiteral("kakaotalk"), QStringLiteral("kakaotalk"), {},
                         QStringLiteral("팀 채팅"), uint(QCoreApplication::applicationPid())));
    ASSERT_TRUE(waitFor([&] { return windows->front()->title == u"팀 채팅"; }));
    extension.set(report({}, {}, {}, {}));
    ASSERT_TRUE(waitFor([&] { return !windows->front(); }));
    EXPECT_EQ(changed.count(), 3);
}

// The user switches the extension off and on again in the Shell, or the Shell restarts.
TEST_F(GnomeShellWindowsTest, TheExtensionMayComeAndGo)
{
    FakeService shell(FakeService::Bus::session, QStringLiteral("org.gnome.Shell"));
    auto windows = GnomeShellWindows::connectTo(QDBusConnection::sessionBus(), true);
    ASSERT_TRUE(windows) << "GNOME Shell is on the bus";
    EXPECT_EQ(windows->source(FrontSource::x11), FrontSource::gnomeExtensionMissing);
    EXPECT_FALSE(windows->front());

    auto extension = std::make_unique<StandIn>();
    extension->focused =
        report(QStringLiteral("foot"), QStringLiteral("foot"), {}, QStringLiteral("~"));
    ASSERT_TRUE(waitFor([&] { return windows->front().has_value(); }));
    EXPECT_EQ(windows->source(FrontSource::x11), FrontSource::gnomeExtension);

    extension.reset();
    ASSERT_TRUE(waitFor([&] { return !windows->extensionPresent(); }));
    EXPECT_FALSE(windows->front()) << "a window the extension named before it went";
    EXPECT_EQ(windows->source(FrontSource::x11), FrontSource::gnomeExtensionMissing);

    // Under GNOME on X11 nothing is missing without the extension: X11 names every window.
    auto onX11 = GnomeShellWindows::connectTo(QDBusConnection::sessionBus(), false);
    ASSERT_TRUE(onX11);
    EXPECT_EQ(onX11->source(FrontSource::x11), FrontSource::x11);
}

TEST_F(GnomeShellWindowsTest, AnythingButItsReportUnderItsNameIsIgnored)
{
    FakeService shell(FakeService::Bus::session, QStringLiteral("org.gnome.Shell"));
    StandIn extension;
    extension.focused =
        report(QStringLiteral("foot"), QStringLiteral("foot"), {}, QStringLiteral("~"));
    auto windows = GnomeShellWindows::connectTo(QDBusConnection::sessionBus(), true);
    ASSERT_TRUE(waitFor([&] { return windows->front().has_value(); }));
    QSignalSpy changed(windows.get(), &GnomeShellWindows::changed);
    // A report of another shape (an older extension, a stranger under our name).
    extension.service.emitSignal(kPath, kInterface, QStringLiteral("Changed"),
                                 {QStringLiteral("xterm"), 7});
    extension.service.emitSignal(kPath, kInterface, QStringLiteral("Changed"),
                                 {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                  QStringLiteral("d"), QStringLiteral("not a pid")});
    // The same signal from another sender on the bus.
    FakeService stranger(FakeService::Bus::session, QStringLiteral("org.example.Stranger"));
    stranger.emitSignal(kPath, kInterface, QStringLiteral("Changed"),
                        report(QStringLiteral("xterm"), QStringLiteral("xterm"), {}, {}));
    // A last good report: once it is seen, the others before it were seen too.
    extension.set(
        report(QStringLiteral("foot"), QStringLiteral("foot"), {}, QStringLiteral("vim")));
    ASSERT_TRUE(waitFor([&] { return windows->front()->title == u"vim"; }));
    EXPECT_EQ(changed.count(), 1) << "something else than the last report was taken";
}

TEST_F(GnomeShellWindowsTest, NoGnomeShellNoSource)
{
    EXPECT_FALSE(GnomeShellWindows::connectTo(QDBusConnection::sessionBus(), true));
}

} // namespace
