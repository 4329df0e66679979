// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolkit/MascotView.h"

#include "render/Art.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Browsers draw GIF delays under 20 ms as 100 ms; the art relies on the same reading.
int frameDelayMs(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0.02)
        return 100;
    return int(std::min(seconds, 10.0) * 1000 + 0.5);
}

} // namespace

MascotView::MascotView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &MascotView::advance);
}

void MascotView::setArt(const QString& name)
{
    if (std::optional<FrameSet> set = gifFrames(name); set && !set->frames.isEmpty()) {
        setFrames(std::move(set->frames), std::move(set->durations));
        return;
    }
    const std::optional<QImage> still = loadArt(name);
    setFrames(still ? QList<QImage>{*still} : QList<QImage>{}, {});
}

void MascotView::setFrames(QList<QImage> frames, QList<double> durations)
{
    frames_ = std::move(frames);
    durations_ = std::move(durations);
    index_ = 0;
    timer_.stop();
    scheduleNext();
    update();
}

void MascotView::setOpacity(double opacity)
{
    if (opacity_ == opacity)
        return;
    opacity_ = opacity;
    update();
}

void MascotView::scheduleNext()
{
    if (frames_.size() < 2 || !isVisible())
        return;
    const double delay = index_ < durations_.size() ? durations_[index_] : 0.1;
    timer_.start(frameDelayMs(delay));
}

void MascotView::advance()
{
    if (frames_.isEmpty())
        return;
    index_ = (index_ + 1) % int(frames_.size());
    update();
    scheduleNext();
}

void MascotView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!timer_.isActive())
        scheduleNext();
}

void MascotView::hideEvent(QHideEvent* event)
{
    timer_.stop();
    QWidget::hideEvent(event);
}

void MascotView::paintEvent(QPaintEvent*)
{
    if (frames_.isEmpty())
        return;
    const QImage& frame = frames_[std::clamp(index_, 0, int(frames_.size()) - 1)];
    const QSizeF size = frame.deviceIndependentSize();
    if (size.isEmpty())
        return;
    const double scale = std::min(width() / size.width(), height() / size.height());
    const QSizeF drawn = size * scale;
    const QRectF target((width() - drawn.width()) / 2, (height() - drawn.height()) / 2,
                        drawn.width(), drawn.height());
    QPainter painter(this);
    painter.setOpacity(opacity_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, frame);
}
