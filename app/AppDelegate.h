// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DayState.h"
#include "engine/Status.h"
#include "ui/tray/MascotAnimation.h"
#include "ui/tray/TrayPlatform.h"

#include <QObject>
#include <QRect>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>

class ColorScheme;
class DesktopEvents;
class DayObserver;
class DesktopWollu;
class LedgerRecorder;
class EndOfDayPrompt;
class GlassPanel;
class PanelPresenter;
class PanelVC;
class QMenu;
class QuitRequests;
class ScriptedDemo;
class SettingsWindows;
class TrayIcon;
struct StartOptions;
struct Status;
enum class MenuCommand;

// The composition root of the tray application: it creates the parts that live as long as the
// application (the tray icon, the panel and its window, the prompt, the observers), wires them
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

    // The start-up sequence, with what the command line said about it.
    void applicationDidFinishLaunching(const StartOptions& options);
    // The same from a whole command line, as tests and benchmarks launch it.
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

    // The status item's clicks and the menu's commands.
    void togglePanel();
    void togglePin();
    void showPanel(const QString& trigger = QStringLiteral("menubar_click"));
    void hidePanel();
    void refreshPanel();
    void panelHeightChanged();
    void placeMainPanelUnderItem();
    void spaceChanged();
    bool fullscreenActive() const;
    void openSettings();
    void openSettingsBeside();
    void closeSettings();
    void refresh();
    void reChooseEod();
    void setPause(ManualState state);
    void quit();
    // Fills the status item's menu for the moment it opens; sends "Menu Opened".
    void rebuildMenu();
    void registerLoginItem();
    // "--demo": the four fixed days of the scripted demo in windows of their own, and no tray.
    void runDemo();
    ScriptedDemo* scriptedDemo() const { return demo_.get(); }
    TrayIcon* tray() const;
    GlassPanel* panelWindow() const;
    PanelVC* panelVC() const;
    QMenu* statusMenu() const { return statusMenu_.get(); }
    EndOfDayPrompt* eodPrompt() const { return eodPrompt_.get(); }
    bool pinned() const;

    // The process started this long ago (quit reports the session's length).
    void setLaunchedAt(double epochSeconds) { appLaunchedAt_ = epochSeconds; }

    static constexpr int kPollMs = 10'000;
    static constexpr int kTickMs = 1'000;

Q_SIGNALS:
    // The user confirmed quitting: the owner of the event loop ends it.
    void quitConfirmed();
    // The day as update() shows it, for what observes its turns (analytics).
    void daySeen(const Status& status);

private:
    void buildPanelWindow();
    // The menu's items for this moment, without reporting an opening.
    void fillMenu();
    void runMenuCommand(MenuCommand command);
    void tick();
    void askEndOfDayIfPending();
    void endPauseAfterWorkingDay(const Status& status);
    void applyAppearance();

    std::unique_ptr<TrayPlatform> pendingTray;
    FrameLoader loadFrames;

    std::unique_ptr<TrayIcon> trayIcon;
    std::unique_ptr<QuitRequests> quitRequests;
    std::unique_ptr<DesktopWollu> wollu_;
    std::unique_ptr<LedgerRecorder> ledger_; // the day's row in the history; real days only
    std::unique_ptr<DesktopEvents> desktop_;
    std::unique_ptr<ColorScheme> colorScheme_;
    std::unique_ptr<PanelPresenter> panel_;
    std::unique_ptr<QMenu> statusMenu_;
    std::unique_ptr<SettingsWindows> settings_;
    std::unique_ptr<EndOfDayPrompt> eodPrompt_;
    std::unique_ptr<ScriptedDemo> demo_;
    std::unique_ptr<DayObserver> dayObserver_;
    QTimer timer;
    QTimer tickTimer;

    std::optional<double> lastMenuOpenedAt_;
    double appLaunchedAt_ = 0;
};
