// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

#include <optional>

class QPainter;

// An animated picture cut into frames, one delay in seconds per frame.
struct FrameSet
{
    QList<QImage> frames;
    QList<double> durations;
};

// First existing of: bundle art folder (gif, then png), then ~/TockWork/art (gif, then png).
std::optional<QString> artPath(const QString& name);
// The picture read from artPath's file; read anew on every call.
std::optional<QImage> loadArt(const QString& name);
// The frames of an animated GIF; none for a still picture or a missing file.
std::optional<FrameSet> gifFrames(const QString& name);
// Draws `image` aspect-fitted and centred in `rect` (logical points). Pixel art is never blended:
// every device pixel takes the colour of the nearest picture pixel, at any scale.
void drawMascotFit(QPainter& painter, const std::optional<QImage>& image, const QRectF& rect,
                   double alpha = 1.0);
