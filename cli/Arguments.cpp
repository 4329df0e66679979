// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Arguments.h"

#include "engine/Clock.h"

#include <QDateTime>
#include <QRegularExpression>

namespace Cli {

namespace {

std::optional<int> parseYear(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int year = text.toInt();
    if (year < kMinYear || year > kMaxYear)
        return std::nullopt;
    return year;
}

UsageError yearError(const QString& text)
{
    return {QStringLiteral("연도가 올바르지 않아요 (%1..%2): %3")
                .arg(kMinYear)
                .arg(kMaxYear)
                .arg(text)};
}

UsageError dateError(const QString& text)
{
    return {QStringLiteral("날짜를 알 수 없어요 (\"YYYY-MM-DD\"): ") + text};
}

// The value after an option that needs one, taken from "--name VALUE" or "--name=VALUE".
std::optional<QString> optionValue(const QStringList& arguments, qsizetype& i, const QString& name)
{
    const QString& arg = arguments[i];
    if (arg.startsWith(name + u'='))
        return arg.mid(name.size() + 1);
    if (arg != name || i + 1 >= arguments.size())
        return std::nullopt;
    return arguments[++i];
}

bool isOption(const QString& arg, const QString& name)
{
    return arg == name || arg.startsWith(name + u'=');
}

// dayoff add DATE [--half am|pm] [--note TEXT] | dayoff remove DATE | dayoff list
std::variant<Options, UsageError> parseDayOff(const QStringList& arguments)
{
    Options options;
    options.command = Command::dayoff;
    QStringList positional;
    bool halfGiven = false;
    bool noteGiven = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (isOption(arg, QStringLiteral("--half"))) {
            const auto value = optionValue(arguments, i, QStringLiteral("--half"));
            const auto part = value ? DaysOff::partFromName(*value) : std::nullopt;
            if (!part || *part == DayOffPart::fullDay)
                return UsageError{QStringLiteral("--half 뒤에는 am(오전) 또는 pm(오후)을 써요")};
            options.dayOff.part = *part;
            halfGiven = true;
        } else if (isOption(arg, QStringLiteral("--note"))) {
            const auto value = optionValue(arguments, i, QStringLiteral("--note"));
            if (!value)
                return UsageError{QStringLiteral("--note 뒤에 메모가 필요해요")};
            options.dayOff.note = value->trimmed();
            noteGiven = true;
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            return UsageError{QStringLiteral("알 수 없는 옵션: ") + arg};
        } else {
            positional.append(arg);
        }
    }
    const QString action = positional.value(0);
    const qsizetype wanted = action == u"list" ? 1 : 2;
    if (action == u"add")
        options.dayOffAction = DayOffAction::add;
    else if (action == u"remove")
        options.dayOffAction = DayOffAction::remove;
    else if (action == u"list")
        options.dayOffAction = DayOffAction::list;
    else
        return UsageError{QStringLiteral("dayoff 뒤에는 add, remove, list 중 하나를 써요")};
    if (positional.size() != wanted)
        return UsageError{wanted == 1
                              ? QStringLiteral("dayoff list에는 인자가 필요 없어요")
                              : QStringLiteral("dayoff ") + action +
                                    QStringLiteral("에는 날짜(YYYY-MM-DD) 하나가 필요해요")};
    if ((halfGiven || noteGiven) && options.dayOffAction != DayOffAction::add)
        return UsageError{QStringLiteral("--half와 --note는 dayoff add에만 써요")};
    if (wanted == 2) {
        const auto date = parseDate(positional[1]);
        if (!date)
            return dateError(positional[1]);
        options.dayOff.date = *date;
    }
    return options;
}

// history [--week | --month | --from D --to D] [--json | --csv]
std::variant<Options, UsageError> parseHistory(const QStringList& arguments)
{
    Options options;
    options.command = Command::history;
    options.style = Style::full;
    bool periodGiven = false;
    bool styleGiven = false;
    std::optional<QDate> from, to;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == u"--week" || arg == u"--month") {
            const Period period = arg == u"--week" ? Period::week : Period::month;
            if (periodGiven && options.period != period)
                return UsageError{QStringLiteral("기간은 --week, --month, --from/--to 중 하나만")};
            options.period = period;
            periodGiven = true;
        } else if (arg == u"--json" || arg == u"--csv") {
            const Style style = arg == u"--json" ? Style::json : Style::csv;
            if (styleGiven && options.style != style)
                return UsageError{QStringLiteral("--json과 --csv는 함께 쓸 수 없어요")};
            options.style = style;
            styleGiven = true;
        } else if (isOption(arg, QStringLiteral("--from")) ||
                   isOption(arg, QStringLiteral("--to"))) {
            const bool isFrom = isOption(arg, QStringLiteral("--from"));
            const QString name = isFrom ? QStringLiteral("--from") : QStringLiteral("--to");
            const auto value = optionValue(arguments, i, name);
            if (!value)
                return UsageError{name + QStringLiteral(" 뒤에 날짜(YYYY-MM-DD)가 필요해요")};
            const auto date = parseDate(*value);
            if (!date)
                return dateError(*value);
            (isFrom ? from : to) = *date;
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            return UsageError{QStringLiteral("알 수 없는 옵션: ") + arg};
        } else {
            return UsageError{QStringLiteral("history에는 인자가 필요 없어요: ") + arg};
        }
    }
    if (from || to) {
        if (periodGiven)
            return UsageError{QStringLiteral("기간은 --week, --month, --from/--to 중 하나만")};
        if (!from || !to)
            return UsageError{QStringLiteral("--from과 --to는 함께 써요")};
        if (*to < *from)
            return UsageError{QStringLiteral("--to가 --from보다 앞서요")};
        options.period = Period::range;
        options.from = *from;
        options.to = *to;
    }
    return options;
}

} // namespace

