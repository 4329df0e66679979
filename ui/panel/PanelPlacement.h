// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// Where the drop-down panel goes, in Qt's screen coordinates (device-independent pixels, y
// growing downwards). Pure arithmetic: the screens are handed in.

struct PanelScreen
{
    QRect geometry;  // the whole screen
    QRect available; // without the desktop's panels and docks
};

// Which side of the icon the panel opens on. Linux panels sit at any edge of the screen.
enum class PanelSide
{
    below, // a panel at the top: the panel hangs under the icon
    above, // a panel at the bottom
    right, // a panel along the left edge: the panel opens beside it
    left,  // a panel along the right edge
};

// The side for an icon at `anchor` on `screen`: beside a panel that lies outside the available
// area to the left or right, above in the lower half of the screen, below otherwise.
PanelSide panelSide(const QRect& anchor, const PanelScreen& screen);

// The panel's top-left corner for an icon at `anchor` (the icon's geometry, or a 1 x 1 rectangle
// at the click): centred on the icon along the panel's edge and 4 pixels inside the available
// area (the right or bottom limit wins when the panel is larger than the area), 2 pixels away
// from the icon, never over the desktop's panel itself.
QPoint panelOriginNear(const QRect& anchor, QSize panel, const PanelScreen& screen);

// The corner of the available area by the desktop's bar, when nothing tells where the icon is:
// top right under a top bar (its height is what the work area leaves out), bottom right above a
// bar at the bottom, top right without a bar.
QPoint panelCornerOrigin(QSize panel, const PanelScreen& screen);

// Whether a click's position (a 1 x 1 anchor) can be where the icon is. Not when it lies on no
// screen, nor when it lies within an icon's size of the origin: waybar 0.9 sends the click's
// position inside the icon (e.g. 10, 15), GNOME's extension (0, 0).
bool clickOnAScreen(QPoint click, const QList<PanelScreen>& screens);

// The screen of the desktop's bar, for the corner: the first whose work area leaves something out
// (the primary one comes first), else the primary screen; none without screens.
std::optional<qsizetype> barScreen(const QList<PanelScreen>& screens);

// The screen that holds the centre of `anchor`, else none.
std::optional<qsizetype> screenHolding(const QRect& anchor, const QList<PanelScreen>& screens);
// The screen with the largest area (the earlier one on equal areas); none without screens.
std::optional<qsizetype> largestScreen(const QList<PanelScreen>& screens);

// The panel's top-left corner: near the icon on its screen (else the primary screen, the first
// of `screens`), or in the corner by the bar when there is no anchor or the click's position
// cannot be the icon's; none without screens.
std::optional<QPoint> panelOrigin(const std::optional<QRect>& anchor, QSize panel,
                                  const QList<PanelScreen>& screens);

// `screens` with the compositor's work areas (its usable parts of the screens) where Qt knows no
// work area: a screen whose available area is all of it takes the largest of `areas` that lies
// inside it and leaves something out. Screens with a work area of their own keep it.
QList<PanelScreen> withWorkAreas(QList<PanelScreen> screens, const QList<QRect>& areas);

// The desktop's screens as Qt knows them now, the primary one first, with the compositor's work
// areas where Qt has none (sway: so the panel keeps off waybar).
QList<PanelScreen> currentPanelScreens();
