#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# "tockwork --settings" is the real settings window over the user's own file, on a headless desktop
# (scripts/xvfb-session.sh): opening it and cancelling writes nothing; "저장" writes exactly what
# was changed (a stored 3,005,000 won salary, never touched, stays exact); "--settings add" opens
# the manual-entry dialog, where a typed line with a comma becomes two entries.
#
#   tests/settings/preview-e2e.sh TOCKWORK
#
# Exits 77 (skipped) when Xvfb, openbox, xdotool or xprop are missing.
set -euo pipefail
exe=$1

needs="xdotool xprop" session_options=--no-tray
. "$(dirname "$0")/../support/e2e.sh"
. "$(dirname "$0")/../support/desktop-home.sh"
export TZ=Asia/Seoul
conf=$XDG_CONFIG_HOME/tockwork/tockwork.conf
mkdir -p "$(dirname "$conf")"
# A day long past with slacking time on it: reading resets it in memory, never in the file.
cat >"$conf" <<'CONF'
[General]
analyticsOptOut=true
monthlySalaryWon=3005000
workStart=540
workEnd=1080
wolluApps=유튜브
wolluDay=2020-1-1
wolluSec=120
CONF
cp "$conf" "$home/before"

# Waits until the window `$1` has the keyboard.
wait_active() {
    for _ in $(seq 50); do [[ $(xdotool getactivewindow 2>/dev/null) == "$1" ]] && return; sleep 0.1; done
    fail "window $1 ($(xdotool getwindowname "$1")) never got the keyboard; $(xdotool getactivewindow 2>&1) has it"
}
wait_exit() {
    for _ in $(seq 100); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
    kill -0 $app 2>/dev/null && fail "$1"
    wait $app || fail "exit status $?"
    app=
}

# Opened and cancelled: the file is untouched.
"$exe" --settings 2>"$home/err" &
app=$!
settings=$(wait_window '톡웍 설정')
[[ -n $settings ]] || fail "no settings window"
wait_active "$settings"
sleep 1
cmp -s "$conf" "$home/before" || fail "opening the preview wrote: $(diff "$home/before" "$conf")"
xdotool key Escape
wait_exit "Escape did not close the preview"
cmp -s "$conf" "$home/before" || fail "cancelling wrote: $(diff "$home/before" "$conf")"

# The end of work typed as 19:00, then "저장" by Return: that, and nothing else, changes.
"$exe" --settings 2>>"$home/err" &
app=$!
settings=$(wait_window '톡웍 설정')
[[ -n $settings ]] || fail "no settings window"
wait_active "$settings"
eval "$(xdotool getwindowgeometry --shell "$settings")"
xdotool mousemove $((X + 140 + 12)) $((Y + 50 + 12)) click 1
sleep 0.3
xdotool type --delay 60 1900
xdotool key Return
wait_exit "Return did not save and close the preview"
# Keys the save writes with their values as they were may be added; no other value changes or goes.
gone=$(comm -23 <(sort "$home/before") <(sort "$conf"))
[[ $gone == workEnd=1080 ]] || fail "the save changed more than the end of work: $gone"
grep -q '^workEnd=1140$' "$conf" || fail "the end of work was not saved: $(cat "$conf")"
grep -q '^monthlySalaryWon=3005000$' "$conf" || fail "the untouched salary changed: $(cat "$conf")"
grep -q '^wolluSec=120$' "$conf" || fail "the old day's slacking time was reset in the file"

# "--settings add": the dialog opens over the window; one typed line with a comma adds two entries.
"$exe" --settings add 2>>"$home/err" &
app=$!
dialog=$(wait_window '딴짓 추가')
[[ -n $dialog ]] || fail "no manual-entry dialog"
wait_active "$dialog"
xdotool type --delay 40 ' https://www.Twitch.tv/some/path, Chzzk '
xdotool key Return
for _ in $(seq 50); do [[ -z $(visible_window '딴짓 추가') ]] && break; sleep 0.1; done
[[ -z $(visible_window '딴짓 추가') ]] || fail "Return did not add"
sleep 0.3
xdotool key Return
wait_exit "Return did not save the preview"
grep -q '^wolluApps="유튜브,twitch.tv,Chzzk"$' "$conf" ||
    grep -q '^wolluApps=유튜브,twitch.tv,Chzzk$' "$conf" || fail "entries not saved: $(cat "$conf")"
echo "preview-e2e: ok"
