// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// An amount in won, rounded half away from zero, with digit grouping: 84300.4 -> "84,300원".
QString fmtWon(double won);
// A duration given in minutes, shown to the second: 65.05 -> "1시간 5분 3초".
QString fmtDurSec(double minutes);
// Whole minutes, rounded, for days gone by: 190.4 -> "3시간 10분", 480 -> "8시간", 0 -> "0분".
QString fmtMinutes(double minutes);

// A money line in ever shorter forms, for a place too narrow for it, longest first: the text
// itself, without the "(세전)" tag, the amount alone (with its sign), the amount in 만원, then in
// 억. A text without an amount in won has only itself.
// "(세전)120,768원 더 벌었어요" -> "120,768원 더 벌었어요", "120,768원", "12만원", "0.0억원".
QStringList moneyLineForms(const QString& text);
