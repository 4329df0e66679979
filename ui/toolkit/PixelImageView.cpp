// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolkit/PixelImageView.h"

#include "render/TextImage.h"

#include <QPainter>

#include <cmath>

PixelImageView::PixelImageView(QWidget* parent, Qt::Alignment horizontal)
    : QWidget(parent), horizontal_(horizontal & Qt::AlignHorizontal_Mask)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

qreal PixelImageView::effectivePixelRatio() const
{
    return ratio_ > 0 ? ratio_ : devicePixelRatioF();
}

void PixelImageView::setImage(const QImage& image)
{
    image_ = image;
    lineKey_.clear();
    update();
}

void PixelImageView::clear()
{
    if (image_.isNull())
        return;
    setImage(QImage());
}

void PixelImageView::setLine(const QString& text, const QFont& font, const QColor& colour)
{
    const qreal ratio = effectivePixelRatio();
    const QString key = text + QChar(0) + font.key() + QChar(0) +
                        QString::number(colour.rgba64(), 16) + QChar(0) + QString::number(ratio);
    if (key == lineKey_ && !image_.isNull())
        return;
    image_ = renderMonaLine(text, font, colour, ratio);
    lineKey_ = key;
    update();
}

QSizeF PixelImageView::imageSize() const
{
    return image_.isNull() ? QSizeF() : image_.deviceIndependentSize();
}

void PixelImageView::paintEvent(QPaintEvent*)
{
    if (image_.isNull())
        return;
    const QSizeF size = image_.deviceIndependentSize();
    double x = 0;
    if (horizontal_ & Qt::AlignHCenter)
        x = (width() - size.width()) / 2;
    else if (horizontal_ & Qt::AlignRight)
        x = width() - size.width();
    // Whole points, so a 1x picture is not resampled across two device pixels.
    const QPointF at(std::round(x), std::round((height() - size.height()) / 2));
    QPainter painter(this);
    painter.drawImage(at, image_);
}
