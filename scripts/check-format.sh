#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails, naming the files, when a tracked C++ source differs from what clang-format makes of it
# with the repository's .clang-format. Fix with: clang-format -i <file>...
set -uo pipefail
cd "$(dirname "$0")/.."
CLANG_FORMAT=${CLANG_FORMAT:-clang-format}
if ! command -v "$CLANG_FORMAT" >/dev/null; then
    echo "check-format: $CLANG_FORMAT not found (scripts/setup.sh installs it)" >&2
    exit 2
fi
# Tracked sources that exist in the working tree (a deletion not yet committed has nothing to check).
files=()
while IFS= read -r -d '' file; do
    [[ -f $file ]] && files+=("$file")
done < <(git ls-files -z -- '*.cpp' '*.h')
# One clang-format for many files; each complaint starts with "<file>:<line>:<column>:".
unformatted=$(printf '%s\0' "${files[@]}" |
    xargs -0 -n 200 "$CLANG_FORMAT" --dry-run -Werror 2>&1 >/dev/null |
    sed -n 's/^\(.*\):[0-9][0-9]*:[0-9][0-9]*: error: code should be clang-formatted.*/\1/p' |
    sort -u)
if [[ -n $unformatted ]]; then
    echo "check-format: not formatted with clang-format (clang-format -i these):" >&2
    sed 's/^/  /' <<<"$unformatted" >&2
    exit 1
fi
echo "check-format: all ${#files[@]} tracked C++ sources are formatted"
