#include "app/CommandLine.h"

#include <array>

namespace {

const QString kState = QStringLiteral("--state");
const QString kDemo = QStringLiteral("--demo");

} // namespace

LaunchCommand parseCommandLine(const QStringList& args)
{
    LaunchCommand command;
    const QString first = args.size() > 1 ? args.at(1) : QString();
    const bool hasSecond = args.size() > 2;

    // Argument 0 is the program path and never a switch.
    const QStringList rest = args.mid(1);
    command.demoRun = (first.startsWith(QLatin1String("--")) && first != kState) ||
                      rest.contains(kDemo) || rest.contains(kState);

    if (first == QLatin1String("--contact") && hasSecond) {
        command.mode = LaunchMode::contactSheet;
        command.path = args.at(2);
    } else if (first == QLatin1String("--panel") && hasSecond) {
        command.mode = LaunchMode::panelPreview;
        command.path = args.at(2);
    } else if (first == QLatin1String("--twopanels")) {
        command.mode = LaunchMode::twoPanels;
    } else if (first == QLatin1String("--fourpanels")) {
        command.mode = LaunchMode::fourPanels;
    } else if (first == QLatin1String("--settings")) {
        command.mode = LaunchMode::settingsPreview;
        command.openAdd = hasSecond && args.at(2) == QLatin1String("add");
    } else if (first == QLatin1String("--eod")) {
        command.mode = LaunchMode::eodPreview;
    }
    return command;
}

bool writesFilesOnly(LaunchMode mode)
{
    return mode == LaunchMode::contactSheet || mode == LaunchMode::panelPreview;
}

std::optional<DayState> previewStateFromArgument(const QString& value)
{
    struct Name
    {
        const char16_t* korean;
        const char* english;
        DayState state;
    };
    static constexpr std::array<Name, 6> kNames{{
        {u"근무", "working", DayState::working},
        {u"점심", "lunch", DayState::lunch},
        {u"야근", "overtime", DayState::overtime},
        {u"저녁", "dinner", DayState::dinner},
        {u"퇴근", "done", DayState::done},
        {u"휴일", "off", DayState::off},
    }};
    for (const Name& name : kNames)
        if (value == QString::fromUtf16(name.korean) || value == QLatin1String(name.english))
            return name.state;
    return std::nullopt;
}

StartOptions parseStartOptions(const QStringList& args)
{
    StartOptions options;
    const QStringList rest = args.mid(1);
    options.scriptedDemo = rest.contains(kDemo);
    const qsizetype at = rest.indexOf(kState);
    if (at >= 0 && at + 1 < rest.size())
        options.demoState = previewStateFromArgument(rest.at(at + 1));
    return options;
}
