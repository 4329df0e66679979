#include "CommandLine.h"

#include <gtest/gtest.h>

namespace {

QStringList argv(std::initializer_list<const char*> rest)
{
    QStringList args{QStringLiteral("/usr/bin/tockwork")};
    for (const char* a : rest)
        args.append(QString::fromUtf8(a));
    return args;
}

struct DispatchCase
{
    std::vector<const char*> args;
    LaunchMode mode;
    const char* path;
    bool openAdd;
    bool demoRun;
};

class Dispatch : public testing::TestWithParam<DispatchCase>
{};

TEST_P(Dispatch, ChoosesModeAndMarksDemoRuns)
{
    const DispatchCase& c = GetParam();
    QStringList args{QStringLiteral("/usr/bin/tockwork")};
    for (const char* a : c.args)
        args.append(QString::fromUtf8(a));
    const LaunchCommand command = parseCommandLine(args);
    EXPECT_EQ(command.mode, c.mode);
    EXPECT_EQ(command.path, QString::fromUtf8(c.path));
    EXPECT_EQ(command.openAdd, c.openAdd);
    EXPECT_EQ(command.demoRun, c.demoRun);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, Dispatch,
    testing::Values(
        DispatchCase{{}, LaunchMode::tray, "", false, false},
        DispatchCase{
            {"--contact", "/tmp/s.png"}, LaunchMode::contactSheet, "/tmp/s.png", false, true},
        // A switch that needs a path falls through to the tray without one, still a demo run.
        DispatchCase{{"--contact"}, LaunchMode::tray, "", false, true},
        DispatchCase{{"--panel"}, LaunchMode::tray, "", false, true},
        DispatchCase{{"--panel", "p.png"}, LaunchMode::panelPreview, "p.png", false, true},
        DispatchCase{{"--twopanels"}, LaunchMode::twoPanels, "", false, true},
        DispatchCase{{"--settings", "add"}, LaunchMode::settingsPreview, "", true, true},
        DispatchCase{{"--settings", "remove"}, LaunchMode::settingsPreview, "", false, true},
        DispatchCase{{"--eod"}, LaunchMode::eodPreview, "", false, true},
        // Comparison is exact and case-sensitive.
        DispatchCase{{"--Contact", "s.png"}, LaunchMode::tray, "", false, true},
        DispatchCase{{"contact", "s.png"}, LaunchMode::tray, "", false, false},
        // "--state" and "--demo" are read at start-up, not dispatched, but mark the run.
        DispatchCase{{"--state", "근무"}, LaunchMode::tray, "", false, true},
        DispatchCase{{"--state"}, LaunchMode::tray, "", false, true},
        DispatchCase{{"-v", "--demo"}, LaunchMode::tray, "", false, true},
        // A switch in second place is data, not a dispatch.
        DispatchCase{{"x", "--contact", "s.png"}, LaunchMode::tray, "", false, false}));

TEST(CommandLine, StateSwitchMapsKoreanAndEnglishNames)
{
    const std::pair<const char*, DayState> names[] = {
        {"근무", DayState::working},  {"working", DayState::working},
        {"점심", DayState::lunch},    {"lunch", DayState::lunch},
        {"야근", DayState::overtime}, {"overtime", DayState::overtime},
        {"저녁", DayState::dinner},   {"dinner", DayState::dinner},
        {"퇴근", DayState::done},     {"done", DayState::done},
        {"휴일", DayState::off},      {"off", DayState::off},
    };
    for (const auto& [name, state] : names) {
        const StartOptions options = parseStartOptions(argv({"--state", name}));
        EXPECT_EQ(options.demoState, state) << name;
        EXPECT_FALSE(options.scriptedDemo);
    }
}

TEST(CommandLine, StateSwitchIgnoresWhatItCannotMap)
{
    EXPECT_EQ(parseStartOptions(argv({"--state"})).demoState, std::nullopt);
    EXPECT_EQ(parseStartOptions(argv({"--state", "before"})).demoState, std::nullopt);
    EXPECT_EQ(parseStartOptions(argv({"--state", "Working"})).demoState, std::nullopt);
    EXPECT_EQ(parseStartOptions(argv({"--state", ""})).demoState, std::nullopt);
    // Only the value after the first "--state" counts.
    EXPECT_EQ(parseStartOptions(argv({"--state", "bogus", "--state", "done"})).demoState,
              std::nullopt);
    EXPECT_EQ(parseStartOptions(argv({"--demo", "--state", "lunch"})),
              (StartOptions{true, DayState::lunch}));
}

} // namespace
