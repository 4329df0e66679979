// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/Status.h"

#include <QImage>
#include <QList>
#include <QString>

#include <array>
#include <optional>

// One moment of the mascot as the tray shows it: the same picture drawn by hand for square slots
// of several sizes (the shipped art has 16 x 16 and 22 x 22 pixels). Tray slots are square and
// small, so each size is its own drawing rather than one picture resampled.
// The day's progress under the mascot: a bar of whole pixels along the slot's bottom edge, so it
// stays sharp in slots of 16, 22 and 24 pixels where the panel's bar picture could not.
struct TrayBar
{
    double progress = 0;   // 0...1, kept to a thousandth (no slot is a thousand pixels wide)
    bool overtime = false; // filled in the overtime colour, as the panel's bar
    bool faded = false;    // the day is over or off: drawn at 40 %, as the panel's bar

    bool operator==(const TrayBar&) const = default;
};

// The bar the tray shows for `status`, following the panel's bar through every phase.
TrayBar trayBarFor(const Status& status);

// The bar's rows and columns in a `slotPixels` square, and how many of its columns are filled.
struct TrayBarLayout
{
    QRect track;    // the whole bar, in slot pixels
    int filled = 0; // columns from the left drawn in the fill colour
};
TrayBarLayout trayBarLayout(const TrayBar& bar, int slotPixels);

struct TraySprite
{
    QList<QImage> drawings;
    std::optional<TrayBar> bar; // none: the mascot alone

    bool isNull() const { return drawings.isEmpty(); }
    // Same drawings, pixel for pixel.
    bool operator==(const TraySprite& other) const;
};

// The slot sizes, in pixels, offered to StatusNotifierItem hosts: 16 to 24 at 1x, twice that on
// HiDPI screens.
inline constexpr std::array<int, 6> kTrayIconSizes{16, 22, 24, 32, 44, 48};

// How a drawing fills a square slot: which drawing, enlarged by which whole factor.
struct TrayFit
{
    qsizetype drawing = -1; // index into TraySprite::drawings; -1 when there is none
    int factor = 1;         // whole-number enlargement; 0 when even the smallest must shrink
};

// The drawing that covers most of a `slotPixels` square when enlarged by a whole factor; on a tie
// the finer drawing (fewer enlarged pixels). A slot smaller than every drawing gets the smallest,
// shrunk (factor 0).
TrayFit trayFit(const TraySprite& sprite, int slotPixels);

// The sprite in a transparent `slotPixels` x `slotPixels` image: the fitting drawing enlarged by
// whole numbers with nearest-neighbour sampling and centred, so every pixel keeps a hard edge. A
// picture larger than the slot is shrunk by nearest neighbour as well: no pixel is ever blended.
// With a bar, the drawing rises as far as needed (never cutting its own ink) to clear the bar.
QImage renderTrayImage(const TraySprite& sprite, int slotPixels);

// The tray drawings of `mascot` ("<mascot>_16", "<mascot>_22"), frame `frame` of each (a still
// picture counts as one frame; frame numbers wrap). Falls back to the mascot's own picture when no
// tray drawing exists, e.g. art the user placed in ~/TockWork/art.
TraySprite loadTraySprite(const QString& mascot, int frame = 0);
