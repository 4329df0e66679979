#include "AppDelegate.h"
#include "CommandLine.h"
#include "ContactSheet.h"
#include "EditShortcuts.h"
#include "MonaFont.h"
#include "analytics/Analytics.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[])
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const LaunchCommand command = parseCommandLine(args);

    // Writing a picture needs no screen; without a display server Qt would refuse to start.
    if (writesFilesOnly(command.mode) && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // Fonts can only be registered once the application object exists.
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    registerMonaFont();
    installEditMenu();
    if (command.demoRun)
        Analytics::setDemoRun();
    Analytics::Providers providers;
    providers.screenCount = [] { return int(QGuiApplication::screens().size()); };
    Analytics::setProviders(std::move(providers));

    switch (command.mode) {
    case LaunchMode::contactSheet:
        return runContactSheet(command.path) ? 0 : 1;
    case LaunchMode::panelPreview:
    case LaunchMode::twoPanels:
    case LaunchMode::fourPanels:
    case LaunchMode::settingsPreview:
    case LaunchMode::eodPreview:
    case LaunchMode::tray:
        break;
    }

    AppDelegate delegate;
    delegate.applicationDidFinishLaunching(args);
    return app.exec();
}
