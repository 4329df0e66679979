// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/panel/BarView.h"

#include "render/Colors.h"
#include "render/PixelBar.h"

#include <QPainter>

BarView::BarView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void BarView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawPixelBar(painter, QRectF(rect()), progress, alpha2,
                 overtime ? barOverColor() : barGreenColor());
}
