// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// Pixels per point of pictures written by the previews: the primary screen's, and 2 without a
// display server (the offscreen platform has no real screen to take one from).
qreal previewScale();
