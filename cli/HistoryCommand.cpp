#include "cli/HistoryCommand.h"

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

#include <algorithm>
#include <cmath>
#include <cstdio>

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
    }
    return {};
}

// Whole minutes are enough for days gone by: "3시간 10분", "8시간", "0분".
QString minutesText(double minutes)
{
    const qint64 total = std::isfinite(minutes) ? std::llround(std::max(minutes, 0.0)) : 0;
    const qint64 h = total / 60;
    const qint64 m = total % 60;
    if (h == 0)
        return QString::number(m) + QStringLiteral("분");
    return QString::number(h) + QStringLiteral("시간") +
           (m ? u' ' + QString::number(m) + QStringLiteral("분") : QString());
}

QString dayText(const QDate& date)
{
    static const QLocale korean(QLocale::Korean, QLocale::SouthKorea);
    return date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" (") +
           korean.dayName(date.dayOfWeek(), QLocale::ShortFormat) + u')';
}

QString cell(const QString& text, int width, bool right = false)
{
    const QString pad(std::max(0, width - Report::displayWidth(text)), u' ');
    return right ? pad + text : text + pad;
}

QString slackText(double seconds, qint64 percent, bool withShare)
{
    QString text = minutesText(seconds / 60.0);
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

QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString number(double value, int decimals)
{
    return QString::number(std::isfinite(value) ? value : 0.0, 'f', decimals);
}

QString targetsText(const QList<SlackTarget>& targets)
{
    QStringList parts;
    for (const SlackTarget& t : targets)
        parts.append(t.label + QStringLiteral(" ") + minutesText(t.seconds / 60.0));
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
              const QList<DayRecord>& days)
{
    QMap<QDate, DayRecord> byDate;
    for (const DayRecord& d : days)
        byDate.insert(d.date, d);

    const QList<int> widths = {17, 10, 11, 13, 13, 12, 18};
    const QStringList titles = {QStringLiteral("날짜"),      QStringLiteral("종류"),
                                QStringLiteral("일한 시간"), QStringLiteral("번 돈"),
                                QStringLiteral("야근"),      QStringLiteral("야근 수당"),
                                QStringLiteral("월루")};
    QString out = heading + QStringLiteral(" (") + from.toString(Qt::ISODate) +
                  QStringLiteral(" ~ ") + to.toString(Qt::ISODate) + QStringLiteral(")\n\n");
    QString header;
    for (qsizetype i = 0; i < titles.size(); ++i)
        header += cell(titles[i], widths[i], i >= 2);
    out += header.trimmed().isEmpty() ? QString() : header + u'\n';

    for (QDate date = from; date <= to; date = date.addDays(1)) {
        const auto it = byDate.constFind(date);
        if (it == byDate.cend()) {
            // Days without a row are gaps: the application did not run.
            out += cell(dayText(date), widths[0]) + QStringLiteral("-\n");
            continue;
        }
        const DayRecord& d = *it;
        const HistoryTotals one = totalsOf({d});
        out +=
            cell(dayText(date), widths[0]) + cell(kindText(d.kind), widths[1]) +
            cell(minutesText(d.workedMin), widths[2], true) +
            cell(fmtWon(d.earnedWon), widths[3], true) +
            cell(minutesText(d.overtimeMin), widths[4], true) +
            cell(fmtWon(d.overtimeWon), widths[5], true) +
            cell(slackText(d.slackSec, one.slackSharePercent(), d.earnedWon > 0), widths[6], true) +
            u'\n';
    }

    const HistoryTotals t = totalsOf(days);
    const QString sep = QStringLiteral(" · ");
    out += u'\n' + heading + u' ' + fmtWon(t.totalWon()) + sep + QStringLiteral("야근 ") +
           minutesText(t.overtimeMin) + sep + QStringLiteral("월루 ") +
           slackText(t.slackSec, t.slackSharePercent(), t.earnedWon > 0) + u'\n';
    out += QStringLiteral("기록된 날 ") + QString::number(t.days) + QStringLiteral("일") + sep +
           QStringLiteral("일한 시간 ") + minutesText(t.workedMin) + sep + QStringLiteral("정규 ") +
           fmtWon(t.earnedWon) + sep + QStringLiteral("야근 수당 ") + fmtWon(t.overtimeWon) + u'\n';
    return out;
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
        row << csvField(targetsText(d.topTargets)) << csvField(d.eodChoice)
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
        out = table(heading, from, to, days).toUtf8();
        if (!ledger.isOpen())
            out += QStringLiteral("아직 기록이 없어요: 톡웍 앱이 실행된 날부터 하루 한 줄씩 "
                                  "쌓여요\n")
                       .toUtf8();
        break;
    }
    return Watch::writeOut(out) ? 0 : 1;
}

} // namespace HistoryCommand
