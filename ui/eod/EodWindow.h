// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/toolkit/GlassWindow.h"

#include <functional>

// The prompt's window: its glass surface and the views on it, rebuilt in the colours of the
// moment whenever the light/dark appearance changes.
class EodWindow final : public GlassWindow
{
    Q_OBJECT
public:
    EodWindow();

    // Light or dark whatever the desktop says, or none to follow it; the prompt is drawn in the
    // new colours at once, not after the events now queued.
    void setAppearance(std::optional<bool> dark);
    void relayout();

    std::function<void()> onLeave;
    std::function<void()> onOvertime;

    double buttonHeight() const { return bh_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    double bh_ = 0;
};
