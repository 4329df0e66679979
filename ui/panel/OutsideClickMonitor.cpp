// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/panel/OutsideClickMonitor.h"

#include "platform/DesktopEvents.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

OutsideClickMonitor::OutsideClickMonitor(DesktopEvents* desktop, QObject* parent)
    : QObject(parent), desktop_(desktop)
{
    if (desktop_) {
        connect(desktop_, &DesktopEvents::pressed, this, &OutsideClickMonitor::pressed);
        connect(desktop_, &DesktopEvents::spaceChanged, this, [this] {
            if (deactivationPending_ &&
                QGuiApplication::applicationState() != Qt::ApplicationActive)
                deactivated();
        });
    }
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    deactivationPending_ = false;
                else
                    deactivated();
            });
}

void OutsideClickMonitor::deactivated()
{
    deactivationPending_ = false;
    if (!installed_ || QApplication::activeModalWidget())
        return;
    // A press on a window's background or edge hands the pointer and the keyboard to the window
    // manager until the button comes up; Qt sees our window lose the keyboard, the desktop still
    // names it active. Typed fields must survive a drag of the settings window.
    if (desktop_ && isOwnWindow(desktop_->activeWindow())) {
        deactivationPending_ = true;
        return;
    }
    Q_EMIT outsideClick();
}

bool OutsideClickMonitor::isOwnWindow(quintptr window)
{
    if (window == 0)
        return false;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const QWidget* widget : windows)
        if (widget->isVisible() && widget->internalWinId() == window)
            return true;
    return false;
}

void OutsideClickMonitor::install()
{
    if (installed_)
        return;
    installed_ = true;
    if (desktop_)
        desktop_->watchPresses(true);
}

void OutsideClickMonitor::remove()
{
    if (!installed_)
        return;
    installed_ = false;
    deactivationPending_ = false;
    if (desktop_)
        desktop_->watchPresses(false);
}

bool OutsideClickMonitor::isOutside(const QPoint& globalPos)
{
    // A menu of ours is open: the press picks an item or closes the menu, nothing more.
    if (QApplication::activePopupWidget())
        return false;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const QWidget* window : windows)
        if (window->isVisible() && window->frameGeometry().contains(globalPos))
            return false;
    return true;
}

void OutsideClickMonitor::pressed()
{
    if (installed_ && isOutside(QCursor::pos()))
        Q_EMIT outsideClick();
}
