// SPDX-License-Identifier: GPL-3.0-or-later
#include "OffscreenGuiTestMain.h"
#include "platform/InstalledApps.h"
#include "platform/linux/WaylandToplevels.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The window in front on a wlroots desktop, as a function of what the compositor's list and the
// X11 source each say (the list itself is tested on a real sway, WaylandToplevelsOnSwayTest).
namespace {

using Toplevel = WaylandToplevels::Toplevel;

FrontWindow x11Window(const QString& windowClass, const QString& instance, qint64 pid)
{
    FrontWindow w;
    w.windowClass = windowClass;
    w.instance = instance;
    w.pid = pid;
    w.executable = instance;
    w.title = QStringLiteral("X11 title");
    return w;
}

TEST(WaylandFrontWindow, TheXWaylandWindowInFrontKeepsWhatX11KnowsOfIt)
{
    const FrontWindow xterm = x11Window(QStringLiteral("XTerm"), QStringLiteral("xterm"), 42);
    // sway names an XWayland window by its class; another compositor may use the instance.
    for (const QString& id : {QStringLiteral("XTerm"), QStringLiteral("xterm")}) {
        const auto front = WaylandToplevels::frontWindow(Toplevel{id, QStringLiteral("~")}, xterm);
        ASSERT_TRUE(front) << id.toStdString();
        EXPECT_EQ(*front, xterm) << id.toStdString();
    }
}

TEST(WaylandFrontWindow, ANativeWindowInFrontIsNotTheXWaylandWindowX11StillNames)
{
    // Until the X server hears of the switch, it names the XWayland window that had the focus.
    const auto front = WaylandToplevels::frontWindow(
        Toplevel{QStringLiteral("foot"), QStringLiteral("vim")},
        x11Window(QStringLiteral("XTerm"), QStringLiteral("xterm"), 42));
    ASSERT_TRUE(front);
    EXPECT_EQ(front->windowClass, QStringLiteral("foot"));
    EXPECT_EQ(front->title, QStringLiteral("vim"));
    EXPECT_EQ(front->pid, 0);
}

TEST(WaylandFrontWindow, NoActivatedWindowIsNoFrontWhateverX11Says)
{
    EXPECT_FALSE(WaylandToplevels::frontWindow(std::nullopt, std::nullopt));
    // A bar or launcher has the focus, or X11 has not yet heard that its window lost it.
    EXPECT_FALSE(WaylandToplevels::frontWindow(
        std::nullopt, x11Window(QStringLiteral("XTerm"), QStringLiteral("xterm"), 42)));
}

TEST(WaylandFrontWindow, AWindowWithoutApplicationIdIsNeverTakenForTheX11One)
{
    const auto front = WaylandToplevels::frontWindow(
        Toplevel{QString(), QStringLiteral("untitled")}, x11Window(QString(), QString(), 42));
    ASSERT_TRUE(front);
    EXPECT_EQ(front->pid, 0);
    EXPECT_EQ(front->title, QStringLiteral("untitled"));
    EXPECT_TRUE(front->appName.isEmpty());
}

// A native app is named like an X11 window: its desktop entry by StartupWMClass, file name
// (whole or its last reverse-DNS part) or Name, and the entry's program stands in for the
// process's, which Wayland does not tell.
TEST(WaylandFrontWindow, ANativeAppIsNamedByItsDesktopEntry)
{
    QTemporaryDir apps;
    const auto entry = [&](const QString& file, const QByteArray& keys) {
        QFile f(apps.filePath(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Desktop Entry]\nType=Application\n" + keys + "\n[Desktop Action new]\nExec=x\n");
    };
    entry(QStringLiteral("org.example.Chat.desktop"),
          "Name=Chat\nName[ko]=채팅\nExec=\"/opt/chat app/chat-bin\" --wayland %U");
    entry(QStringLiteral("vendor-player.desktop"),
          "Name=Player\nStartupWMClass=tube-player\nExec=env GDK_BACKEND=wayland tubeplay");
    entry(QStringLiteral("notes.desktop"), "Name=Notes\nName[ko]=메모\nExec=notes-app");
    setApplicationDirs({apps.path()});
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));

    const struct
    {
        QString appId, appName, executable;
    } cases[] = {
        {QStringLiteral("org.example.Chat"), QStringLiteral("채팅"), QStringLiteral("chat-bin")},
        {QStringLiteral("Chat"), QStringLiteral("채팅"), QStringLiteral("chat-bin")},
        {QStringLiteral("tube-player"), QStringLiteral("Player"), QStringLiteral("tubeplay")},
        {QStringLiteral("Notes"), QStringLiteral("메모"), QStringLiteral("notes-app")},
        {QStringLiteral("com.unknown.App"), QString(), QString()},
    };
    for (const auto& c : cases) {
        const auto front = WaylandToplevels::frontWindow(Toplevel{c.appId, {}}, std::nullopt);
        ASSERT_TRUE(front) << c.appId.toStdString();
        EXPECT_EQ(front->windowClass, c.appId);
        EXPECT_EQ(front->appName, c.appName) << c.appId.toStdString();
        EXPECT_EQ(front->executable, c.executable) << c.appId.toStdString();
    }
    QLocale::setDefault(QLocale::system());
    setApplicationDirs({});
}

} // namespace

int main(int argc, char** argv)
{
    // Desktop entries' icons need a GUI application; no window is shown.
    return runOffscreenGuiTests(argc, argv);
}
