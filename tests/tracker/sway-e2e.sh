#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real tockwork on a headless sway desktop (scripts/sway-session.sh: sway, XWayland and
# waybar's tray), checked from the outside:
#   - waybar's tray hosts the icon: the item is registered with the watcher waybar serves, and the
#     ant shows in the bar;
#   - a listed native Wayland window in front (foot) makes the day's slacking seconds in the store
#     grow, poll by poll;
#   - the same for a listed XWayland window (xterm);
#   - with no window in front they stand still.
# Real time: the poll runs every 10 s, so each step waits up to 30 s.
#
#   tests/tracker/sway-e2e.sh TOCKWORK SCREENSHOT_DIR
#
# Exits 77 (skipped) when sway, waybar, foot, xterm, grim or ImageMagick are missing or the desktop
# cannot start.
set -euo pipefail
exe=$1 screens=$2

name=sway-e2e needs="foot xterm grim convert python3 dbus-send"
source "$(dirname "$0")/../support/sway-e2e.sh"
store=$home/config/tockwork/tockwork.conf

source "$(dirname "$0")/slacking-day.sh"
write_working_day sway-e2e "foot,xterm"

# The window with the keyboard focus, as sway names it: its app_id, or an XWayland window's class.
focused() {
    swaymsg -t get_tree -r | python3 -c '
import json, sys
def walk(n):
    if n.get("focused"):
        return n.get("app_id") or (n.get("window_properties") or {}).get("class") or n.get("type")
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        r = walk(c)
        if r: return r
print(walk(json.load(sys.stdin)) or "")'
}
wait_focused() {
    for _ in $(seq 100); do [[ $(focused) == "$1" ]] && return 0; sleep 0.1; done
    fail "$1 did not get the focus (focused: $(focused))"
}

source "$(dirname "$0")/../support/start-tockwork.sh"
start_tockwork

# The host: waybar lists the item as soon as the item registers with its watcher.
items() {
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
        string:RegisteredStatusNotifierItems 2>/dev/null || true
}
for _ in $(seq 200); do items | grep "StatusNotifierItem-$app-" >/dev/null && break; sleep 0.1; done
items | grep "StatusNotifierItem-$app-" >/dev/null || fail "waybar's tray does not host the icon"
# ... and draws it: the ant's body colour, exactly, in the bar (the top 30 pixels).
ant_in_bar() {
    grim -g "0,0 1280x30" - 2>/dev/null | convert png:- txt:- | grep -i '#B4502C' >/dev/null
}
for _ in $(seq 50); do ant_in_bar && break; sleep 0.1; done
ant_in_bar || fail "waybar shows no ant in its tray"
echo "sway-e2e: the icon is hosted by waybar's tray"
grim "$shots/sway-tray.png"

# The listed terminal $1 in front (sway names it $2; $3 is how it draws) makes the seconds grow.
slack_in_front() { # COMMAND FOCUSED_NAME KIND
    local pid start
    "$1" >/dev/null 2>&1 &
    pid=$!
    pids+=($pid)
    wait_focused "$2"
    start=$(seconds)
    expect_growth "$start" 9 "$1 ($3) in front"
    echo "sway-e2e: $1 in front: slacking seconds $start -> $(seconds)"
    grim "$shots/sway-$1.png"
    kill $pid
    wait $pid 2>/dev/null || true
}
slack_in_front foot foot "native Wayland"
slack_in_front xterm XTerm XWayland

# Nothing in front: the seconds stand still.
expect_standstill sway-e2e

kill -0 $app 2>/dev/null || fail "tockwork stopped"
kill $app
wait $app || fail "tockwork exited with $?"
echo "sway-e2e: ok"
