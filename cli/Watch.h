// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <functional>
#include <optional>

namespace Watch {

// Output bytes go to stdout unchanged (UTF-8 whatever the locale); false when the reader has gone.
bool writeOut(const QByteArray& bytes);

enum class Mode
{
    screen, // redraw one block in place (a terminal) or print one block per second (a pipe)
    lines,  // one line per second, for status bars that read lines
};

// Renders and prints every second until SIGINT, SIGTERM or SIGHUP, or until stdout is closed.
// `startAt` (epoch seconds) shifts the clock: the watch runs on from that instant instead of now.
// The terminal is left as it was found: cursor visible, echo back on. Returns the exit status.
int run(Mode mode, const std::function<QByteArray()>& render, std::optional<double> startAt);

} // namespace Watch
