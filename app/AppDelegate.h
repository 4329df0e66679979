#pragma once

#include "ui/tray/MascotAnimation.h"
#include "ui/tray/TrayPlatform.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>

class DesktopWollu;
class QuitRequests;
class TrayIcon;

// The composition root of the tray application: it creates the parts that live as long as the
// application (the tray icon, and the windows, trackers and observers as they arrive), wires them
// together and runs the timers. update() is the one place where the day is recomputed and pushed
// out.
class AppDelegate final : public QObject
{
    Q_OBJECT
public:
    // `tray` defaults to the desktop's real tray; `loadFrames` to the art's GIF frames.
    explicit AppDelegate(std::unique_ptr<TrayPlatform> tray = nullptr, FrameLoader loadFrames = {},
                         QObject* parent = nullptr);
    ~AppDelegate() override;

    // The start-up sequence; `args` holds the program path as argument 0.
    void applicationDidFinishLaunching(const QStringList& args);

    void update();
    // The last thing before the process ends, however it was asked to: the open slacking run is
    // closed and the analytics buffer is sent or kept for the next launch.
    void applicationWillTerminate();
    // The day is in overtime and the user has not said yet whether they leave or stay.
    bool eodPending() const;
    // One slacking poll; the poll timer runs it before update(). No tracker runs in a demo.
    void pollWollu();
    DesktopWollu* wollu() const { return wollu_.get(); }

    TrayIcon* tray() const;

    static constexpr int kPollMs = 10'000;
    static constexpr int kTickMs = 1'000;

private:
    std::unique_ptr<TrayPlatform> pendingTray;
    FrameLoader loadFrames;

    std::unique_ptr<TrayIcon> trayIcon;
    std::unique_ptr<QuitRequests> quitRequests;
    std::unique_ptr<DesktopWollu> wollu_;
    QTimer timer;
    QTimer tickTimer;
};
