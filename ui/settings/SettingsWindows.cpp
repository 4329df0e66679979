// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SettingsWindows.h"

#include "analytics/Analytics.h"
#include "engine/Cfg.h"
#include "ui/settings/SettingsWindowController.h"
#include "ui/toolkit/GlassWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

SettingsWindows::SettingsWindows(QObject* parent) : QObject(parent)
{}

SettingsWindows::~SettingsWindows()
{
    closeSettings();
}

void SettingsWindows::setPanelWindow(QWidget* panel)
{
    panel_ = panel;
}

bool SettingsWindows::firstRun()
{
    return Cfg::monthlySalaryWon() <= 0;
}

SettingsWindowController* SettingsWindows::open(bool fromPanel)
{
    Analytics::track(Analytics::Event::settingsOpened,
                     {{QStringLiteral("entry_point"),
                       fromPanel ? QStringLiteral("panel_button") : QStringLiteral("menu")},
                      {QStringLiteral("has_salary"), Cfg::monthlySalaryWon() > 0}});
    if (!controller_) {
        awaitingSalary_ = firstRun();
        controller_ = new SettingsWindowController(infoLines_, this);
        connect(controller_, &SettingsWindowController::saved, this, [this] {
            const bool firstSalary = awaitingSalary_ && !firstRun();
            awaitingSalary_ = firstRun();
            Q_EMIT saved();
            // The newcomer's first salary: the window closes, the panel beside it stays to show
            // the money start. It takes the keyboard before the window goes, so the application
            // never looks left (which closes an unpinned panel).
            if (firstSalary && panel_ && panel_->isVisible()) {
                panel_->raise();
                panel_->activateWindow();
            }
        });
    }
    return controller_;
}

void SettingsWindows::openSettings()
{
    open(panel_ && panel_->isVisible())->showCentered();
}

void SettingsWindows::openSettingsBeside(const QRect& panelGeometry)
{
    SettingsWindowController* controller = open(true);
    QScreen* screen = QGuiApplication::screenAt(panelGeometry.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen || !panelGeometry.isValid()) {
        controller->showCentered();
        return;
    }
    controller->showAt(settingsOriginLeftOf(controller->window()->size(), panelGeometry,
                                            screen->availableGeometry()));
}

void SettingsWindows::closeSettings()
{
    if (controller_)
        controller_->dispose();
    controller_ = nullptr;
}

QPoint settingsOriginLeftOf(const QSize& window, const QRect& panel, const QRect& visible)
{
    const int x = std::max(visible.left() + 8, panel.left() - 8 - window.width());
    const int bottomLimit = visible.top() + visible.height() - 8;
    const int y = std::max(visible.top(), std::min(panel.top(), bottomLimit - window.height()));
    return {x, y};
}
