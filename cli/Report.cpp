// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Report.h"

#include "display/Format.h"
#include "engine/DayState.h"
#include "engine/Holidays.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace {

bool inOvertime(DayState state)
{
    return state == DayState::overtime || state == DayState::dinner;
}

QString padded(const QString& title, int width)
{
    return title + QString(std::max(0, width - Report::displayWidth(title)), u' ');
}

QString withoutSuffix(const QString& text, const QString& suffix)
{
    return text.endsWith(suffix) ? text.chopped(suffix.size()) : text;
}

// Whole minutes for a status bar that should not flicker every second; under a minute the
// seconds are all there is to show.
QString compactDuration(double minutes, bool roundUp)
{
    const double whole = roundUp ? std::ceil(minutes - 1e-9) : std::floor(minutes);
    return whole < 1 ? fmtDurSec(minutes) : fmtDurSec(whole);
}

QString progressBar(double progress)
{
    constexpr int cells = 20;
    const double clamped = std::isfinite(progress) ? std::clamp(progress, 0.0, 1.0) : 0.0;
    const int filled = static_cast<int>(std::lround(clamped * cells));
    return QString(filled, QChar(0x2588)) + QString(cells - filled, QChar(0x2591)) +
           QStringLiteral(" %1%").arg(static_cast<int>(std::floor(clamped * 100)));
}

const QString earnedSuffix = QStringLiteral(" 벌었어요");
const QString overtimeSuffix = QStringLiteral(" 더 벌었어요");

} // namespace

namespace Report {

QString full(const Display& d)
{
    const DayState state = d.status.state;
    struct Row
    {
        QString title;
        QString value;
    };
    QList<Row> rows = {
        {QStringLiteral("일한 시간"), d.workedText},
        {QStringLiteral("번 돈"), d.earnedText},
        {inOvertime(state) ? QStringLiteral("야근 시간") : QStringLiteral("남은 시간"),
         d.remainWorkText},
    };
    // Before work, after leaving and on days off the last figure is a phase message, not money.
    QString note;
    if (inOvertime(state))
        rows.append({QStringLiteral("야근 수당"), d.remainText});
    else if (state == DayState::working || state == DayState::lunch)
        rows.append({QStringLiteral("남은 돈"), d.remainText});
    else
        note = d.remainText;

    QString out = d.title + u'\n' + d.mood + QStringLiteral("\n\n");
    constexpr int titleWidth = 11;
    for (const Row& row : std::as_const(rows)) {
        if (row.value.isEmpty() || row.value == u"-")
            continue;
        out += QStringLiteral("  ") + padded(row.title, titleWidth) + row.value + u'\n';
    }
    if (state != DayState::off)
        out += QStringLiteral("  ") + padded(QStringLiteral("진행"), titleWidth) +
               progressBar(d.status.progress) + u'\n';
    if (!note.isEmpty() && note != u"-")
        out += QStringLiteral("  ") + note + u'\n';

    out += u'\n';
    for (const QString& slacking : {d.wolluText, d.wolluMoneyText, d.wolluPctText}) {
        if (!slacking.isEmpty())
            out += QStringLiteral("  ") + slacking + u'\n';
    }
    return out;
}

QString line(const Display& d)
{
    const Status& s = d.status;
    const QString money = d.showMoney
                              ? withoutSuffix(d.earnedText, earnedSuffix)
                              : compactDuration(s.workedMin, false) + QStringLiteral(" 일함");
    const QString sep = QStringLiteral(" · ");
    switch (s.state) {
    case DayState::off:
        return QStringLiteral("😴 쉬는 날");
    case DayState::before:
        return QStringLiteral("🐜 출근 전") + sep + d.remainText;
    case DayState::working:
        return QStringLiteral("🐜 ") + money + sep + compactDuration(s.remainMin, true) +
               QStringLiteral(" 남음");
    case DayState::lunch:
        return QStringLiteral("🍚 점심시간") + sep + money;
    case DayState::overtime:
    case DayState::dinner: {
        QString out = (s.state == DayState::dinner ? QStringLiteral("🍚 저녁 식사 중")
                                                   : QStringLiteral("🐜💦 야근")) +
                      u' ' + compactDuration(s.overtimeMin, false);
        if (d.showMoney)
            out += sep + u'+' + withoutSuffix(d.remainText, overtimeSuffix);
        return out;
    }
    case DayState::done:
        return QStringLiteral("🌿 퇴근") + sep + money;
    }
    return d.title;
}

QByteArray json(const Display& d)
{
    const QJsonObject status{
        {QStringLiteral("state"), dayStateName(d.status.state)},
        {QStringLiteral("progress"), d.status.progress},
        {QStringLiteral("workedMin"), d.status.workedMin},
        {QStringLiteral("remainMin"), d.status.remainMin},
        {QStringLiteral("overtimeMin"), d.status.overtimeMin},
    };
    const QJsonObject object{
        {QStringLiteral("status"), status},
        {QStringLiteral("mascot"), d.mascot},
        {QStringLiteral("title"), d.title},
        {QStringLiteral("mood"), d.mood},
        {QStringLiteral("workedText"), d.workedText},
        {QStringLiteral("earnedText"), d.earnedText},
        {QStringLiteral("remainWorkText"), d.remainWorkText},
        {QStringLiteral("remainText"), d.remainText},
        {QStringLiteral("showMoney"), d.showMoney},
        {QStringLiteral("wolluText"), d.wolluText},
        {QStringLiteral("wolluMoneyText"), d.wolluMoneyText},
        {QStringLiteral("wolluPctText"), d.wolluPctText},
        {QStringLiteral("wolluHot"), d.wolluHot},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

QString holidays(int firstYear, int lastYear)
{
    QString out;
    for (int year = firstYear; year <= lastYear; ++year) {
        QList<Holidays::Named> days = Holidays::named(year);
        std::stable_sort(days.begin(), days.end(),
                         [](const auto& a, const auto& b) { return a.date < b.date; });
        for (const Holidays::Named& day : std::as_const(days))
            out += QString::asprintf("%04d-%02d-%02d\t", day.date.year(), day.date.month(),
                                     day.date.day()) +
                   day.name + u'\n';
    }
    return out;
}

} // namespace Report

int Report::displayWidth(const QString& text)
{
    int width = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool wide = (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) ||
                          (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) ||
                          (u >= 0xFF00 && u <= 0xFF60);
        width += wide ? 2 : 1;
    }
    return width;
}
