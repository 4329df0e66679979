// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolkit/ChipButton.h"

#include <QEnterEvent>
#include <QPainter>

#include <cmath>

ChipButton::ChipButton(const QString& title, QWidget* parent) : QAbstractButton(parent)
{
    setText(title);
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void ChipButton::setImage(const QImage& image)
{
    image_ = image;
    update();
}

QSizeF ChipButton::imageSize() const
{
    return image_.isNull() ? QSizeF() : image_.deviceIndependentSize();
}

void ChipButton::setFill(std::optional<QColor> fill)
{
    if (fill_ == fill)
        return;
    fill_ = fill;
    update();
}

void ChipButton::setCornerRadius(double radius)
{
    radius_ = radius;
    update();
}

QSize ChipButton::sizeHint() const
{
    return imageSize().toSize();
}

void ChipButton::enterEvent(QEnterEvent* event)
{
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ChipButton::leaveEvent(QEvent* event)
{
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void ChipButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Pressing dims the whole button, as borderless buttons do; hovering a filled chip deepens its
    // fill a little so that the pointer finds it.
    if (isDown())
        painter.setOpacity(0.55);
    if (fill_) {
        QColor fill = *fill_;
        if (hovered_ && !isDown())
            fill.setAlphaF(std::min(fill.alphaF() * 1.6, 1.0));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(QRectF(rect()), radius_, radius_);
    }
    if (image_.isNull())
        return;
    const QSizeF size = image_.deviceIndependentSize();
    const QPointF at(std::round((width() - size.width()) / 2),
                     std::round((height() - size.height()) / 2));
    painter.drawImage(at, image_);
}
