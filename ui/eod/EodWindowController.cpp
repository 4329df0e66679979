// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/eod/EodWindowController.h"

#include "ui/eod/EodWindow.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

EodWindowController::EodWindowController(QObject* parent) : QObject(parent), window_(new EodWindow)
{
    window_->setWindowModality(Qt::ApplicationModal);
    window_->onLeave = [this] { leaveTapped(); };
    // The window manager's close and the application's quit reach the window the same way (Qt
    // closes every window before it quits); only the quit is seen by the application first.
    window_->onOvertime = [this] {
        if (!quitting_)
            overtimeTapped();
    };
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

bool EodWindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance())
        quitting_ = true;
    return false;
}

EodWindowController::~EodWindowController()
{
    delete window_.data();
}

void EodWindowController::setAppearance(std::optional<bool> dark)
{
    if (window_)
        window_->setAppearance(dark);
}

EodWindow* EodWindowController::window() const
{
    return window_.data();
}

bool EodWindowController::isOpen() const
{
    return window_ && window_->isVisible() && !answered_;
}

void EodWindowController::show()
{
    if (!window_)
        return;
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        window_->move(area.center() - QPoint(W / 2, H / 2));
    }
    if (activates_)
        window_->makeKeyAndOrderFront();
    else
        window_->show();
}

void EodWindowController::leaveTapped()
{
    finish(true);
}

void EodWindowController::overtimeTapped()
{
    finish(false);
}

void EodWindowController::finish(bool leaving)
{
    if (answered_)
        return;
    answered_ = true;
    leaving_ = leaving;
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    if (window_)
        window_->hide();
    Q_EMIT answered(leaving);
}
