// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FrontmostApp.h"

// Without a window system to ask, no application is known to be in front.
struct FrontmostApp::Impl
{};

FrontmostApp::FrontmostApp(QObject* parent) : QObject(parent)
{}
FrontmostApp::~FrontmostApp() = default;

std::optional<FrontWindow> FrontmostApp::current()
{
    return std::nullopt;
}

FrontSource FrontmostApp::source() const
{
    return FrontSource::none;
}
