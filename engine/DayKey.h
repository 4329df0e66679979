#pragma once

#include <QDate>
#include <QString>

// The day key of the present local date: "2026-12-5" (no leading zeros). The day changes at
// local midnight.
QString today();
QString dayKey(const QDate& date);
