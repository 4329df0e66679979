#include "engine/DayKey.h"

#include "engine/Clock.h"
#include "engine/Store.h"

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
    store.set(dayKeyName, day);
    for (const auto& [key, value] : resetValues)
        store.set(key, value);
    store.flush();
    return true;
}