std::optional<QDate> parseDate(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})$"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid() || date.year() < kMinYear || date.year() > kMaxYear)
        return std::nullopt;
    return date;
}

std::optional<double> parseLocalDateTime(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})[ T]([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?$"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(),
                     m.hasCaptured(6) ? m.captured(6).toInt() : 0);
    if (!date.isValid() || !time.isValid() || date.year() < kMinYear || date.year() > kMaxYear)
        return std::nullopt;
    const QDateTime local(date, time);
    // A wall-clock time skipped by a daylight-saving jump is moved by Qt; refuse it instead of
    // silently answering for another time.
    if (!local.isValid() || local.time() != time || local.date() != date)
        return std::nullopt;
    return Clock::toEpoch(local);
}

std::variant<Options, UsageError> parseArguments(const QStringList& arguments)
{
    Options options;
    bool styleGiven = false;
    bool commandGiven = false;
    QStringList positional;

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == u"-h" || arg == u"--help") {
            options.command = Command::help;
            return options;
        }
        if (arg == u"--version") {
            options.command = Command::version;
            return options;
        }
        if (arg == u"--line" || arg == u"--json") {
            const Style style = arg == u"--line" ? Style::line : Style::json;
            if (styleGiven && options.style != style)
                return UsageError{QStringLiteral("--line과 --json은 함께 쓸 수 없어요")};
            options.style = style;
            styleGiven = true;
        } else if (arg == u"--watch") {
            options.watch = true;
        } else if (arg == u"--at" || arg.startsWith(u"--at=")) {
            QString value;
            if (arg == u"--at") {
                if (i + 1 >= arguments.size())
                    return UsageError{
                        QStringLiteral("--at 뒤에 \"YYYY-MM-DD HH:MM\" 시각이 필요해요")};
                value = arguments[++i];
            } else {
                value = arg.mid(5);
            }
            options.at = parseLocalDateTime(value);
            if (!options.at)
                return UsageError{
                    QStringLiteral("시각을 알 수 없어요 (\"YYYY-MM-DD HH:MM[:SS]\"): ") + value};
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            return UsageError{QStringLiteral("알 수 없는 옵션: ") + arg};
        } else if (!commandGiven) {
            // These two have options of their own: everything but the command word is theirs.
            if (arg == u"pause") {
                // pause rest | away | work
                if (i + 2 != arguments.size())
                    return UsageError{
                        QStringLiteral("pause 뒤에는 rest, away, work 중 하나를 써요")};
                const std::optional<ManualState> state = manualStateFromRaw(arguments[i + 1]);
                if (!state)
                    return UsageError{
                        QStringLiteral("pause 뒤에는 rest, away, work 중 하나를 써요: ") +
                        arguments[i + 1]};
                if (styleGiven || options.watch || options.at)
                    return UsageError{QStringLiteral("pause에는 다른 옵션을 쓸 수 없어요")};
                options.command = Command::pause;
                options.pauseState = *state;
                return options;
            }
            if (arg == u"dayoff" || arg == u"history") {
                QStringList rest = arguments;
                rest.removeAt(i);
                return arg == u"dayoff" ? parseDayOff(rest) : parseHistory(rest);
            }
            if (arg == u"status") {
                options.command = Command::status;
            } else if (arg == u"holidays") {
                options.command = Command::holidays;
            } else {
                return UsageError{QStringLiteral("알 수 없는 명령: ") + arg};
            }
            commandGiven = true;
        } else {
            positional.append(arg);
        }
    }

    if (options.command == Command::status) {
        if (!positional.isEmpty())
            return UsageError{QStringLiteral("status에는 인자가 필요 없어요: ") +
                              positional.first()};
        return options;
    }

    if (styleGiven || options.watch || options.at)
        return UsageError{
            QStringLiteral("holidays에는 --line, --json, --watch, --at을 쓸 수 없어요")};
    if (positional.isEmpty() || positional.size() > 2)
        return UsageError{QStringLiteral("holidays에는 YEAR [LAST_YEAR]가 필요해요")};
    const std::optional<int> first = parseYear(positional[0]);
    if (!first)
        return yearError(positional[0]);
    std::optional<int> last = first;
    if (positional.size() == 2) {
        last = parseYear(positional[1]);
        if (!last)
            return yearError(positional[1]);
        if (*last < *first)
            return UsageError{
                QStringLiteral("LAST_YEAR가 YEAR보다 앞서요: %1 < %2").arg(*last).arg(*first)};
    }
    options.firstYear = *first;
    options.lastYear = *last;
    return options;
}

