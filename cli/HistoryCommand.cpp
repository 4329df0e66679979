// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/HistoryCommand.h"

#include "cli/Printable.h"
#include "cli/Report.h"
#include "cli/Watch.h"
#include "display/Format.h"
#include "engine/Clock.h"
#include "ledger/History.h"
#include "ledger/Ledger.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QMap>

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numeric>
#include <optional>
#include <vector>

namespace {

QString kindText(DayKind kind)
{
    switch (kind) {
    case DayKind::working:
        return QStringLiteral("근무");
    case DayKind::weekend:
        return QStringLiteral("주말");
    case DayKind::holiday:
        return QStringLiteral("공휴일");
    case DayKind::dayOff:
        return QStringLiteral("휴가");
    case DayKind::halfDayAm:
        return QStringLiteral("오전 반차");
    case DayKind::halfDayPm:
        return QStringLiteral("오후 반차");
    case DayKind::unknown:
        break;
    }
    return QStringLiteral("알 수 없음");
}

QString dayText(const QDate& date)
{
    static const QLocale korean(QLocale::Korean, QLocale::SouthKorea);
    return date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" (") +
           korean.dayName(date.dayOfWeek(), QLocale::ShortFormat) + u')';
}

// "12-07 (월)": the heading above the table names the year.
QString shortDayText(const QDate& date)
{
    static const QLocale korean(QLocale::Korean, QLocale::SouthKorea);
    return date.toString(QStringLiteral("MM-dd")) + QStringLiteral(" (") +
           korean.dayName(date.dayOfWeek(), QLocale::ShortFormat) + u')';
}

// Parts joined by " · ", broken into lines between parts so that none is wider than `columns`
// (a part wider than that stands alone on its line).
QString wrapParts(const QStringList& parts, int columns)
{
    const QString sep = QStringLiteral(" · ");
    QString out, current;
    for (const QString& part : parts) {
        if (!current.isEmpty() && Report::displayWidth(current + sep + part) > columns) {
            out += current + u'\n';
            current.clear();
        }
        current += (current.isEmpty() ? QString() : sep) + part;
    }
    if (!current.isEmpty())
        out += current + u'\n';
    return out;
}

QString cell(const QString& text, int width, bool right = false)
{
    const QString pad(std::max(0, width - Report::displayWidth(text)), u' ');
    return right ? pad + text : text + pad;
}

QString slackText(double seconds, qint64 percent, bool withShare)
{
    QString text = fmtMinutes(seconds / 60.0);
    if (withShare)
        text += QStringLiteral(" (") + QString::number(percent) + QStringLiteral("%)");
    return text;
}

QString hhmm(qint64 minutes)
{
    if (minutes < 0 || minutes > 24 * 60)
        return QString::number(minutes);
    return QString::asprintf("%02d:%02d", int(minutes / 60), int(minutes % 60));
}

QString number(double value, int decimals)
{
    return QString::number(std::isfinite(value) ? value : 0.0, 'f', decimals);
}

QString targetsText(const QList<SlackTarget>& targets)
{
    QStringList parts;
    for (const SlackTarget& t : targets)
        parts.append(t.label + QStringLiteral(" ") + fmtMinutes(t.seconds / 60.0));
    return parts.join(QStringLiteral("; "));
}

int fail(const QString& message)
{
    const QByteArray text = (message + u'\n').toUtf8();
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stderr);
    return 1;
}

} // namespace

