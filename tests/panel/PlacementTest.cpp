// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/panel/PanelLayout.h"
#include "ui/panel/PanelPlacement.h"

#include <gtest/gtest.h>

namespace {

const QSize kPanel(320, 357);

// A 1920 x 1080 screen with a desktop panel `thickness` pixels deep along `edge`.
PanelScreen screenWithPanel(char edge, int thickness = 28, QPoint origin = {0, 0})
{
    const QRect g(origin, QSize(1920, 1080));
    QRect v = g;
    switch (edge) {
    case 't':
        v.setTop(g.top() + thickness);
        break;
    case 'b':
        v.setBottom(g.bottom() - thickness);
        break;
    case 'l':
        v.setLeft(g.left() + thickness);
        break;
    case 'r':
        v.setRight(g.right() - thickness);
        break;
    default:
        break;
    }
    return {g, v};
}

struct PlacementCase
{
    const char* name;
    char edge;
    QRect anchor;
    PanelSide side;
    QPoint origin;
};

class Placement : public testing::TestWithParam<PlacementCase>
{};

TEST_P(Placement, OpensBesideTheIconInsideTheScreen)
{
    const PlacementCase& c = GetParam();
    const PanelScreen screen = screenWithPanel(c.edge);
    EXPECT_EQ(panelSide(c.anchor, screen), c.side);
    EXPECT_EQ(panelOriginNear(c.anchor, kPanel, screen), c.origin);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, Placement,
    testing::Values(
        // Centred under the icon: 1900 - 160 would leave the screen, so 1920 - 320 - 4.
        PlacementCase{"TopRight", 't', QRect(1888, 3, 24, 24), PanelSide::below, {1596, 29}},
        // Near the left edge: 4 pixels in.
        PlacementCase{"TopLeft", 't', QRect(88, 3, 24, 24), PanelSide::below, {4, 29}},
        PlacementCase{"TopMiddle", 't', QRect(948, 3, 24, 24), PanelSide::below, {800, 29}},
        // A click position from a StatusNotifierItem host lies inside the desktop's panel: the
        // panel still starts below it, not over it.
        PlacementCase{"TopClickPoint", 't', QRect(1000, 10, 1, 1), PanelSide::below, {841, 28}},
        // A panel at the bottom: the panel opens above, its bottom edge 2 pixels above the icon.
        PlacementCase{
            "Bottom", 'b', QRect(1888, 1053, 24, 24), PanelSide::above, {1596, 1053 - 2 - 357}},
        // A side panel: the panel opens beside it, vertically centred on the icon, kept inside.
        PlacementCase{"Left", 'l', QRect(3, 500, 24, 24), PanelSide::right, {29, 334}},
        PlacementCase{"RightNearBottom",
                      'r',
                      QRect(1893, 1040, 24, 24),
                      PanelSide::left,
                      {1893 - 2 - 320, 1080 - 357 - 4}},
        PlacementCase{"LeftNearTop", 'l', QRect(3, 2, 24, 24), PanelSide::right, {29, 4}},
        // No desktop panel reserves space (trayer without a strut): upper or lower half decides.
        PlacementCase{"NoStrutLowerHalf",
                      'n',
                      QRect(10, 1000, 24, 24),
                      PanelSide::above,
                      {4, 1000 - 2 - 357}}),
    [](const testing::TestParamInfo<PlacementCase>& tested) { return tested.param.name; });

TEST(PanelOrigin, FallsBackToTheRightScreenOrItsCorner)
{
    const PanelScreen primary = screenWithPanel('t');
    const PanelScreen bigger = {QRect(1920, 0, 2560, 1440), QRect(1920, 0, 2560, 1440)};
    const QList<PanelScreen> screens{primary, bigger};

    // The icon on the second screen places the panel there.
    EXPECT_EQ(panelOrigin(QRect(4400, 0, 24, 24), kPanel, screens), QPoint(4480 - 320 - 4, 26));
    // An icon outside every screen: the primary screen's limits.
    const QRect lost(-500, 3, 24, 24);
    EXPECT_EQ(panelOrigin(lost, kPanel, screens), panelOriginNear(lost, kPanel, primary));
    // No position at all: the top-right corner of the screen with the bar, under the bar.
    EXPECT_EQ(panelOrigin(std::nullopt, kPanel, screens), QPoint(1920 - 320 - 8, 28 + 4));
    EXPECT_EQ(panelOrigin(QRect(), kPanel, screens), QPoint(1920 - 320 - 8, 28 + 4));
    EXPECT_EQ(panelOrigin(std::nullopt, kPanel, {}), std::nullopt);

    // Equal areas: the earlier screen wins.
    EXPECT_EQ(largestScreen({primary, screenWithPanel('t', 30, {1920, 0})}), 0);
}

struct ClickCase
{
    const char* name;
    QList<PanelScreen> screens;
    QPoint click;
    QPoint origin;
};

class ClickPosition : public testing::TestWithParam<ClickCase>
{};

// A host's click position is used where it can be the icon's; otherwise the panel takes the
// corner by the bar, under its height as the work area tells it.
TEST_P(ClickPosition, UnderTheClickOrInTheCornerByTheBar)
{
    const ClickCase& c = GetParam();
    EXPECT_EQ(panelOrigin(QRect(c.click, QSize(1, 1)), kPanel, c.screens), c.origin);
}

const PanelScreen kPlain{QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1080)};

