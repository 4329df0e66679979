// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InstalledApps.h"
#include "platform/linux/KWinScript.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The window in front on KDE Plasma, as a function of what our KWin script and the X11 source
// each say (the script itself is tested in a real KWin, KWinScriptOnKWinTest). Runs in the
// executable of WaylandFrontWindowTest, whose main() makes the GUI application entries need.
namespace {

using Window = KWinScript::Window;

FrontWindow xterm()
{
    FrontWindow w;
    w.windowClass = QStringLiteral("XTerm");
    w.instance = QStringLiteral("xterm");
    w.pid = 42;
    w.executable = QStringLiteral("xterm");
    w.title = QStringLiteral("X11 title");
    return w;
}

TEST(KWinFrontWindow, AnXWaylandWindowKeepsWhatX11KnowsThoughKWinLowercasesItsClass)
{
    const auto front = KWinScript::frontWindow(
        Window{QStringLiteral("xterm"), QStringLiteral("xterm"), {}, QStringLiteral("~"), 42},
        xterm());
    ASSERT_TRUE(front);
    EXPECT_EQ(*front, xterm());

    // Nothing active (the desktop, or a window just closed) is no front, whatever X11 still says.
    EXPECT_FALSE(KWinScript::frontWindow(std::nullopt, xterm()));
}

TEST(KWinFrontWindow, ANativeWindowCarriesItsProcessAndNotTheX11Window)
{
    const auto front =
        KWinScript::frontWindow(Window{QStringLiteral("foot"), QStringLiteral("foot"),
                                       QStringLiteral("foot"), QStringLiteral("vim"), 7},
                                xterm());
    ASSERT_TRUE(front);
    EXPECT_EQ(front->windowClass, QStringLiteral("foot"));
    EXPECT_EQ(front->title, QStringLiteral("vim"));
    // The browsers' tab reports are told apart by process.
    EXPECT_EQ(front->pid, 7);
}

// KWin finds the entry of a window whose class names none: an Electron app on XWayland says
// "electron" but sets its desktop file name, a sandboxed app has the sandbox's id.
TEST(KWinFrontWindow, TheDesktopFileKWinNamesNamesTheAppWhenTheClassDoesNot)
{
    QTemporaryDir apps;
    QFile entry(apps.filePath(QStringLiteral("org.example.Chat.desktop")));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=Chat\nName[ko]=채팅\n"
                "Exec=/opt/chat/chat-bin %U\n");
    entry.close();
    setApplicationDirs({apps.path()});
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));

    const auto front = KWinScript::frontWindow(
        Window{QStringLiteral("electron"), QStringLiteral("electron"),
               QStringLiteral("org.example.Chat"), QStringLiteral("#general"), 9},
        std::nullopt);
    ASSERT_TRUE(front);
    EXPECT_EQ(front->windowClass, QStringLiteral("electron"));
    EXPECT_EQ(front->appName, QStringLiteral("채팅"));
    EXPECT_EQ(front->executable, QStringLiteral("chat-bin"));

    // A class with no entry and no desktop file name stays a bare class.
    const auto bare = KWinScript::frontWindow(
        Window{QStringLiteral("mystery"), QStringLiteral("mystery"), {}, {}, 0}, std::nullopt);
    ASSERT_TRUE(bare);
    EXPECT_TRUE(bare->appName.isEmpty());
    EXPECT_TRUE(bare->desktopFile.isEmpty());

    QLocale::setDefault(QLocale::system());
    setApplicationDirs({});
}

} // namespace
