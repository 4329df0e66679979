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

} // namespace

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
        "        tockwork-cli --help\n"
        "\n"
        "  status       오늘 번 돈, 남은 시간, 월루를 보여줘요 (기본 명령)\n"
        "  --line       상태 표시줄(waybar, polybar, tmux)용 한 줄\n"
        "  --json       화면에 보이는 값을 JSON 객체 하나로\n"
        "  --watch      1초마다 다시 그려요 (Ctrl+C로 끝내요)\n"
        "  --at TIME    지금 대신 그 현지 시각으로 계산해요\n"
        "  holidays     YEAR부터 LAST_YEAR까지의 공휴일을 날짜순으로 (연도 1900..2200)\n"
        "\n"
        "톡웍 앱과 같은 설정(~/.config/tockwork/tockwork.conf)을 읽기만 하고 고치지 않아요.\n");
}

} // namespace Cli
