// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

#include <optional>

// The palette every window draws with, resolved for the current appearance when asked for.
// Nothing here follows a later appearance change by itself: fetch colours again after one.

// Light: black at `alpha`. Dark: white at `darkAlpha`, or at min(alpha x 1.55, 0.95).
QColor ink(double alpha, std::optional<double> darkAlpha = std::nullopt);

QColor inkColor();
QColor mutedInk();
QColor hintInk();
QColor faintColor();
QColor chipFill();
QColor bandFill();

QColor wolluRedColor();
QColor moneyGreenColor();
// The panel's slacking band when slacking runs hot: a pink wash over the glass.
QColor wolluCardFill();
// The progress bar's fill colours; the same in light and dark.
QColor barGreenColor();
QColor barOverColor();

// The progress ramp: green at 0, amber at 0.5, coral at 1; p outside 0...1 is clamped.
QColor warmColor(double p);
