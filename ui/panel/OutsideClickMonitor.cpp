#include "ui/panel/OutsideClickMonitor.h"

#include "platform/DesktopEvents.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

OutsideClickMonitor::OutsideClickMonitor(DesktopEvents* desktop, QObject* parent)
    : QObject(parent), desktop_(desktop)
{
    if (desktop_)
        connect(desktop_, &DesktopEvents::pressed, this, &OutsideClickMonitor::pressed);
    connect(
        qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (installed_ && state != Qt::ApplicationActive && !QApplication::activeModalWidget())
                Q_EMIT outsideClick();
        });
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
