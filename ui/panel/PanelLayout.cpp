// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/panel/PanelLayout.h"

#include "ui/panel/HistoryStrip.h"

#include <algorithm>

PanelLayout panelLayout(bool late, bool compact, double btnH, bool history)
{
    const double shift = compact ? PanelLayout::compactShift : 0;
    const double extra = late ? btnH + 12 : 0;
    const double lift = history ? HistoryStrip::kPanelLift : 0;
    const double up = extra - shift + lift;

    PanelLayout l;
    l.height = PanelLayout::baseHeight + up;
    l.mascot = {16, 263 + up, 92, 78};
    l.mood = {116, 321 + up, 126, 18};
    l.title = {116, 300 + up, 126, 24};
    l.bar = {114, 267 + up, 126, 32};
    for (int i = 0; i < 4; ++i) {
        l.rowTitles[i] = {16, 219 - 24.0 * i + up, 66, 20};
        l.values[i] = {84, 218 - 24.0 * i + up, 156, 22};
    }
    if (late)
        l.dinner = {16, 143 - shift + lift, 224, btnH};
    const double bandHeight = compact ? 37 : 77;
    l.band = {16, 133 - shift - bandHeight + lift, 224, bandHeight};
    if (history)
        l.history = {16, HistoryStrip::kPanelBottom, HistoryStrip::kWidth, HistoryStrip::kHeight};
    l.eyeBaseY = compact ? 10 : 50;
    l.wolluLine = {12, l.eyeBaseY, 160, 17};
    l.wolluMoney = {12, 29, 200, 17};
    l.wolluPct = {12, 10, 200, 15};
    l.chips = {QRectF(16, 16, 106, btnH), QRectF(134, 16, 106, btnH)};
    return l;
}

QRectF eyeFrame(const PanelLayout& layout, QSizeF imageSize)
{
    const double w = imageSize.width(), h = imageSize.height();
    return {212 - w, layout.eyeBaseY - 4 + (24 - h) / 2, w, h};
}

namespace {

bool lineFits(const QRectF& line, double textWidth, double rightmost)
{
    return line.left() + textWidth + 8 <= rightmost;
}

} // namespace

QRectF leaveFrame(const PanelLayout& layout, double titleTextWidth, double moodTextWidth,
                  QSizeF imageSize)
{
    const double w = imageSize.width(), h = imageSize.height();
    const double rightmost = PanelLayout::width - 16 - w;
    const auto after = [&](const QRectF& line, double textWidth) {
        // The layout's y grows upwards: a line's bottom edge is its top() in Qt's terms.
        return QRectF(std::min(rightmost, line.left() + textWidth + 8),
                      line.top() + (line.height() - h) / 2, w, h);
    };
    // A long title (overtime's has two emoji) leaves no room: the link would sit on its last
    // characters. The mood line above it is short in every phase that shows the link.
    if (lineFits(layout.title, titleTextWidth, rightmost))
        return after(layout.title, titleTextWidth);
    if (lineFits(layout.mood, moodTextWidth, rightmost))
        return after(layout.mood, moodTextWidth);
    return after(layout.title, titleTextWidth);
}

QRectF flipped(const QRectF& rect, double height)
{
    return {rect.x(), height - rect.y() - rect.height(), rect.width(), rect.height()};
}
