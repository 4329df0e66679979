// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Arguments.h"

// `pause rest | away | work`: starts or ends a break of one's own, the way the tray menu does.
// It writes only the store's pause record. Returns the exit status.
namespace PauseCommand {

int run(const Cli::Options& options);

} // namespace PauseCommand
