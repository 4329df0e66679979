// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/toolkit/GlassView.h"

#include <optional>

// The frameless, always-on-top window of the drop-down panel: it stays above other windows, on
// every desktop, does not take focus from the application in front when shown (sway gives it the
// keyboard all the same), and holds its content in a GlassView that follows the hosted widget's
// size, which it keeps fixed so that tiling compositors float it.
class GlassPanel final : public QWidget
{
    Q_OBJECT
public:
    GlassPanel(QWidget* hosting, bool hidesOnDeactivate);

    GlassView* glass() const { return glass_; }
    QWidget* hosted() const { return hosted_; }
    bool hidesOnDeactivate() const { return hidesOnDeactivate_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void updateShape();

    GlassView* glass_;
    QWidget* hosted_;
    bool hidesOnDeactivate_;
    // Where the application last put the panel, and how often the compositor was asked since.
    std::optional<QPoint> wanted_;
    int corrections_ = 0;
};

// The panel window around `hosting`, sized to it; `hosting` becomes its child. The caller owns the
// returned window. With `hidesOnDeactivate` the window hides when the application loses activation.
GlassPanel* makeGlassPanel(QWidget* hosting, bool hidesOnDeactivate);
