// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/panel/PanelPlacement.h"

#include "platform/WindowHints.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace {

// QRect's right() and bottom() are the last pixel inside; the edges here are the first outside.
int rightEdge(const QRect& r)
{
    return r.x() + r.width();
}

int bottomEdge(const QRect& r)
{
    return r.y() + r.height();
}

// Centred on `centre`, at least 4 pixels inside [low, high); the high limit wins a conflict.
int centredWithin(double centre, int size, int low, int high)
{
    const int wanted = int(std::lround(centre - size / 2.0));
    return std::min(high - size - 4, std::max(low + 4, wanted));
}

} // namespace

PanelSide panelSide(const QRect& anchor, const PanelScreen& screen)
{
    const QRect& v = screen.available;
    const QPointF centre = QRectF(anchor).center();
    if (centre.x() < v.x())
        return PanelSide::right;
    if (centre.x() >= rightEdge(v))
        return PanelSide::left;
    const QRect& g = screen.geometry;
    return centre.y() >= g.y() + g.height() / 2.0 ? PanelSide::above : PanelSide::below;
}

QPoint panelOriginNear(const QRect& anchor, QSize panel, const PanelScreen& screen)
{
    const QRect& v = screen.available;
    const QPointF centre = QRectF(anchor).center();
    const int w = panel.width();
    const int h = panel.height();
    switch (panelSide(anchor, screen)) {
    case PanelSide::below: {
        const int x = centredWithin(centre.x(), w, v.x(), rightEdge(v));
        return {x, std::max(bottomEdge(anchor) + 2, v.y())};
    }
    case PanelSide::above: {
        const int x = centredWithin(centre.x(), w, v.x(), rightEdge(v));
        return {x, std::min(anchor.y() - 2, bottomEdge(v)) - h};
    }
    case PanelSide::right: {
        const int y = centredWithin(centre.y(), h, v.y(), bottomEdge(v));
        return {std::max(rightEdge(anchor) + 2, v.x()), y};
    }
    case PanelSide::left: {
        const int y = centredWithin(centre.y(), h, v.y(), bottomEdge(v));
        return {std::min(anchor.x() - 2, rightEdge(v)) - w, y};
    }
    }
    return v.topLeft();
}

QPoint panelCornerOrigin(QSize panel, const PanelScreen& screen)
{
    const QRect& v = screen.available;
    const QRect& g = screen.geometry;
    const int x = rightEdge(v) - panel.width() - 8;
    if (v.y() == g.y() && bottomEdge(v) < bottomEdge(g))
        return {x, bottomEdge(v) - panel.height() - 4};
    return {x, v.y() + 4};
}

bool clickOnAScreen(QPoint click, const QList<PanelScreen>& screens)
{
    // The largest picture a host is offered (kTrayIconSizes): a position inside the icon is never
    // more than that from its corner.
    constexpr int kIconSpan = 48;
    if (click.x() >= 0 && click.x() < kIconSpan && click.y() >= 0 && click.y() < kIconSpan)
        return false;
    return std::any_of(screens.begin(), screens.end(),
                       [&](const PanelScreen& s) { return s.geometry.contains(click); });
}

std::optional<qsizetype> barScreen(const QList<PanelScreen>& screens)
{
    for (qsizetype i = 0; i < screens.size(); ++i)
        if (screens[i].available != screens[i].geometry)
            return i;
    if (screens.isEmpty())
        return std::nullopt;
    return 0;
}

std::optional<qsizetype> screenHolding(const QRect& anchor, const QList<PanelScreen>& screens)
{
    const QPoint centre = QRectF(anchor).center().toPoint();
    for (qsizetype i = 0; i < screens.size(); ++i)
        if (screens[i].geometry.contains(centre))
            return i;
    return std::nullopt;
}

std::optional<qsizetype> largestScreen(const QList<PanelScreen>& screens)
{
    std::optional<qsizetype> best;
    qint64 bestArea = -1;
    for (qsizetype i = 0; i < screens.size(); ++i) {
        const QRect& g = screens[i].geometry;
        const qint64 area = qint64(g.width()) * g.height();
        if (area > bestArea) {
            bestArea = area;
            best = i;
        }
    }
    return best;
}

std::optional<QPoint> panelOrigin(const std::optional<QRect>& anchor, QSize panel,
                                  const QList<PanelScreen>& screens)
{
    if (screens.isEmpty())
        return std::nullopt;
    const bool click = anchor && anchor->size() == QSize(1, 1);
    if (anchor && anchor->isValid() && (!click || clickOnAScreen(anchor->topLeft(), screens))) {
        const qsizetype i = screenHolding(*anchor, screens).value_or(0);
        return panelOriginNear(*anchor, panel, screens[i]);
    }
    return panelCornerOrigin(panel, screens[*barScreen(screens)]);
}

QList<PanelScreen> withWorkAreas(QList<PanelScreen> screens, const QList<QRect>& areas)
{
    for (PanelScreen& screen : screens) {
        if (screen.available != screen.geometry)
            continue;
        qint64 bestArea = -1;
        for (const QRect& area : areas) {
            if (!screen.geometry.contains(area) || area == screen.geometry)
                continue;
            const qint64 size = qint64(area.width()) * area.height();
            if (size > bestArea) {
                bestArea = size;
                screen.available = area;
            }
        }
    }
    return screens;
}

QList<PanelScreen> currentPanelScreens()
{
    QList<PanelScreen> screens;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        screens.append({primary->geometry(), primary->availableGeometry()});
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != primary)
            screens.append({screen->geometry(), screen->availableGeometry()});
    // Asked only where Qt knows no work area, which is where a compositor may know one.
    const bool anyWithout = std::any_of(screens.begin(), screens.end(), [](const PanelScreen& s) {
        return s.available == s.geometry;
    });
    return anyWithout ? withWorkAreas(std::move(screens), WindowHints::compositorWorkAreas())
                      : screens;
}
