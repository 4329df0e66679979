#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds the optimised build into build/: everything, or only the targets named
# (e.g. scripts/build.sh tockwork tockwork-cli).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
if (($#)); then
    cmake --build --preset release --parallel "$(nproc)" --target "$@"
else
    cmake --build --preset release --parallel "$(nproc)"
fi
