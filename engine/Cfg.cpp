// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Cfg.h"

#include "engine/Clock.h"
#include "engine/Holidays.h"
#include "engine/SettingsKeys.h"
#include "engine/Store.h"

#include <QMutex>

#include <optional>

namespace {

qint64 read(const SettingsKeys::IntSetting& s)
{
    return Cfg::ud(s.key, s.def);
}

bool read(const SettingsKeys::BoolSetting& s)
{
    return Cfg::udBool(s.key, s.def);
}

struct MonthCount
{
    QString key;
    quint64 storeRevision = 0; // the count follows the settings as they were then
    int days = 0;
};

QMutex g_monthMutex;
std::optional<MonthCount> g_wdCache;

// Korean labour law averages a month to 21.75 paid working days (365 / 12 / 7 * 5).
constexpr double kLegalDaysPerMonth = 21.75;

// Hourly rate for `days` per month, 0 when no salary is set or the day has no paid time.
double hourlyWon(double days)
{
    const qint64 salary = Cfg::monthlySalaryWon();
    const double hours = Cfg::dailyWorkMinutes() / 60.0;
    if (salary < 1 || hours <= 0 || days <= 0)
        return 0;
    return static_cast<double>(salary) / (hours * days);
}

} // namespace

namespace Cfg {

qint64 ud(const QString& key, qint64 def)
{
    const Store& store = Store::standard();
    return store.contains(key) ? store.integer(key) : def;
}

bool udBool(const QString& key, bool def)
{
    const Store& store = Store::standard();
    return store.contains(key) ? store.boolean(key) : def;
}

qint64 workStart()
{
    return read(SettingsKeys::workStart);
}

qint64 workEnd()
{
    return read(SettingsKeys::workEnd);
}

qint64 lunchStart()
{
    return read(SettingsKeys::lunchStart);
}

qint64 lunchEnd()
{
    return read(SettingsKeys::lunchEnd);
}

qint64 monthlySalaryWon()
{
    return read(SettingsKeys::monthlySalaryWon);
}

bool salaryPretax()
{
    return read(SettingsKeys::salaryPretax);
}

bool showPretaxTag()
{
    return read(SettingsKeys::showPretaxTag);
}

bool excludeWeekend()
{
    return read(SettingsKeys::excludeWeekend);
}

void save(qint64 workStart, qint64 workEnd, qint64 lunchStart, qint64 lunchEnd,
          qint64 monthlySalaryWon, bool excludeWeekend)
{
    Store& store = Store::standard();
    store.set(SettingsKeys::workStart.key, workStart);
    store.set(SettingsKeys::workEnd.key, workEnd);
    store.set(SettingsKeys::lunchStart.key, lunchStart);
    store.set(SettingsKeys::lunchEnd.key, lunchEnd);
    store.set(SettingsKeys::monthlySalaryWon.key, monthlySalaryWon);
    store.set(SettingsKeys::excludeWeekend.key, excludeWeekend);
    store.flush();
}

void setSalaryPretax(bool value)
{
    Store::standard().set(SettingsKeys::salaryPretax.key, value);
    Store::standard().flush();
}

void setShowPretaxTag(bool value)
{
    Store::standard().set(SettingsKeys::showPretaxTag.key, value);
    Store::standard().flush();
}

double dailyWorkMinutes()
{
    // Differences in double: stored minutes may be anything up to the 64-bit range, where an
    // integer subtraction would overflow.
    const double lunch =
        std::max(0.0, static_cast<double>(lunchEnd()) - static_cast<double>(lunchStart()));
    const double span = static_cast<double>(workEnd()) - static_cast<double>(workStart());
    return std::max(0.0, span - lunch);
}

double hourlyWonLegal()
{
    return hourlyWon(kLegalDaysPerMonth);
}

double hourlyWonThisMonth()
{
    const int days = workingDaysThisMonth();
    return hourlyWon(days < 1 ? kLegalDaysPerMonth : days);
}

int workingDaysThisMonth()
{
    const QDate today = Clock::nowLocal().date();
    const QString key = QString::number(today.year()) + u'-' + QString::number(today.month());
    const quint64 revision = Store::standard().revision();
    QMutexLocker lock(&g_monthMutex);
    if (g_wdCache && g_wdCache->key == key && g_wdCache->storeRevision == revision)
        return g_wdCache->days;

    const QDate first(today.year(), today.month(), 1);
    if (!first.isValid())
        return 0;
    int count = 0;
    for (int d = 0; d < first.daysInMonth(); ++d) {
        const QDate date = first.addDays(d);
        if (excludeWeekend()) {
            const bool weekend = date.dayOfWeek() >= Qt::Saturday;
            if (weekend || Holidays::isHoliday(date))
                continue;
        }
        ++count;
    }
    g_wdCache = MonthCount{key, revision, count};
    return count;
}

void clearMonthCache()
{
    QMutexLocker lock(&g_monthMutex);
    g_wdCache.reset();
}

} // namespace Cfg
