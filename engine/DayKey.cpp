// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DayKey.h"

#include "engine/Clock.h"
#include "engine/Store.h"

#include <algorithm>

QString today()
{
    return dayKey(Clock::nowLocal().date());
}

QString dayKey(const QDate& date)
{
    return QString::number(date.year()) + u'-' + QString::number(date.month()) + u'-' +
           QString::number(date.day());
}

bool ensureDayRecord(const QString& dayKeyName,
                     std::initializer_list<std::pair<QString, QVariant>> resetValues)
{
    Store& store = Store::standard();
    const QString day = today();
    if (store.text(dayKeyName) == day)
        return false;
    store.stage(dayKeyName, day);
    for (const auto& [key, value] : resetValues)
        store.stage(key, value);
    return true;
}

double storedSeconds(const QString& key)
{
    return std::max(Store::standard().real(key), 0.0);
}
