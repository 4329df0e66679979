// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

// A one-line text field whose editing shortcuts (Ctrl+X/C/V/A/Z) follow the physical key, so they
// work with a Korean layout or input method active even where the application-wide routing of
// installEditMenu() is absent (a window shown before it, a test).
class EditableTextField : public QLineEdit
{
    Q_OBJECT
public:
    explicit EditableTextField(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
