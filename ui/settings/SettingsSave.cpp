// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SettingsSave.h"

#include "analytics/Analytics.h"
#include "analytics/Labels.h"
#include "engine/Cfg.h"
#include "slacking/Wollu.h"
#include "ui/settings/DistractionEntries.h"

#include <QVariantList>

namespace SettingsSave {

std::optional<QString> scheduleProblem(const SettingsForm& f)
{
    if (f.workStart >= f.workEnd)
        return workEndBeforeStart;
    if (f.lunchStart != f.lunchEnd) {
        if (f.lunchEnd < f.lunchStart)
            return lunchEndBeforeStart;
        if (f.lunchStart < f.workStart || f.lunchEnd > f.workEnd)
            return lunchOutsideWork;
    }
    return std::nullopt;
}

QStringList changedFields(const SettingsForm& f)
{
    QStringList changed;
    if (f.workStart != Cfg::workStart() || f.workEnd != Cfg::workEnd())
        changed << QStringLiteral("work_hours");
    if (f.lunchStart != Cfg::lunchStart() || f.lunchEnd != Cfg::lunchEnd())
        changed << QStringLiteral("lunch");
    if (f.salaryWon != Cfg::monthlySalaryWon())
        changed << QStringLiteral("salary");
    if (f.salaryPretax != Cfg::salaryPretax())
        changed << QStringLiteral("pretax");
    if (f.excludeWeekend != Cfg::excludeWeekend())
        changed << QStringLiteral("exclude_weekend");
    if (f.wolluDisabled != Wollu::disabled())
        changed << QStringLiteral("wollu_tracking");
    if (DistractionEntries::toStored(f.apps) != Wollu::appsRaw())
        changed << QStringLiteral("distractions");
    if (f.daysOffChanged)
        changed << QStringLiteral("days_off");
    return changed;
}

void store(const SettingsForm& f)
{
    const QStringList changed = changedFields(f);
    const bool wasDisabled = Wollu::disabled();
    const qint64 previousSalary = Cfg::monthlySalaryWon();

    Cfg::save(f.workStart, f.workEnd, f.lunchStart, f.lunchEnd, f.salaryWon, f.excludeWeekend);
    Cfg::setSalaryPretax(f.salaryPretax);
    Cfg::setShowPretaxTag(f.showPretaxTag);
    Wollu::setApps(DistractionEntries::toStored(f.apps));
    Wollu::setDisabled(f.wolluDisabled);
    // Every save with tracking off starts the day's slacking time from zero, also when tracking
    // was off already: the box's note promises it.
    if (f.wolluDisabled)
        Wollu::reset();

    QVariantList targets;
    for (const QString& entry : f.apps)
        targets.append(Analytics::distractionLabel(entry));
    Analytics::track(
        Analytics::Event::settingsSaved,
        {{QStringLiteral("changed_fields"), changed},
         {QStringLiteral("changed_count"), changed.size()},
         {QStringLiteral("is_first_salary_setup"), previousSalary <= 0 && f.salaryWon > 0},
         {QStringLiteral("distraction_count"), f.apps.size()},
         {QStringLiteral("distraction_targets"), targets}});
    if (wasDisabled != f.wolluDisabled)
        Analytics::track(Analytics::Event::wolluTrackingToggled,
                         {{QStringLiteral("disabled"), f.wolluDisabled}});
    Analytics::setOptOut(!f.analyticsAllowed);
    Analytics::peopleSet(Analytics::peopleSnapshot());
}

void reportRejected(const QString& warning)
{
    Analytics::track(Analytics::Event::settingsSaveRejected, {{QStringLiteral("reason"), warning}});
}

} // namespace SettingsSave
