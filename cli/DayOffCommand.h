// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Arguments.h"

// `dayoff add | remove | list`: the only commands of the companion that write, and they write
// nothing but the store's "daysOff" entry. Returns the exit status.
namespace DayOffCommand {

int run(const Cli::Options& options);

} // namespace DayOffCommand
