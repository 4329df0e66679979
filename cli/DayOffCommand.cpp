// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DayOffCommand.h"

#include "cli/Printable.h"
#include "cli/Watch.h"
#include "engine/Cfg.h"
#include "engine/DaysOff.h"
#include "engine/Holidays.h"
#include "engine/Store.h"

#include <QLocale>

#include <cstdio>

namespace {

QString dateText(const QDate& date)
{
    // "2026-12-24 (목)": the weekday tells at a glance whether the date is the one meant.
    static const QLocale korean(QLocale::Korean, QLocale::SouthKorea);
    return date.toString(Qt::ISODate) + QStringLiteral(" (") +
           korean.dayName(date.dayOfWeek(), QLocale::ShortFormat) + u')';
}

QString partText(DayOffPart part)
{
    switch (part) {
    case DayOffPart::morning:
        return QStringLiteral("오전 반차");
    case DayOffPart::afternoon:
        return QStringLiteral("오후 반차");
    case DayOffPart::fullDay:
        break;
    }
    return QStringLiteral("종일 휴가");
}

// The calendar already gives these days off; a day off of one's own changes nothing on them.
bool alreadyOff(const QDate& date)
{
    return Cfg::excludeWeekend() && (date.dayOfWeek() >= Qt::Saturday || Holidays::isHoliday(date));
}

int fail(const QString& message)
{
    const QByteArray text = (message + u'\n').toUtf8();
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stderr);
    return 1;
}

// The store refuses to write over a file it cannot read; saying "added" then would be a lie.
bool written()
{
    return Store::standard().persistent();
}

} // namespace

namespace DayOffCommand {

int run(const Cli::Options& options)
{
    const DayOff& day = options.dayOff;
    switch (options.dayOffAction) {
    case Cli::DayOffAction::list: {
        const QList<DayOff> days = DaysOff::list();
        if (days.isEmpty())
            return Watch::writeOut(QStringLiteral("등록된 휴가가 없어요\n").toUtf8()) ? 0 : 1;
        QString out;
        for (const DayOff& d : days) {
            out += dateText(d.date) + QStringLiteral("  ") + partText(d.part);
            if (!d.note.isEmpty())
                out += QStringLiteral("  ") + Printable::terminal(d.note);
            out += u'\n';
        }
        return Watch::writeOut(out.toUtf8()) ? 0 : 1;
    }
    case Cli::DayOffAction::add: {
        DaysOff::add(day);
        if (!written())
            return fail(QStringLiteral("설정 파일에 쓰지 못했어요: ") +
                        Store::standard().fileName());
        QString out =
            dateText(day.date) + u' ' + partText(day.part) + QStringLiteral("를 넣었어요");
        if (!day.note.isEmpty())
            out += QStringLiteral(" (") + Printable::terminal(day.note) + u')';
        out += u'\n';
        if (alreadyOff(day.date))
            out += QStringLiteral("그날은 원래 쉬는 날이라 계산은 달라지지 않아요\n");
        return Watch::writeOut(out.toUtf8()) ? 0 : 1;
    }
    case Cli::DayOffAction::remove:
        if (!DaysOff::remove(day.date))
            return fail(dateText(day.date) + QStringLiteral("에는 등록된 휴가가 없어요"));
        if (!written())
            return fail(QStringLiteral("설정 파일에 쓰지 못했어요: ") +
                        Store::standard().fileName());
        return Watch::writeOut((dateText(day.date) + QStringLiteral(" 휴가를 지웠어요\n")).toUtf8())
                   ? 0
                   : 1;
    }
    return 1;
}

} // namespace DayOffCommand
