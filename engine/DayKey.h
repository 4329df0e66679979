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
// store today's key and `resetValues`, in order, and flush them as one group. Returns whether a
// reset happened.
bool ensureDayRecord(const QString& dayKeyName,
                     std::initializer_list<std::pair<QString, QVariant>> resetValues);
