#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace Cli {

enum class Command
{
    status,
    holidays,
    help
};
enum class Style
{
    full,
    line,
    json
};

struct Options
{
    Command command = Command::status;
    Style style = Style::full;
    bool watch = false;
    std::optional<double> at; // epoch seconds to evaluate at instead of now
    int firstYear = 0;
    int lastYear = 0;
};

struct UsageError
{
    QString message;
};

// Years the holiday calendar is asked about; far outside them the lunar tables mean nothing.
inline constexpr int kMinYear = 1900;
inline constexpr int kMaxYear = 2200;

// `arguments` without the program name.
std::variant<Options, UsageError> parseArguments(const QStringList& arguments);
// "YYYY-MM-DD HH:MM[:SS]" in local time, as epoch seconds; none when malformed or nonexistent.
std::optional<double> parseLocalDateTime(const QString& text);

QString usage();

} // namespace Cli
