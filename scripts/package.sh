#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the release and the Debian package, build/tockwork_<version>_amd64.deb, with CPack's DEB
# generator. The release is built in build-package/ (installed under /usr, no tests, no
# benchmarks), so the build/ of scripts/run.sh keeps its own settings.
#
#   scripts/package.sh            then: sudo apt install ./build/tockwork_*_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
tree=build-package
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DTOCKWORK_TESTS=OFF -DTOCKWORK_BENCH=OFF -DTOCKWORK_SANITIZE=OFF -DTOCKWORK_SYSTEM_INSTALL=ON \
    "${launcher[@]}" >/dev/null
cmake --build "$tree" --parallel "$(nproc)"
rm -f "$tree"/tockwork_*.deb
(cd "$tree" && cpack -G DEB >/dev/null)
mkdir -p build
rm -f build/tockwork_*_amd64.deb
cp "$tree"/tockwork_*_amd64.deb build/
ls build/tockwork_*_amd64.deb
