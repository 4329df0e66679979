// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolkit/KeyableWindow.h"

#include <QMouseEvent>
#include <QWindow>

KeyableWindow::KeyableWindow(QWidget* parent, Qt::WindowFlags extraFlags)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | extraFlags)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::StrongFocus);
}

void KeyableWindow::makeKeyAndOrderFront()
{
    show();
    raise();
    activateWindow();
}

void KeyableWindow::mousePressEvent(QMouseEvent* event)
{
    if (movableByBackground_ && event->button() == Qt::LeftButton) {
        // The window manager moves the window itself where it can (X11, Wayland); otherwise the
        // window follows the pointer.
        if (windowHandle() && windowHandle()->startSystemMove()) {
            event->accept();
            return;
        }
        dragging_ = true;
        dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void KeyableWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_) {
        move(event->globalPosition().toPoint() - dragOffset_);
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void KeyableWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (dragging_ && event->button() == Qt::LeftButton) {
        dragging_ = false;
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}
