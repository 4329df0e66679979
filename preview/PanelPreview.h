// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

// The panels of a working day and of a finished one side by side on a light grey card, 660 x 505
// points at `scale` pixels per point, in the light appearance.
QImage renderPanelPreview(qreal scale);

// Writes the panel preview as PNG to `path` at the screen's scale (2x without a display) and
// prints "panel preview done". False when the file could not be written.
bool runPanelPreview(const QString& path);
