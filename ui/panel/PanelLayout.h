// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRectF>

#include <array>

// Where everything on the drop-down panel goes, in points, measured from the panel's bottom-left
// corner with y growing upwards (the way the layout is designed: the bottom rows stay put while
// the top grows). PanelVC turns these into widget frames.
struct PanelLayout
{
    static constexpr double width = 256;
    // Without the history strip; with it everything from the slacking band up rises by
    // HistoryStrip::kPanelLift.
    static constexpr double baseHeight = 357;
    // The band loses its money and share lines when the day's slacking has no money value.
    static constexpr double compactShift = 40;

    double height = baseHeight;
    QRectF mascot, mood, title, bar;
    std::array<QRectF, 4> rowTitles, values;
    QRectF dinner; // empty when not late
    QRectF band;
    QRectF history; // the history strip, between the band and the chips; empty without it
    // Inside the band, from its own bottom-left corner.
    QRectF wolluLine, wolluMoney, wolluPct;
    double eyeBaseY = 0; // the slacking line's y, which the eye button is centred on
    std::array<QRectF, 2> chips;
};

// `late`: overtime or dinner (the leave and dinner buttons show, everything above the band rises
// by `btnH` + 12). `compact`: no slacking money to show. `history`: the history strip sits under
// the band, which with everything above it rises to make room.
PanelLayout panelLayout(bool late, bool compact, double btnH, bool history);

// The eye button of the size `imageSize` beside the slacking line, in band coordinates.
QRectF eyeFrame(const PanelLayout& layout, QSizeF imageSize);

// The leave button right after the title's text, vertically centred on the title line, and never
// closer than 16 points to the panel's right edge; after the mood line's text instead when the
// title leaves no room for it.
QRectF leaveFrame(const PanelLayout& layout, double titleTextWidth, double moodTextWidth,
                  QSizeF imageSize);

// A rectangle measured from the bottom of a container `height` high, as Qt measures it: from the
// top. The same call converts back.
QRectF flipped(const QRectF& rect, double height);
