// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

// A throw-away desktop for the whole test binary: an X server (Xvfb), the openbox window manager,
// and two private message buses standing in for the session bus and the system bus. Started
// before the application object, so Qt and QtDBus find them through the usual environment
// variables; stopped when the binary ends.
namespace DesktopSession {

// Starts everything; false when a tool is missing (the reason is in whyUnavailable()).
bool start();
void stop();
bool available();
QString whyUnavailable();
// The private folder the session's XDG variables point into.
QString root();

// Stops the window manager and waits until it is gone.
void stopWindowManager();

// Runs a command to its end (e.g. xdotool); its exit status, -1 when it could not run.
int run(const QString& program, const QStringList& args);

// Polls `condition` while the application's events run, until it holds or the time is up.
bool waitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::seconds(5));

} // namespace DesktopSession
