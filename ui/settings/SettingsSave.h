// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the settings window holds when "저장" is pressed, and the save itself: validation, the
// list of changed fields, the writes through Cfg, Wollu and Analytics, and the events.
struct SettingsForm
{
    qint64 workStart = 540; // minutes after midnight
    qint64 workEnd = 1080;
    qint64 lunchStart = 720;
    qint64 lunchEnd = 780;
    qint64 salaryWon = 0; // whole won; below 1 means no salary
    bool salaryPretax = true;
    bool showPretaxTag = true;
    bool excludeWeekend = true;
    bool wolluDisabled = false;
    bool analyticsAllowed = true;
    QStringList apps;            // the editor's working copy
    bool daysOffChanged = false; // the days-off list differs from what was read
};

namespace SettingsSave {

// The warnings of a rejected save, in the window's voice.
inline const QString workEndBeforeStart = QStringLiteral("퇴근 시간이 출근보다 빨라요");
inline const QString lunchEndBeforeStart = QStringLiteral("점심 끝이 시작보다 빨라요");
inline const QString lunchOutsideWork = QStringLiteral("점심시간이 근무시간을 벗어났어요");
inline const QString salaryTooLarge = QStringLiteral("월급이 너무 커요 (100억 원까지)");
inline const QString salaryNotANumber = QStringLiteral("월급은 숫자로 적어 주세요");

// The first rule the times break, or none. A lunch that starts when it ends is no lunch and is
// not checked.
std::optional<QString> scheduleProblem(const SettingsForm& form);

// Names of the fields that differ from the store, in a fixed order: "work_hours", "lunch",
// "salary", "pretax", "exclude_weekend", "wollu_tracking", "distractions", "days_off". The pre-tax
// tag and the analytics switch are not reported.
QStringList changedFields(const SettingsForm& form);

// Writes the form and reports it; the form must have passed validation. Order of writes: the
// schedule, salary and weekend switch together, the pre-tax choice, the tag switch, the list, the
// tracking switch, then (when tracking is off) today's slacking time is cleared.
void store(const SettingsForm& form);

// "Settings Save Rejected" with the warning shown.
void reportRejected(const QString& warning);

} // namespace SettingsSave
