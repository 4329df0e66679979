// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

#include <initializer_list>
#include <utility>

// The day key of the present local date: "2026-12-5" (no leading zeros). The day changes at
// local midnight.
QString today();
QString dayKey(const QDate& date);

// The lazy day reset every per-day record shares: when `dayKeyName` does not hold today's key,
// today's key and `resetValues` replace the record in memory. They reach the file together with the
// next write, so reading a record never writes. Returns whether a reset happened.
bool ensureDayRecord(const QString& dayKeyName,
                     std::initializer_list<std::pair<QString, QVariant>> resetValues);

// A completed-time total of a day record, in seconds. A negative total (a hand-edited file) counts
// as none: subtracted from the day it would pay for hours never worked.
double storedSeconds(const QString& key);