namespace HistoryCommand {

QString table(const QString& heading, const QDate& from, const QDate& to,
              const QList<DayRecord>& days, int columns)
{
    QMap<QDate, DayRecord> byDate;
    for (const DayRecord& d : days)
        byDate.insert(d.date, d);

    enum Column
    {
        date,
        kind,
        worked,
        earned,
        overtime,
        overtimePay,
        slack,
        count
    };
    const std::array<QString, count> titles = {
        QStringLiteral("날짜"),  QStringLiteral("종류"), QStringLiteral("일한 시간"),
        QStringLiteral("번 돈"), QStringLiteral("야근"), QStringLiteral("야근 수당"),
        QStringLiteral("월루")};

    // Every cell first, in both date forms and with and without the share, so the widths below
    // are measured from what will be printed.
    struct Row
    {
        QDate date;
        std::optional<std::array<QString, count>> cells; // none: a gap
        QString slackWithoutShare;
    };
    QList<Row> rows;
    for (QDate day = from; day <= to; day = day.addDays(1)) {
        Row row{day, std::nullopt, {}};
        if (const auto it = byDate.constFind(day); it != byDate.cend()) {
            const DayRecord& d = *it;
            const HistoryTotals one = totalsOf({d});
            row.cells = std::array<QString, count>{
                QString(),
                kindText(d.kind),
                fmtMinutes(d.workedMin),
                fmtWon(d.earnedWon),
                fmtMinutes(d.overtimeMin),
                fmtWon(d.overtimeWon),
                slackText(d.slackSec, one.slackSharePercent(), d.earnedWon > 0)};
            row.slackWithoutShare = slackText(d.slackSec, 0, false);
        }
        rows.append(row);
    }

    // What gives way when the terminal is narrow, in this order: the year (the heading has it),
    // the overtime pay and the kind of day (both also in the totals below), the slacking share,
    // then overtime and the time worked. The date, the pay and the slacking always stay.
    struct Fit
    {
        bool shortDate = false;
        std::array<bool, count> shown{true, true, true, true, true, true, true};
        bool slackShare = true;
    };
    std::vector<Fit> ladder(1);
    const auto next = [&ladder](const std::function<void(Fit&)>& change) {
        Fit f = ladder.back();
        change(f);
        ladder.push_back(f);
    };
    // A range across years keeps them: "01-02" would not say which January.
    next([&](Fit& f) { f.shortDate = from.year() == to.year(); });
    next([](Fit& f) { f.shown[overtimePay] = false; });
    next([](Fit& f) { f.shown[kind] = false; });
    next([](Fit& f) { f.slackShare = false; });
    next([](Fit& f) { f.shown[overtime] = false; });
    next([](Fit& f) { f.shown[worked] = false; });

    const auto dateCell = [](const QDate& day, bool shortDate) -> QString {
        return shortDate ? shortDayText(day) : dayText(day);
    };
    const auto cellOf = [&](const Row& row, int c, const Fit& fit) -> QString {
        if (c == date)
            return dateCell(row.date, fit.shortDate);
        if (c == slack && !fit.slackShare)
            return row.slackWithoutShare;
        return (*row.cells)[size_t(c)];
    };
    // Two spaces between columns; the date column carries them after itself.
    constexpr int kGap = 2;
    const auto widthsFor = [&](const Fit& fit) {
        std::array<int, count> widths{};
        for (int c = 0; c < count; ++c) {
            if (!fit.shown[size_t(c)])
                continue;
            int widest = Report::displayWidth(titles[size_t(c)]);
            for (const Row& row : rows) {
                if (c == date)
                    widest =
                        std::max(widest, Report::displayWidth(dateCell(row.date, fit.shortDate)));
                else if (row.cells)
                    widest = std::max(widest, Report::displayWidth(cellOf(row, c, fit)));
            }
            widths[size_t(c)] = widest + kGap;
        }
        return widths;
    };
    const auto total = [](const std::array<int, count>& widths) {
        return std::accumulate(widths.begin(), widths.end(), 0) - kGap;
    };

    Fit fit = ladder.back();
    std::array<int, count> widths = widthsFor(fit);
    for (const Fit& candidate : ladder) {
        const std::array<int, count> w = widthsFor(candidate);
        if (total(w) <= columns) {
            fit = candidate;
            widths = w;
            break;
        }
    }

    const auto line = [](QString text) -> QString {
        while (text.endsWith(u' '))
            text.chop(1);
        return text + u'\n';
    };
    QString out = heading + QStringLiteral(" (") + from.toString(Qt::ISODate) +
                  QStringLiteral(" ~ ") + to.toString(Qt::ISODate) + QStringLiteral(")\n\n");
    QString header;
    for (int c = 0; c < count; ++c)
        if (fit.shown[size_t(c)])
            header += cell(titles[size_t(c)], widths[size_t(c)], c >= worked);
    out += line(header);

    for (const Row& row : rows) {
        if (!row.cells) {
            // Days without a row are gaps: the application did not run.
            out += cell(dateCell(row.date, fit.shortDate), widths[date]) + QStringLiteral("-\n");
            continue;
        }
        QString text;
        for (int c = 0; c < count; ++c)
            if (fit.shown[size_t(c)])
                text += cell(cellOf(row, c, fit), widths[size_t(c)], c >= worked);
        out += line(text);
    }

    const HistoryTotals t = totalsOf(days);
    out += u'\n';
    out += wrapParts(
        {heading + u' ' + fmtWon(t.totalWon()), QStringLiteral("야근 ") + fmtMinutes(t.overtimeMin),
         QStringLiteral("월루 ") + slackText(t.slackSec, t.slackSharePercent(), t.earnedWon > 0)},
        columns);
    out += wrapParts({QStringLiteral("기록된 날 ") + QString::number(t.days) + QStringLiteral("일"),
                      QStringLiteral("일한 시간 ") + fmtMinutes(t.workedMin),
                      QStringLiteral("정규 ") + fmtWon(t.earnedWon),
                      QStringLiteral("야근 수당 ") + fmtWon(t.overtimeWon)},
                     columns);
    return out;
}

int terminalColumns()
{
    winsize size{};
    if (::isatty(STDOUT_FILENO) && ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 &&
        size.ws_col > 0)
        return size.ws_col;
    // A pipe or a file: the width of the terminal it is most likely to be read in.
    return kDefaultColumns;
}

QByteArray csv(const QList<DayRecord>& days)
{
    QStringList header = {
        "date",       "kind",         "work_start",   "work_end",           "lunch_start",
        "lunch_end",  "worked_min",   "overtime_min", "overtime_night_min", "dinner_min",
        "earned_won", "overtime_won", "hourly_won",   "hourly_legal_won",   "slack_sec",
        "slack_won"};
    for (const QString& reason : slackReasons())
        header.append(QStringLiteral("slack_") + reason + QStringLiteral("_sec"));
    header << QStringLiteral("top_targets") << QStringLiteral("eod_choice")
           << QStringLiteral("final");
    QString out = header.join(u',') + QStringLiteral("\r\n");
    for (const DayRecord& d : days) {
        QStringList row = {d.date.toString(Qt::ISODate),
                           dayKindName(d.kind),
                           hhmm(d.workStart),
                           hhmm(d.workEnd),
                           hhmm(d.lunchStart),
                           hhmm(d.lunchEnd),
                           number(d.workedMin, 2),
                           number(d.overtimeMin, 2),
                           number(d.overtimeNightMin, 2),
                           number(d.dinnerMin, 2),
                           number(d.earnedWon, 0),
                           number(d.overtimeWon, 0),
                           number(d.hourlyWon, 2),
                           number(d.hourlyLegalWon, 2),
                           number(d.slackSec, 0),
                           number(slackWonOf(d), 0)};
        for (const QString& reason : slackReasons()) {
            const auto it = d.slackByReason.constFind(reason);
            row.append(it == d.slackByReason.cend() ? QString() : number(*it, 0));
        }
        row << Printable::csvField(targetsText(d.topTargets)) << Printable::csvField(d.eodChoice)
            << (d.final ? QStringLiteral("1") : QStringLiteral("0"));
        out += row.join(u',') + QStringLiteral("\r\n");
    }
    return out.toUtf8();
}

QByteArray json(const QDate& from, const QDate& to, const QList<DayRecord>& days)
{
    QJsonArray rows;
    for (const DayRecord& d : days) {
        QJsonObject bySlackReason;
        for (auto it = d.slackByReason.cbegin(); it != d.slackByReason.cend(); ++it)
            bySlackReason.insert(it.key(), it.value());
        QJsonArray targets;
        for (const SlackTarget& t : d.topTargets)
            targets.append(QJsonObject{{"label", t.label}, {"sec", t.seconds}});
        rows.append(QJsonObject{
            {"date", d.date.toString(Qt::ISODate)},
            {"kind", dayKindName(d.kind)},
            {"workStart", d.workStart},
            {"workEnd", d.workEnd},
            {"lunchStart", d.lunchStart},
            {"lunchEnd", d.lunchEnd},
            {"workedMin", d.workedMin},
            {"overtimeMin", d.overtimeMin},
            {"overtimeNightMin", d.overtimeNightMin},
            {"dinnerMin", d.dinnerMin},
            {"earnedWon", d.earnedWon},
            {"overtimeWon", d.overtimeWon},
            {"hourlyWon", d.hourlyWon},
            {"hourlyLegalWon", d.hourlyLegalWon},
            {"slackSec", d.slackSec},
            {"slackWon", slackWonOf(d)},
            {"slackByReason", bySlackReason},
            {"topTargets", targets},
            {"eodChoice", d.eodChoice.isEmpty() ? QJsonValue() : QJsonValue(d.eodChoice)},
            {"final", d.final},
        });
    }
    const HistoryTotals t = totalsOf(days);
    const QJsonObject totals{
        {"days", t.days},
        {"workedMin", t.workedMin},
        {"earnedWon", t.earnedWon},
        {"overtimeMin", t.overtimeMin},
        {"overtimeWon", t.overtimeWon},
        {"totalWon", t.totalWon()},
        {"slackSec", t.slackSec},
        {"slackWon", t.slackWon},
        {"slackPercent", t.slackSharePercent()},
    };
    const QJsonObject object{{"from", from.toString(Qt::ISODate)},
                             {"to", to.toString(Qt::ISODate)},
                             {"days", rows},
                             {"totals", totals}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

int run(const Cli::Options& options)
{
    const QDate today = Clock::nowLocal().date();
    QDate from = options.from;
    QDate to = options.to;
    QString heading;
    switch (options.period) {
    case Cli::Period::week:
        from = today.addDays(1 - today.dayOfWeek());
        to = today;
        heading = QStringLiteral("이번 주");
        break;
    case Cli::Period::month:
        from = QDate(today.year(), today.month(), 1);
        to = today;
        heading = QStringLiteral("이번 달");
        break;
    case Cli::Period::range:
        heading = QStringLiteral("기간 합계");
        break;
    }

    QList<DayRecord> days;
    const QString path = Ledger::standardPath();
    Ledger ledger(path, Ledger::Access::readOnly);
    if (ledger.isOpen())
        days = ledger.range(from, to);
    else if (QFileInfo::exists(path))
        return fail(QStringLiteral("기록 파일을 읽지 못했어요: ") + ledger.errorText());
    if (!ledger.errorText().isEmpty() && ledger.isOpen())
        return fail(QStringLiteral("기록 파일을 읽지 못했어요: ") + ledger.errorText());

    QByteArray out;
    switch (options.style) {
    case Cli::Style::csv:
        out = csv(days);
        break;
    case Cli::Style::json:
        out = json(from, to, days);
        break;
    case Cli::Style::full:
    case Cli::Style::line:
        out = table(heading, from, to, days, terminalColumns()).toUtf8();
        if (!ledger.isOpen())
            out += QStringLiteral("아직 기록이 없어요: 톡웍 앱이 실행된 날부터 하루 한 줄씩 "
                                  "쌓여요\n")
                       .toUtf8();
        break;
    }
    return Watch::writeOut(out) ? 0 : 1;
}

} // namespace HistoryCommand
