#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `cmake --install` into a throw-away prefix, as a user installs to ~/.local without root: the
# binaries, the art, the font, the application entry naming the installed program, and the ant in
# every hicolor size; the installed program finds its art and font and draws the panel preview.
#
#   tests/panel/install-check.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/tockwork bin/tockwork-cli share/tockwork/art/ant_work.gif share/tockwork/fonts/Mona12.ttf; do
    [[ -e $prefix/$f ]] || fail "$f not installed"
done
entry=$prefix/share/applications/org.tockwork.TockWork.desktop
[[ -f $entry ]] || fail "no application entry"
grep -qx "Exec=\"$prefix/bin/tockwork\"" "$entry" || fail "entry runs $(grep ^Exec= "$entry")"
grep -qx 'Icon=org.tockwork.TockWork' "$entry" || fail "entry has no icon name"
grep -qx 'Name=톡웍' "$entry" || fail "entry has no Korean name"
for size in 16 22 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/org.tockwork.TockWork.png
    [[ -f $icon ]] || fail "no ${size}px icon"
    # PNG: width and height are the big-endian words at bytes 16 and 20.
    read -r w h < <(od -An -tu1 -j16 -N8 "$icon" | awk '{ print $3 * 256 + $4, $7 * 256 + $8 }')
    [[ $w == "$size" && $h == "$size" ]] || fail "${size}px icon is ${w}x${h}"
done
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$prefix" XDG_CONFIG_HOME="$prefix/config" \
    "$prefix/bin/tockwork" --panel "$prefix/panel.png" | grep -qx 'panel preview done' ||
    fail "the installed program draws no panel"
echo "install: ok"
