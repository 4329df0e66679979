// SPDX-License-Identifier: GPL-3.0-or-later
#include "analytics/Analytics.h"
#include "app/AppDelegate.h"
#include "app/CommandLine.h"
#include "browser/BrowserSupport.h"
#include "desktop/DesktopSupport.h"
#include "engine/Store.h"
#include "engine/Version.h"
#include "platform/LoginItem.h"
#include "platform/SingleInstance.h"
#include "preview/ContactSheet.h"
#include "preview/EodPreview.h"
#include "preview/PanelDemos.h"
#include "preview/PanelPreview.h"
#include "render/MonaFont.h"
#include "ui/settings/SettingsPreview.h"
#include "ui/toolkit/EditShortcuts.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>

#include <cstdio>

namespace {

bool writeTo(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) ==
               size_t(bytes.size()) &&
           std::fflush(stream) == 0;
}

// Which of Qt's platform plugins runs the desktop application, where the user did not choose one
// in QT_QPA_PLATFORM (their choice always wins):
// - X11 sessions, and Wayland sessions with XWayland (DISPLAY set: sway, Hyprland, KDE Plasma,
//   GNOME): xcb through XWayland. Only an X11 window can put itself where it is asked, and the
//   panel must hang under the tray icon; Qt's Wayland plugin cannot place a window at all (sway
//   tiles it, or centres it when it floats).
// - Wayland without XWayland: Qt's Wayland plugin (qt6-wayland), Qt's own choice there; the panel
//   floats where the compositor puts it.
void chooseDesktopPlatform()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    // Read once; everything below acts on this one reading.
    const LaunchCommand command = parseCommandLine(args);
    QCoreApplication::setApplicationVersion(Version::number());
    const QString programDir =
        QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();

    // These need no display and start nothing: no tray, no ledger, no second instance.
    switch (command.mode) {
    case LaunchMode::version:
        return writeTo(stdout, Version::line() + u'\n') ? 0 : 1;
    case LaunchMode::help:
        return writeTo(stdout, usage()) ? 0 : 1;
    case LaunchMode::usageError:
        writeTo(stderr, command.error + QStringLiteral("\n\n") + usage());
        return 2;
    case LaunchMode::installBrowserSupport:
        // Writes the browsers' host manifests and says how to load the extension.
        return BrowserSupport::installAndTell(BrowserSupport::locate(programDir));
    case LaunchMode::installDesktopSupport:
        // The same, and our GNOME Shell extension where GNOME Shell is installed.
        return DesktopSupport::installAndTell(programDir);
    default:
        break;
    }
    // Previews and demos show the user's day without changing anything in it.
    if (command.demoRun)
        Store::standard().setReadOnly(true);

    // Writing a picture needs no screen; without a display server Qt would abort on start.
    const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") &&
                           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (noDisplay && writesFilesOnly(command.mode)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else if (noDisplay) {
        std::fputs("tockwork: no display server (DISPLAY and WAYLAND_DISPLAY are unset), so there "
                   "is no tray; tockwork-cli status --watch shows the day in a terminal\n",
                   stderr);
        return 1;
    }

    chooseDesktopPlatform();
    // Names our desktop entry to the compositor (a Wayland window's app id, KDE's X11 hint), so
    // the window gets the entry's icon and name. The same id as our D-Bus name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tockwork.TockWork"));

    // Fonts can only be registered once the application object exists.
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    registerMonaFont();
    installEditMenu();
    if (command.demoRun)
        Analytics::setDemoRun();
    Analytics::Providers providers;
    providers.screenCount = [] { return int(QGuiApplication::screens().size()); };
    // An entry the user switched off in their desktop's settings still exists but starts nothing.
    providers.isLoginItem = [] { return LoginItem::status() == LoginItem::Status::enabled; };
    providers.appBuild = &Version::number;
    Analytics::setProviders(std::move(providers));

    switch (command.mode) {
    case LaunchMode::contactSheet:
        return runContactSheet(command.path) ? 0 : 1;
    case LaunchMode::panelPreview:
        return runPanelPreview(command.path) ? 0 : 1;
    case LaunchMode::settingsPreview:
        return runSettingsPreview(command.openAdd);
    case LaunchMode::twoPanels:
        return runTwoPanelsDemo();
    case LaunchMode::fourPanels:
        return runFourPanelsDemo();
    case LaunchMode::eodPreview:
        return runEodPreview();
    default: // the tray; the modes that print or install returned above
        break;
    }

    // One ant per user: a second start (autostart plus a manual one) hands over to the first.
    // Previews and scripted demos run beside it; they write nothing and report nothing real.
    SingleInstance instance;
    const StartOptions& start = command.start;
    if (!command.demoRun && !start.scriptedDemo && !start.demoState && !instance.claim()) {
        const bool reached = instance.activateRunningInstance();
        std::fputs(reached ? "tockwork: already running; showing it\n"
                           : "tockwork: already running\n",
                   stderr);
        return 0;
    }

    AppDelegate delegate;
    // The session manager asks every application to save before the session ends (and at its own
    // checkpoints, after which the session goes on): keep what would be lost, without a question.
    // The end itself then arrives as SIGTERM or SIGHUP.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &delegate,
                     &AppDelegate::applicationWillTerminate);
    // A later start asks this one to show itself: open the day's panel.
    QObject::connect(&instance, &SingleInstance::activationRequested, &delegate,
                     [&delegate] { delegate.showPanel(QStringLiteral("second_launch")); });
    delegate.applicationDidFinishLaunching(start);
    return app.exec();
}
