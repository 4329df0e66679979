#pragma once

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

// One QGuiApplication for the whole test binary (timers, screens and images need it). Created
// when the tests run, not when CTest merely lists them.
class GuiTestApp final : public testing::Environment
{
public:
    void SetUp() override { app_ = std::make_unique<QGuiApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "tockwork-tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

inline testing::Environment* const kGuiTestApp = testing::AddGlobalTestEnvironment(new GuiTestApp);