QString usage()
{
    return QStringLiteral(
        "사용법: tockwork-cli [status] [--line | --json] [--watch] [--at \"YYYY-MM-DD "
        "HH:MM[:SS]\"]\n"
        "        tockwork-cli holidays YEAR [LAST_YEAR]\n"
        "        tockwork-cli dayoff add YYYY-MM-DD [--half am|pm] [--note 메모]\n"
        "        tockwork-cli dayoff remove YYYY-MM-DD | dayoff list\n"
        "        tockwork-cli history [--week | --month | --from YYYY-MM-DD --to YYYY-MM-DD]"
        " [--json | --csv]\n"
        "        tockwork-cli pause rest | away | work\n"
        "        tockwork-cli --help | --version\n"
        "\n"
        "  status       오늘 번 돈, 남은 시간, 월루를 보여줘요 (기본 명령)\n"
        "  --line       상태 표시줄(waybar, polybar, tmux)용 한 줄\n"
        "  --json       화면에 보이는 값을 JSON 객체 하나로\n"
        "  --watch      1초마다 다시 그려요 (Ctrl+C로 끝내요)\n"
        "  --at TIME    지금 대신 그 현지 시각으로 계산해요\n"
        "  holidays     YEAR부터 LAST_YEAR까지의 공휴일을 날짜순으로 (연도 1900..2200)\n"
        "  dayoff       내 휴가(연차, 반차, 회사 휴일)를 추가하고 지우고 보여줘요\n"
        "               휴가는 유급이라 그날 일당을 다 번 것으로 쳐요\n"
        "  history      지난 날들의 번 돈, 야근, 월루 (기본: 이번 주)\n"
        "  pause        잠깐 쉬기(rest), 자리 비움(away), 다시 일하기(work): 쉰 시간은 열일에서\n"
        "               빠지고 월루로도 세지 않아요\n"
        "\n"
        "톡웍 앱과 같은 설정(~/.config/tockwork/tockwork.conf)을 읽기만 해요.\n"
        "dayoff add와 dayoff remove만 그 파일의 daysOff 한 줄을, pause만 쉬는 시간 기록을 "
        "고쳐요.\n");
}

} // namespace Cli
