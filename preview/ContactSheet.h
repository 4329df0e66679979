// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

// Every phase of the day's tray image in one picture, on a light and a dark tray, for checking
// the art at a glance: 308 x 238 points, seven rows of 34.
QImage renderContactSheet(qreal scale = 2.0);

// Writes the contact sheet as PNG to `path` (rendered at 2x). False when the file could not be
// written; an existing file at `path` is then left as it was.
bool runContactSheet(const QString& path);
