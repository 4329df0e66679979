// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

// Kept apart from the tests: Qt's application header, built for X11, declares a global
// `Display` that the tests' day view would collide with.
namespace {

// One QApplication (the tray's menu is a widget) for the whole binary, created when the tests run,
// not when CTest lists them.
struct GuiApp final : testing::Environment
{
    void SetUp() override { app = std::make_unique<QApplication>(argc, argv); }
    void TearDown() override { app.reset(); }
    int argc = 1;
    char name[6] = "tests";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
};
testing::Environment* const kGuiApp = testing::AddGlobalTestEnvironment(new GuiApp);

} // namespace
