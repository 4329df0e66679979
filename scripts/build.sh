#!/usr/bin/env bash
# Configures and builds into build/: everything, or only the targets named
# (e.g. scripts/build.sh tockwork tockwork-cli).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if (($#)); then
    cmake --build build --parallel "$(nproc)" --target "$@"
else
    cmake --build build --parallel "$(nproc)"
fi
