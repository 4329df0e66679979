#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Both flavours of our GNOME Shell extension parse as what their Shells load: GNOME 43-44 a
# script, GNOME 45 and later an ES module. Only syntax: the Shell itself runs the 43 flavour in
# tests/tracker/gnome-e2e.sh; no GNOME 45 is packaged for this system.
#
#   tests/desktop/check-extension-syntax.sh FLAVOURS_DIR
set -euo pipefail
flavours=$1
uuid=tockwork@tockwork.app
command -v node >/dev/null || { echo "check-extension-syntax: skipped: node is not installed" >&2; exit 77; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$flavours/43/$uuid/extension.js" "$tmp/script.cjs"
cp "$flavours/45/$uuid/extension.js" "$tmp/module.mjs"
node --check "$tmp/script.cjs"
node --check "$tmp/module.mjs"
# A module in the script's flavour, or the reverse, would fail in its Shell.
! grep -qE '^(import|export) ' "$tmp/script.cjs" || { echo "the 43 flavour uses module syntax" >&2; exit 1; }
! grep -v '^ *//' "$tmp/module.mjs" | grep -q 'imports\.' || { echo "the 45 flavour uses imports.*" >&2; exit 1; }
echo "check-extension-syntax: both flavours parse"
