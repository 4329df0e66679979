#pragma once

#include <QString>

// An amount in won, rounded half away from zero, with digit grouping: 84300.4 -> "84,300원".
QString fmtWon(double won);
// A duration given in minutes, shown to the second: 65.05 -> "1시간 5분 3초".
QString fmtDurSec(double minutes);
