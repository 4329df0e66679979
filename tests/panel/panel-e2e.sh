#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real tockwork on a headless desktop (scripts/xvfb-session.sh: Xvfb, openbox and trayer, an
# XEmbed tray at the top right), driven from the outside as a user drives it:
#   a click on the ant opens the panel under it; a click elsewhere closes it;
#   pinned from the menu, it stays through a click elsewhere;
#   in overtime the end-of-day prompt opens by itself and Return stores "left".
#
#   tests/panel/panel-e2e.sh TOCKWORK SCREENSHOT_DIR [compositor]
#
# With "compositor", xcompmgr runs as well: the panel is translucent, and clicks elsewhere still
# close it. Exits 77 (skipped) when Xvfb, openbox, trayer, xwininfo, xdotool, ImageMagick or the
# compositor are missing.
set -euo pipefail
exe=$1 screens=$2 compositor=${3:-}

needs="xwininfo xdotool import ${compositor:+xcompmgr}" session_options="--tray trayer"
. "$(dirname "$0")/../support/e2e.sh"
if [[ -n $compositor ]]; then
    xcompmgr -n 2>/dev/null &
    also_kill+=($!)
    screens=$screens/compositor
fi
show_failure() { xwininfo -root -tree | grep -v '(has no name)' >&2 || true; }
mkdir -p "$screens"

# A schedule that puts every hour of every day in the state asked for, and a salary, so that no
# first-run settings window opens.
start_app() { # working|overtime
    kill_app
    local end=1439
    [[ $1 == overtime ]] && end=1
    mkdir -p "$home/config/tockwork"
    printf '[General]\nmonthlySalaryWon=3000000\nworkStart=0\nworkEnd=%s\nlunchStart=0\nlunchEnd=0\nexcludeWeekend=false\n' \
        "$end" >"$home/config/tockwork/tockwork.conf"
    HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache \
        TOCKWORK_ANALYTICS_URL=http://127.0.0.1:9 "$exe" >"$home/out" 2>"$home/err" &
    app=$!
}
kill_app() {
    if [[ -n $app ]]; then
        kill "$app" 2>/dev/null || true
        wait "$app" 2>/dev/null || true
        app=
    fi
}

# Polls `condition` (a shell command) for up to 5 s.
wait_for() {
    local what=$1
    shift
    for _ in $(seq 50); do
        "$@" && return 0
        sleep 0.1
    done
    fail "$what"
}

# The icon: tockwork's 24 x 24 window inside trayer, as "x y w h" on the screen.
icon_geometry() {
    xwininfo -root -tree | awk '/"tockwork"/ && $0 ~ /[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+ +\+-?[0-9]+\+-?[0-9]+/ {
        for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+/) { split($i, s, /[x+]/); w = s[1]; h = s[2] }
        for (i = 1; i <= NF; i++) if ($i ~ /^\+-?[0-9]+\+-?[0-9]+$/) { split($i, p, /\+/); x = p[2]; y = p[3] }
        if (w >= 16 && w <= 64 && h >= 16 && h <= 64) { print x, y, w, h; exit }
    }'
}
# The panel or the prompt: the visible top-level window called 톡웍.
window_id() { xdotool search --onlyvisible --name '^톡웍$' 2>/dev/null | head -1; }
window_shown() { [[ -n $(window_id) ]]; }
window_gone() { [[ -z $(window_id) ]]; }
icon_shown() { [[ -n $(icon_geometry) ]]; }

start_app working
wait_for "the ant is in the tray" icon_shown
read -r ix iy iw ih < <(icon_geometry)
cx=$((ix + iw / 2)) cy=$((iy + ih / 2))

xdotool mousemove $cx $cy click 1
wait_for "a click on the ant opens the panel" window_shown
eval "$(xdotool getwindowgeometry --shell "$(window_id)")"
# Under the icon: its top 2 pixels below the icon, centred on it unless the screen's edge is near
# (the right edge limit is 4 pixels inside the screen).
((Y >= iy + ih && Y <= iy + ih + 4)) || fail "panel top at $Y, icon bottom at $((iy + ih))"
screen_w=$(xwininfo -root | awk '/Width:/ { print $2 }')
expected_x=$((cx - WIDTH / 2))
((expected_x > screen_w - WIDTH - 4)) && expected_x=$((screen_w - WIDTH - 4))
((X >= expected_x - 2 && X <= expected_x + 2)) || fail "panel left at $X, expected $expected_x"
sleep 0.3
import -window root "$screens/panel-open.png"

xdotool mousemove 300 500 click 1
wait_for "a click elsewhere closes the panel" window_gone

# Pinned from the menu (the first command after the day's lines and "오늘 자세히 보기"), the panel
# stays through a click elsewhere.
xdotool mousemove $cx $cy click 3
sleep 0.5
xdotool key Down Down Return
wait_for "pinning opens the panel" window_shown
xdotool mousemove 300 500 click 1
sleep 1
window_shown || fail "a pinned panel closed on a click elsewhere"
import -window root "$screens/panel-pinned.png"

# Overtime without an answer: the prompt opens by itself; Return means leaving.
start_app overtime
wait_for "the end-of-day prompt opens" window_shown
sleep 0.3
import -window root "$screens/eod-prompt.png"
xdotool windowactivate --sync "$(window_id)" 2>/dev/null || true
xdotool key Return
wait_for "Return answers the prompt" window_gone
stored_left() { grep -q '^eodChoice=left$' "$home/config/tockwork/tockwork.conf"; }
wait_for "Return stores left" stored_left
kill_app

# The prompt's preview: Return answers "퇴근", and the two stored values are put back exactly.
before=$(cat "$home/config/tockwork/tockwork.conf")
HOME=$home XDG_CONFIG_HOME=$home/config "$exe" --eod >"$home/eod-out" 2>"$home/err" &
app=$!
wait_for "the prompt's preview opens" window_shown
xdotool windowactivate --sync "$(window_id)" 2>/dev/null || true
xdotool key Return
wait "$app" || fail "--eod exited with $?"
app=
[[ $(cat "$home/eod-out") == "선택: 퇴근" ]] || fail "--eod printed: $(cat "$home/eod-out")"
[[ $(cat "$home/config/tockwork/tockwork.conf") == "$before" ]] || fail "--eod changed the store"
echo "panel e2e: ok"
