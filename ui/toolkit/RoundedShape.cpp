// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolkit/RoundedShape.h"

#include "platform/WindowHints.h"

#include <QPainterPath>
#include <QRegion>
#include <QWidget>

void cutToRoundedShape(QWidget* window, double radius)
{
    if (WindowHints::compositing()) {
        window->clearMask();
        return;
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(window->rect()), radius, radius);
    window->setMask(QRegion(path.toFillPolygon().toPolygon()));
}
