#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and starts TockWork in the tray. Without a display server
# there is no tray to live in: the terminal companion's live view is shown instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh tockwork tockwork-cli
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    echo "No display server (DISPLAY and WAYLAND_DISPLAY are unset): showing today in the terminal instead."
    exec build/tockwork-cli status --watch
fi
exec build/tockwork "$@"
