#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real tockwork on a headless sway desktop (scripts/sway-session.sh: sway, XWayland, waybar's
# tray), clicked with the compositor's virtual pointer, checked from the outside:
#   - a click on the ant in waybar opens the panel under the bar: waybar 0.9 sends the click's
#     position inside the icon, so it takes the top-right corner of the area sway leaves to
#     windows (its top within 8 px of the bar's bottom, its right edge 8 px inside the screen);
#   - sway floats the panel over the tiled windows, never tiles it;
#   - a click into a native window (foot) closes it;
#   - Activate with the icon's position on the screen (as newer waybar and KDE send it) hangs the
#     panel centred under the icon, kept 4 px inside the screen, and a click on foot closes it;
#   - the panel's "설정" opens the settings window beside it (8 px to its left, the tops aligned),
#     floating, and the panel stays open while the settings window has the keyboard.
#
#   tests/panel/sway-panel-e2e.sh TOCKWORK WAYLAND_CLICK SCREENSHOT_DIR
#
# Exits 77 (skipped) when sway, waybar, foot, grim, ImageMagick, xdotool or python3 are missing or
# the desktop cannot start.
set -euo pipefail
exe=$1 click=$2 screens=$3

name=sway-panel needs="foot grim convert python3 dbus-send xdotool"
source "$(dirname "$0")/../support/sway-e2e.sh"

