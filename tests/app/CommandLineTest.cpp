#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, FirstArgumentChoosesTheModeAndAnySwitchMarksADemoRun)
{
    using M = LaunchMode;
    const std::pair<QStringList, LaunchCommand> cases[] = {
        {{"tockwork"}, {M::tray, "", false, false}},
        {{"tockwork", "--contact", "/tmp/s.png"}, {M::contactSheet, "/tmp/s.png", false, true}},
        // A switch that needs a path falls through to the tray without one, still a demo run.
        {{"tockwork", "--contact"}, {M::tray, "", false, true}},
        {{"tockwork", "--panel", "p.png"}, {M::panelPreview, "p.png", false, true}},
        {{"tockwork", "--settings", "add"}, {M::settingsPreview, "", true, true}},
        {{"tockwork", "--eod"}, {M::eodPreview, "", false, true}},
        // Exact and case-sensitive; "--state"/"--demo" are not dispatched but mark the run.
        {{"tockwork", "--Contact", "s.png"}, {M::tray, "", false, true}},
        {{"tockwork", "-v", "--demo"}, {M::tray, "", false, true}},
        // A switch in second place is data, not a dispatch.
        {{"tockwork", "x", "--contact", "s.png"}, {M::tray, "", false, false}},
    };
    for (const auto& [args, expected] : cases)
        EXPECT_TRUE(parseCommandLine(args) == expected) << args.join(' ').toStdString();
}

TEST(CommandLine, StateSwitchMapsKoreanAndEnglishNamesAndIgnoresTheRest)
{
    const std::pair<const char*, DayState> names[] = {
        {"근무", DayState::working},  {"working", DayState::working}, {"점심", DayState::lunch},
        {"야근", DayState::overtime}, {"저녁", DayState::dinner},     {"퇴근", DayState::done},
        {"휴일", DayState::off},      {"off", DayState::off},
    };
    for (const auto& [name, state] : names)
        EXPECT_EQ(parseStartOptions({"tockwork", "--state", name}), (StartOptions{false, state}))
            << name;
    for (const QStringList& args : {QStringList{"tockwork", "--state"},
                                    {"tockwork", "--state", "before"},
                                    {"tockwork", "--state", "Working"},
                                    {"tockwork", "--state", "x", "--state", "done"}})
        EXPECT_EQ(parseStartOptions(args), StartOptions{}) << args.join(' ').toStdString();
    EXPECT_EQ(parseStartOptions({"tockwork", "--demo", "--state", "lunch"}),
              (StartOptions{true, DayState::lunch}));
}

} // namespace
