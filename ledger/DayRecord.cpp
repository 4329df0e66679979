// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/DayRecord.h"

namespace {

struct KindName
{
    DayKind kind;
    const char16_t* name;
};

constexpr KindName kKindNames[] = {
    {DayKind::working, u"working"},   {DayKind::weekend, u"weekend"},
    {DayKind::holiday, u"holiday"},   {DayKind::dayOff, u"day_off"},
    {DayKind::halfDayAm, u"half_am"}, {DayKind::halfDayPm, u"half_pm"},
    {DayKind::unknown, u"unknown"},
};

} // namespace

QString dayKindName(DayKind kind)
{
    for (const KindName& k : kKindNames) {
        if (k.kind == kind)
            return QString::fromUtf16(k.name);
    }
    return QStringLiteral("working");
}

std::optional<DayKind> dayKindFromName(const QString& name)
{
    for (const KindName& k : kKindNames) {
        if (name == QStringView(k.name))
            return k.kind;
    }
    return std::nullopt;
}

const QStringList& slackReasons()
{
    static const QStringList reasons = {QStringLiteral("away_screen"), QStringLiteral("idle"),
                                        QStringLiteral("app"), QStringLiteral("site"),
                                        QStringLiteral("system_sleep")};
    return reasons;
}