INSTANTIATE_TEST_SUITE_P(
    Hosts, ClickPosition,
    testing::Values(
        // Newer waybar and KDE: a real position on the bar.
        ClickCase{"OnTheBar", {screenWithPanel('t', 30)}, {1000, 12}, {841, 30}},
        // GNOME's extension sends (0, 0): top right under its 32-pixel top bar.
        ClickCase{"GnomeNoPosition", {screenWithPanel('t', 32)}, {0, 0}, {1592, 36}},
        // waybar 0.9 sends the position inside the icon.
        ClickCase{"InsideTheIcon", {screenWithPanel('t', 26)}, {10, 15}, {1592, 30}},
        ClickCase{"InsideALargeIcon", {screenWithPanel('t', 26)}, {47, 20}, {1592, 30}},
        // Off every screen: not where the icon can be.
        ClickCase{"OffEveryScreen", {screenWithPanel('t', 26)}, {5000, 12}, {1592, 30}},
        ClickCase{"Negative", {screenWithPanel('t', 26)}, {-40, -3}, {1592, 30}},
        // A bar at the bottom: the corner above it.
        ClickCase{"BottomBar", {screenWithPanel('b', 40)}, {0, 0}, {1592, 1080 - 40 - 357 - 4}},
        // The bar on the second output only: its corner, not the primary's.
        ClickCase{"BarOnTheSecondOutput",
                  {kPlain, screenWithPanel('t', 30, {1920, 0})},
                  {10, 15},
                  {3840 - 320 - 8, 34}},
        // No work area at all (nothing reserves space): the top-right corner.
        ClickCase{"NoWorkArea", {kPlain}, {0, 0}, {1592, 4}}),
    [](const testing::TestParamInfo<ClickCase>& tested) { return tested.param.name; });

// sway's XWayland publishes no work area; sway's workspaces tell what waybar leaves out.
TEST(WorkAreas, FillInOnlyWhereQtKnowsNone)
{
    const PanelScreen bare{QRect(0, 0, 1280, 720), QRect(0, 0, 1280, 720)};
    const PanelScreen second{QRect(1280, 0, 1920, 1080), QRect(1280, 0, 1920, 1080)};
    const QRect underBar(0, 30, 1280, 690);
    const QRect secondUnderBar(1280, 26, 1920, 1054);

    // Each screen takes the area inside it, whatever the order.
    QList<PanelScreen> screens = withWorkAreas({bare, second}, {secondUnderBar, underBar});
    EXPECT_EQ(screens[0].available, underBar);
    EXPECT_EQ(screens[1].available, secondUnderBar);
    // The corner then sits under the bar, not over it.
    EXPECT_EQ(panelOrigin(std::nullopt, kPanel, screens), QPoint(1280 - 320 - 8, 30 + 4));

    // A work area of Qt's own (X11's _NET_WORKAREA) stays; so does a screen no area fits in.
    const PanelScreen known = screenWithPanel('t', 28);
    screens = withWorkAreas({known, bare}, {QRect(0, 40, 1920, 1040), QRect(0, 30, 1300, 690)});
    EXPECT_EQ(screens[0].available, known.available);
    EXPECT_EQ(screens[1].available, bare.available);
    // An area that leaves nothing out is no news; without areas nothing changes.
    EXPECT_EQ(withWorkAreas({bare}, {bare.geometry})[0].available, bare.geometry);
    EXPECT_EQ(withWorkAreas({bare}, {})[0].available, bare.geometry);
}

TEST(PanelOrigin, APanelWiderThanTheScreenKeepsItsRightEdgeInside)
{
    const PanelScreen tiny{QRect(0, 0, 300, 600), QRect(0, 20, 300, 580)};
    EXPECT_EQ(panelOriginNear(QRect(150, 0, 20, 20), kPanel, tiny).x(), 300 - 320 - 4);
}

} // namespace

namespace {

TEST(LeaveLink, FollowsTheTitleOrTheMoodWithoutCoveringEitherText)
{
    const PanelLayout late = panelLayout(true, false, 30, true);
    const QSizeF link(40, 13);
    const auto rightEdgeOfText = [&](const QRectF& line, double textWidth) {
        return line.left() + textWidth;
    };

    // A short title: right after it, centred on the title line.
    QRectF frame = leaveFrame(late, 60, 70, link);
    EXPECT_DOUBLE_EQ(frame.left(), rightEdgeOfText(late.title, 60) + 8);
    EXPECT_DOUBLE_EQ(frame.center().y(), late.title.center().y());

    // Overtime's title is too long: the link moves after the mood line.
    frame = leaveFrame(late, 100, 70, link);
    EXPECT_DOUBLE_EQ(frame.left(), rightEdgeOfText(late.mood, 70) + 8);
    EXPECT_DOUBLE_EQ(frame.center().y(), late.mood.center().y());

    // Neither has room: on the title line, 16 points inside the right edge.
    frame = leaveFrame(late, 120, 120, link);
    EXPECT_DOUBLE_EQ(frame.right(), PanelLayout::width - 16);
    EXPECT_DOUBLE_EQ(frame.center().y(), late.title.center().y());
}

} // namespace
