#include "DayKey.h"

#include "Clock.h"

QString today()
{
    return dayKey(Clock::nowLocal().date());
}

QString dayKey(const QDate& date)
{
    return QString::number(date.year()) + u'-' + QString::number(date.month()) + u'-' +
           QString::number(date.day());
}
