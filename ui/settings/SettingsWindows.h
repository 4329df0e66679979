// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/settings/InfoBlock.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

class QWidget;
class SettingsWindowController;

// The settings window as the application opens it: created on the first opening, kept while it
// lives (reopening shows the controls as they were left), placed beside the panel when opened
// from it, released by closeSettings().
class SettingsWindows final : public QObject
{
    Q_OBJECT
public:
    explicit SettingsWindows(QObject* parent = nullptr);
    ~SettingsWindows() override;

    // The panel window, whose visibility tells how the settings were reached ("Settings Opened").
    void setPanelWindow(QWidget* panel);
    // What the information block says of the desktop's and the browsers' probes, for every window
    // created from now on.
    void setInfoLines(InfoBlock::LinesProvider provider) { infoLines_ = std::move(provider); }

    // Sends "Settings Opened", creates the window when there is none, centres it on the screen
    // and shows it in front with the keyboard.
    void openSettings();
    // The same, but placed left of a panel shown at `panelGeometry` (its frame, in screen
    // coordinates), top edges aligned, on the panel's screen.
    void openSettingsBeside(const QRect& panelGeometry);
    // Closes the window and releases it; the next opening creates a fresh one.
    void closeSettings();

    // A new user sees nothing useful until a salary is set, so every launch without one opens
    // the settings.
    static bool firstRun();

    SettingsWindowController* controller() const { return controller_; }

Q_SIGNALS:
    // A save went through: the application recomputes and shows its day.
    void saved();

private:
    SettingsWindowController* open(bool fromPanel);

    QPointer<SettingsWindowController> controller_;
    QPointer<QWidget> panel_;
    InfoBlock::LinesProvider infoLines_;
    bool awaitingSalary_ = false; // no salary when the window was created
};

// Where a settings window of `window` size goes beside a panel at `panel`: 8 points left of it
// with the top edges aligned, but at least 8 points inside the left and bottom edges of the
// screen's `visible` area (and never above its top).
QPoint settingsOriginLeftOf(const QSize& window, const QRect& panel, const QRect& visible);
