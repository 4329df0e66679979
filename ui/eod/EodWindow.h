// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/toolkit/KeyableWindow.h"

#include <functional>
#include <optional>

class ReactiveVFX;

// The prompt's window: its glass surface and the views on it, rebuilt in the colours of the
// moment whenever the light/dark appearance changes.
class EodWindow final : public KeyableWindow
{
    Q_OBJECT
public:
    EodWindow();

    void setAppearance(std::optional<bool> dark);
    void relayout();

    std::function<void()> onLeave;
    std::function<void()> onOvertime;

    double buttonHeight() const { return bh_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateShape();

    ReactiveVFX* content_;
    std::optional<bool> appearance_;
    double bh_ = 0;
};
