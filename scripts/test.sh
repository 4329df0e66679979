#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, checks that the C++ sources are formatted, builds the test suite with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize/) and runs every test; a
# sanitizer report or an unformatted file fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Seconds, and it names every file it finds; the tests still run so that one run says all.
format_status=0
scripts/check-format.sh || format_status=$?
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize --parallel "$(nproc)"
ctest --preset sanitize --parallel "$(nproc)"
exit "$format_status"
