#pragma once

#include "DayState.h"
#include "MascotAnimation.h"
#include "StatusItem.h"
#include "TrayPlatform.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

struct Status;

// Owns everything that lives as long as the tray application: the tray icon, the three timers
// and the mascot animation. update() is the one place where the day is recomputed and pushed out.
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
    // The day is in overtime and the user has not said yet whether they leave or stay.
    bool eodPending() const;
    // One step of the tray mascot's animation.
    void animationStep();

    StatusItem* trayItem() const { return statusItem.get(); }
    bool animating() const { return menubarAnimTimer != nullptr; }
    double animationIntervalSec() const { return animInterval; }

    static constexpr int kPollMs = 10'000;
    static constexpr int kTickMs = 1'000;

private:
    // Plug-in points filled by the panel, the end-of-day prompt, the observers, slacking and
    // analytics as they arrive; all live in AppDelegatePlugIns.cpp.
    // True when the scripted demo took over; otherwise the tray starts (in demo mode).
    bool runDemo();
    void registerLoginItem();
    void buildPanelWindow();
    void registerSystemObservers();
    void pollWollu();
    void askEndOfDay(const QString& source);
    void trackStateTransition(const Status& status);
    void showPanel(const QString& trigger);
    void refreshPanel();
    void placeMainPanelUnderItem();
    bool panelVisible() const;

    std::unique_ptr<TrayPlatform> pendingTray;
    FrameLoader loadFrames;

    std::unique_ptr<StatusItem> statusItem;
    QTimer* timer = nullptr;
    QTimer* tickTimer = nullptr;
    QTimer* menubarAnimTimer = nullptr;
    MascotAnimator mascotFrames;
    double animInterval = 0.1;
    QPointer<QWidget> panelWindow;
    double lastPoll = 0;
    double sleepStart = 0;
    bool tabURLFetching = false;
    bool pinned = false;
    std::optional<DayState> lastTrackedState;
    double wolluRunStart = 0;
    double wolluRunSeconds = 0;
    QString wolluRunReason;
    QString wolluRunTarget;
};
