#include "ui/settings/SettingsWindows.h"

#include "analytics/Analytics.h"
#include "engine/Cfg.h"
#include "ui/settings/GlassWindow.h"
#include "ui/settings/SettingsWindowController.h"

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

void SettingsWindows::openSettings()
{
    const bool fromPanel = panel_ && panel_->isVisible();
    Analytics::track(Analytics::Event::settingsOpened,
                     {{QStringLiteral("entry_point"),
                       fromPanel ? QStringLiteral("panel_button") : QStringLiteral("menu")},
                      {QStringLiteral("has_salary"), Cfg::monthlySalaryWon() > 0}});
    if (!controller_) {
        controller_ = new SettingsWindowController(this);
        connect(controller_, &SettingsWindowController::saved, this, &SettingsWindows::saved);
    }
    controller_->showCentered();
}

void SettingsWindows::openSettingsBeside(QWidget* panel)
{
    setPanelWindow(panel);
    openSettings();
    if (!controller_ || !panel)
        return;
    const QRect p = panel->frameGeometry();
    QScreen* screen = QGuiApplication::screenAt(p.center());
    if (!screen)
        screen = panel->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    GlassWindow* window = controller_->window();
    window->move(settingsOriginLeftOf(window->size(), p, screen->availableGeometry()));
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
