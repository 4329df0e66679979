// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// A borderless, translucent top-level window that still takes keyboard focus, so the text fields
// of the settings window and dialogs accept typing although the application has no main window.
class KeyableWindow : public QWidget
{
    Q_OBJECT
public:
    explicit KeyableWindow(QWidget* parent = nullptr, Qt::WindowFlags extraFlags = {});

    // Dragging the window's background moves the window.
    void setMovableByBackground(bool movable) { movableByBackground_ = movable; }

    // Shows the window in front and gives it the keyboard.
    void makeKeyAndOrderFront();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool movableByBackground_ = false;
    bool dragging_ = false;
    QPoint dragOffset_;
};
