// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/toolkit/GlassView.h"

#include <functional>

// A glass surface that tells its owner when the light/dark appearance or the palette changed, so
// the owner can fetch its colours again and rebuild its views.
class ReactiveVFX final : public GlassView
{
    Q_OBJECT
public:
    explicit ReactiveVFX(QWidget* parent = nullptr);

    std::function<void()> onAppearanceChange;
    // Tells the owner once, after the events now queued, as a theme change does (the desktop's
    // preference changed without the palette).
    void notifyAppearanceChange() { scheduleNotification(); }

protected:
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void scheduleNotification();
    bool pending_ = false;
};
