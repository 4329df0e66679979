// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolkit/GlassView.h"

#include "platform/WindowHints.h"
#include "render/Appearance.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

QImage roundedMaskImage(double radius, qreal devicePixelRatio)
{
    const double r = std::isfinite(radius) ? std::max(radius, 0.0) : 0.0;
    const double dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const double side = 2 * r + 2;
    QImage image(int(std::ceil(side * dpr)), int(std::ceil(side * dpr)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(QRectF(0, 0, side, side), r, r);
    return image;
}

GlassView::GlassView(QWidget* parent) : QWidget(parent), cornerRadius_(uiCornerRadius)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
}

void GlassView::setAppearance(std::optional<bool> dark)
{
    if (appearance_ == dark)
        return;
    appearance_ = dark;
    update();
}

void GlassView::setCornerRadius(double radius)
{
    cornerRadius_ = radius;
    update();
}

QColor GlassView::fillColor(bool dark)
{
    return dark ? QColor(38, 38, 41, 235) : QColor(246, 246, 247, 240);
}

void GlassView::paintEvent(QPaintEvent*)
{
    // Without a compositor blur, a nearly opaque fill keeps text legible over busy desktops; the
    // slight translucency still lets the desktop's colour through, as frosted glass would.
    const bool dark = appearance_.value_or(uiIsDark());
    QColor fill = fillColor(dark);
    // Without a compositor nothing clears what the window showed before: a translucent fill,
    // and the texts on it, would darken with every repaint.
    if (!WindowHints::compositing())
        fill.setAlpha(255);
    const QColor edge = dark ? QColor(255, 255, 255, 38) : QColor(0, 0, 0, 30);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(edge, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(bounds, cornerRadius_, cornerRadius_);
}
