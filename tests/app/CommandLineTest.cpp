// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

LaunchCommand mode(LaunchMode m, QString path = {}, bool openAdd = false, bool demoRun = true)
{
    LaunchCommand command;
    command.mode = m;
    command.path = path;
    command.openAdd = openAdd;
    command.demoRun = demoRun;
    return command;
}

TEST(CommandLine, FirstArgumentChoosesTheModeAndAnySwitchMarksADemoRun)
{
    using M = LaunchMode;
    const std::pair<QStringList, LaunchCommand> cases[] = {
        {{"tockwork"}, mode(M::tray, "", false, false)},
        {{"tockwork", "--contact", "/tmp/s.png"}, mode(M::contactSheet, "/tmp/s.png")},
        // A switch that needs a path falls through to the tray without one, still a demo run.
        {{"tockwork", "--contact"}, mode(M::tray)},
        {{"tockwork", "--panel", "p.png"}, mode(M::panelPreview, "p.png")},
        {{"tockwork", "--settings", "add"}, mode(M::settingsPreview, "", true)},
        {{"tockwork", "--settings", "other"}, mode(M::settingsPreview)},
        {{"tockwork", "--eod"}, mode(M::eodPreview)},
        // A switch in second place is data, not a dispatch.
        {{"tockwork", "x", "--contact", "s.png"}, mode(M::tray, "", false, false)},
        // Qt's own options (a session restart, a chosen platform) are neither ours nor unknown.
        {{"tockwork", "-session", "1234abc", "-platform", "xcb"}, mode(M::tray, "", false, false)},
    };
    for (const auto& [args, expected] : cases)
        EXPECT_TRUE(parseCommandLine(args) == expected) << args.join(' ').toStdString();
}

TEST(CommandLine, StateAndDemoAreReadOnceForTheStart)
{
    const std::pair<const char*, DayState> names[] = {
        {"근무", DayState::working},  {"working", DayState::working}, {"점심", DayState::lunch},
        {"야근", DayState::overtime}, {"저녁", DayState::dinner},     {"퇴근", DayState::done},
        {"done", DayState::done},     {"휴일", DayState::off},        {"off", DayState::off},
    };
    for (const auto& [name, state] : names) {
        const LaunchCommand command = parseCommandLine({"tockwork", "--state", name});
        EXPECT_EQ(command.mode, LaunchMode::tray) << name;
        EXPECT_TRUE(command.demoRun) << name;
        EXPECT_EQ(command.start, (StartOptions{false, state})) << name;
    }
    EXPECT_EQ(parseCommandLine({"tockwork", "--demo", "--state", "lunch"}).start,
              (StartOptions{true, DayState::lunch}));
    EXPECT_EQ(parseCommandLine({"tockwork", "--state", "done", "--state", "lunch"}).start,
              (StartOptions{false, DayState::done}));
}

TEST(CommandLine, HelpVersionAndInstallingAnswerBeforeAnyMode)
{
    using M = LaunchMode;
    const std::pair<QStringList, LaunchMode> cases[] = {
        {{"tockwork", "--help"}, M::help},
        {{"tockwork", "-h"}, M::help},
        {{"tockwork", "--contact", "s.png", "--help"}, M::help},
        {{"tockwork", "--version"}, M::version},
        {{"tockwork", "--state", "근무", "--version"}, M::version},
        {{"tockwork", "--install-browser-support"}, M::installBrowserSupport},
        {{"tockwork", "--demo", "--install-browser-support"}, M::installBrowserSupport},
        // Desktop support includes the browsers'.
        {{"tockwork", "--install-browser-support", "--install-desktop-support"},
         M::installDesktopSupport},
    };
    for (const auto& [args, expected] : cases)
        EXPECT_EQ(parseCommandLine(args).mode, expected) << args.join(' ').toStdString();
    for (const char* word : {"--contact", "--panel", "--twopanels", "--fourpanels", "--settings",
                             "--eod", "--demo", "--state", "--install-browser-support",
                             "--install-desktop-support", "--version", "--help"})
        EXPECT_TRUE(usage().contains(QLatin1String(word))) << word;
}

TEST(CommandLine, UnknownSwitchesAndBadStatesAreRefusedWithTheReason)
{
    const std::pair<QStringList, const char*> cases[] = {
        {{"tockwork", "--bogus"}, "알 수 없는 옵션: --bogus"},
        // Exact and case-sensitive.
        {{"tockwork", "--Contact", "s.png"}, "알 수 없는 옵션: --Contact"},
        {{"tockwork", "-v", "--demo"}, "알 수 없는 옵션: -v"},
        {{"tockwork", "--panel", "p.png", "--x"}, "알 수 없는 옵션: --x"},
        {{"tockwork", "--state", "before"}, "알 수 없는 상태: before"},
        {{"tockwork", "--state", "Working"}, "알 수 없는 상태: Working"},
        {{"tockwork", "--state", "done", "--state", "x"}, "알 수 없는 상태: x"},
        {{"tockwork", "--state"}, "--state 뒤에 상태가 필요해요"},
    };
    for (const auto& [args, message] : cases) {
        const LaunchCommand command = parseCommandLine(args);
        EXPECT_EQ(command.mode, LaunchMode::usageError) << args.join(' ').toStdString();
        EXPECT_TRUE(command.error.startsWith(QString::fromUtf8(message)))
            << command.error.toStdString();
    }
    // "-" alone and plain words are no switches.
    EXPECT_EQ(parseCommandLine({"tockwork", "-"}).mode, LaunchMode::tray);
}

} // namespace
