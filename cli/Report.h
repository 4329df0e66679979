// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "display/Display.h"

#include <QByteArray>
#include <QString>

// The day's figures in the three shapes the companion prints.
namespace Report {

// Header, the figures with row titles that fit the phase, a progress bar and the slacking lines.
QString full(const Display& display);
// One short line for a status bar: "🐜 (세전)84,300원 · 3시간 2분 남음".
QString line(const Display& display);
// One JSON object on one line: the display's fields and its status.
QByteArray json(const Display& display);

// Terminal columns taken by `text`: Hangul and other East Asian wide letters take two.
int displayWidth(const QString& text);

// Every public holiday of the years, "YYYY-MM-DD<TAB>name" per line.
QString holidays(int firstYear, int lastYear);

} // namespace Report