# A late morning of a working day, in a zone where it is one now, with a salary: no first-run
# settings and no end-of-day prompt come between the click and the panel.
offset=$((11 - 10#$(date -u +%H)))
if ((offset >= 0)); then export TZ=Etc/GMT-$offset; else export TZ=Etc/GMT+$((-offset)); fi
printf '[General]\nmonthlySalaryWon=3000000\nexcludeWeekend=false\nanalyticsOptOut=true\n' \
    >"$home/config/tockwork/tockwork.conf"

read -r width height < <(swaymsg -t get_outputs -r |
    python3 -c 'import json,sys; r=json.load(sys.stdin)[0]["rect"]; print(r["width"], r["height"])')
# The bar's bottom edge: the top of the area sway leaves to windows on the output.
bar_bottom=$(swaymsg -t get_workspaces -r |
    python3 -c 'import json,sys; print([w for w in json.load(sys.stdin) if w["visible"]][0]["rect"]["y"])')
((bar_bottom > 0)) || fail "waybar reserves no space at the top (workspace starts at $bar_bottom)"

# A native window to click into, tiled over the whole workspace.
foot >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do swaymsg -t get_tree | grep -q '"app_id": "foot"' && break; sleep 0.1; done

source "$(dirname "$0")/../support/start-tockwork.sh"
start_tockwork

# The ant in the bar: the leftmost pixel of its body colour in the bar's rows.
ant_x() {
    grim -g "0,0 ${width}x$bar_bottom" - 2>/dev/null | convert png:- txt:- |
        awk -F'[,:]' 'tolower($0) ~ /#b4502c/ { if (min == "" || $1 < min) min = $1 } END { print min }'
}
x=
for _ in $(seq 100); do x=$(ant_x); [[ -n $x ]] && break; sleep 0.1; done
[[ -n $x ]] || fail "waybar shows no ant in its tray"
icon_x=$((x + 6)) icon_y=$((bar_bottom / 2))

panel_window() { xdotool search --onlyvisible --name '^톡웍$' 2>/dev/null | head -1 || true; }
wait_panel() {
    for _ in $(seq 100); do [[ -n $(panel_window) ]] && return 0; sleep 0.1; done
    fail "no panel after $1"
}
wait_closed() {
    for _ in $(seq 100); do [[ -z $(panel_window) ]] && return 0; sleep 0.1; done
    fail "the panel stayed open after $1"
}
# The panel's edges as the X server has it: left top right (first pixel outside).
panel_edges() {
    xdotool getwindowgeometry --shell "$(panel_window)" |
        awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, x + w}'
}
near() { (($1 - $2 <= 8 && $2 - $1 <= 8)); }
# How sway holds the panel: "floating" (over the tiled windows), "tiled", or "none".
panel_layout() {
    swaymsg -t get_tree -r | python3 -c '
import json, sys
def walk(n, floating):
    if n.get("name") == "톡웍" and (n.get("window_properties") or {}).get("class") == "tockwork" or \
       n.get("name") == "톡웍" and n.get("app_id") == "tockwork":
        return "floating" if floating else "tiled"
    for c in n.get("nodes", []):
        r = walk(c, floating)
        if r: return r
    for c in n.get("floating_nodes", []):
        r = walk(c, True)
        if r: return r
print(walk(json.load(sys.stdin), False) or "none")'
}
floats() {
    local layout
    layout=$(panel_layout)
    [[ $layout == floating ]] || fail "sway holds the panel as: $layout (not floating)"
}
# The panel appears in the screenshot where the X server says it is: its top row, a few pixels
# in from its corners, is the panel's light grey, not the desktop's or the bar's.
shows_panel() { # FILE LEFT TOP RIGHT
    local colour
    colour=$(convert "$1" -format "%[hex:p{$(($2 + 20)),$(($3 + 6))}]" info:)
    [[ $colour =~ ^E|^F|^D ]] || fail "the screenshot shows #$colour, not the panel, at its top left"
    colour=$(convert "$1" -format "%[hex:p{$(($4 - 20)),$(($3 + 6))}]" info:)
    [[ $colour =~ ^E|^F|^D ]] || fail "the screenshot shows #$colour, not the panel, at its top right"
}

# 1. A real click on the ant: waybar 0.9 sends the position inside the icon.
"$click" "$icon_x" "$icon_y" "$width" "$height"
wait_panel "a click on the ant"
sleep 0.5
read -r left top right < <(panel_edges)
echo "sway-panel: click on the ant at $icon_x,$icon_y: panel $left,$top to $right (bar bottom $bar_bottom)"
grim "$shots/sway-panel-corner.png"
near "$top" "$bar_bottom" || fail "the panel's top $top is not within 8 px of the bar's bottom $bar_bottom"
((top >= bar_bottom)) || fail "the panel's top $top covers the bar (bottom $bar_bottom)"
near "$right" $((width - 8)) || fail "the panel's right edge $right is not 8 px inside the screen"
shows_panel "$shots/sway-panel-corner.png" "$left" "$top" "$right"
floats

"$click" 300 400 "$width" "$height"
wait_closed "a click into foot"
echo "sway-panel: a click into foot closed it"

# 2. Activate with the icon's place on the screen, as newer hosts send it.
sleep 1
service=$(dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher \
    /StatusNotifierWatcher org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
    string:RegisteredStatusNotifierItems | grep -o "[^\"]*StatusNotifierItem-$app-[0-9]*" | head -1)
[[ -n $service ]] || fail "the item is not registered with waybar's watcher"
dbus-send --session --type=method_call --dest="$service" /StatusNotifierItem \
    org.kde.StatusNotifierItem.Activate int32:$icon_x int32:$icon_y
wait_panel "Activate($icon_x, $icon_y)"
sleep 0.5
read -r left top right < <(panel_edges)
panel_width=$((right - left))
# Centred under the icon, but 4 px inside the right edge; 2 px below the bar.
want_right=$((icon_x + panel_width / 2))
((want_right > width - 4)) && want_right=$((width - 4))
echo "sway-panel: Activate($icon_x, $icon_y): panel $left,$top to $right (expected right $want_right)"
grim "$shots/sway-panel-under-icon.png"
near "$top" "$bar_bottom" || fail "the panel's top $top is not within 8 px of the bar's bottom $bar_bottom"
((top >= bar_bottom)) || fail "the panel's top $top covers the bar (bottom $bar_bottom)"
near "$right" "$want_right" || fail "the panel's right edge $right is not near $want_right"
shows_panel "$shots/sway-panel-under-icon.png" "$left" "$top" "$right"
floats

"$click" 200 600 "$width" "$height"
wait_closed "a second click into foot"

# 3. The settings beside the panel: a click on the panel's "설정" chip (bottom left).
settings_window() { xdotool search --onlyvisible --name '^톡웍 설정$' 2>/dev/null | head -1 || true; }
sleep 1 # a click that just closed the panel from outside does not open it again
dbus-send --session --type=method_call --dest="$service" /StatusNotifierItem \
    org.kde.StatusNotifierItem.Activate int32:$icon_x int32:$icon_y
wait_panel "Activate($icon_x, $icon_y) again"
sleep 0.5
read -r left top right < <(panel_edges)
panel_height=$(xdotool getwindowgeometry --shell "$(panel_window)" | awk -F= '/^HEIGHT=/{print $2}')
"$click" $((left + 16 + 53)) $((top + panel_height - 16 - 16)) "$width" "$height"
for _ in $(seq 100); do [[ -n $(settings_window) ]] && break; sleep 0.1; done
[[ -n $(settings_window) ]] || fail "no settings window after a click on 설정"
sleep 1
read -r s_left s_top s_right < <(xdotool getwindowgeometry --shell "$(settings_window)" |
    awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} END{print x, y, x + w}')
echo "sway-panel: settings $s_left,$s_top to $s_right beside the panel $left,$top to $right"
grim "$shots/sway-settings-beside.png"
near "$s_right" $((left - 8)) || fail "the settings window's right edge $s_right is not 8 px left of the panel ($left)"
near "$s_top" "$top" || fail "the settings window's top $s_top is not the panel's top $top"
[[ -n $(panel_window) ]] || fail "the panel closed when the settings window opened"

kill -0 $app 2>/dev/null || fail "tockwork stopped"
kill $app
wait $app || fail "tockwork exited with $?"
echo "sway-panel: ok"
