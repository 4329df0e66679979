#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Moving the settings window is no click elsewhere: on a new user's first launch (the settings
# beside the open panel) a salary is typed, the window is dragged by its background with xdotool
# as a person would, and both windows stay open with the typed salary, which Return then saves.
# Under openbox alone and with a compositor (xcompmgr).
#
#   tests/settings/drag-e2e.sh TOCKWORK SCREENSHOT_DIR [compositor]
#
# Exits 77 (skipped) when Xvfb, openbox, trayer, xdotool, xprop, ImageMagick or the compositor
# are missing.
set -euo pipefail
exe=$1 screens=$2 compositor=${3:-}

needs="xdotool xprop import ${compositor:+xcompmgr}"
. "$(dirname "$0")/../support/e2e.sh"
shots=$screens/drag${compositor:+-compositor}
failure_shot=$shots-failed.png
mkdir -p "$screens"
if [[ -n $compositor ]]; then
    xcompmgr -n 2>/dev/null &
    also_kill+=($!)
fi

. "$(dirname "$0")/../support/desktop-home.sh"
late_morning
new_user_store

first_launch
xdotool type --delay 60 350
sleep 0.3

# Three drags by the window's background (its bottom strip, below every field): slow ones that
# hold the window for a while, as a person does, so the window manager keeps the keyboard longer
# than Qt waits before it calls the application inactive.
for drag in 1 2 3; do
    eval "$(xdotool getwindowgeometry --shell "$settings")"
    before_x=$X
    xdotool mousemove $((X + 12)) $((Y + HEIGHT - 6))
    sleep 0.2
    xdotool mousedown 1
    for step in $(seq 8); do
        xdotool mousemove_relative -- -6 3
        sleep 0.15
    done
    sleep 1
    xdotool mouseup 1
    sleep 0.8
    [[ -n $(visible_window '톡웍 설정') ]] || fail "drag $drag closed the settings window"
    [[ -n $(visible_window '톡웍') ]] || fail "drag $drag closed the panel"
    eval "$(xdotool getwindowgeometry --shell "$settings")"
    ((X < before_x)) || fail "drag $drag did not move the settings window ($before_x -> $X)"
done
import -window root "$shots.png"

# The typed salary is still there: Return saves it.
xdotool key Return
for _ in $(seq 50); do [[ -z $(visible_window '톡웍 설정') ]] && break; sleep 0.1; done
[[ -z $(visible_window '톡웍 설정') ]] || fail "Return did not save and close the settings"
grep -q '^monthlySalaryWon=3500000$' "$conf" || fail "the typed salary was lost: $(cat "$conf")"
echo "drag-e2e${compositor:+ (compositor)}: ok"
