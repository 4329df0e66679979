#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A new user's first launch on a real desktop (scripts/xvfb-session.sh: Xvfb, openbox, trayer):
# with no salary stored, TockWork opens its settings by itself, beside the panel and with the
# keyboard in the salary field. The salary and the working hours are typed with xdotool as a
# person would, Return saves, and the terminal companion reads the new day from the same file. A
# second launch, salary set, opens nothing.
#
#   tests/settings/first-run-e2e.sh TOCKWORK TOCKWORK_CLI SCREENSHOT_DIR
#
# Exits 77 (skipped) when Xvfb, openbox, trayer, xdotool, xprop or ImageMagick are missing.
set -euo pipefail
exe=$1 cli=$2 screens=$3

needs="xdotool xprop import"
. "$(dirname "$0")/../support/e2e.sh"
failure_shot=$screens/first-run-failed.png
mkdir -p "$screens"

. "$(dirname "$0")/../support/desktop-home.sh"
late_morning
new_user_store

first_launch
[[ $(xdotool getactivewindow) == "$settings" ]] || fail "the settings window does not have the keyboard"
eval "$(xdotool getwindowgeometry --shell "$settings")"
sx=$X sy=$Y sw=$WIDTH
eval "$(xdotool getwindowgeometry --shell "$panel")"
((sx + sw <= X)) || fail "the settings window is not left of the panel ($sx+$sw, panel at $X)"
import -window root "$screens/first-run.png"

# The keyboard starts in the salary field. (Full-width digits are the unit tests' business:
# xdotool types them by remapping a key on the fly, which races with the application.)
xdotool type --delay 60 350
sleep 0.2
# Work from 08:00 to 17:00: a click selects a picker's hour, and the four digits fill it.
for picker in "48 0800" "140 1700"; do
    read -r px digits <<<"$picker"
    xdotool mousemove $((sx + px + 12)) $((sy + 50 + 12)) click 1
    sleep 0.2
    xdotool type --delay 60 "$digits"
done
import -window root "$screens/first-run-typed.png"
xdotool key Return
for _ in $(seq 50); do [[ -z $(visible_window '톡웍 설정') ]] && break; sleep 0.1; done
[[ -z $(visible_window '톡웍 설정') ]] || fail "Return did not save and close the settings"
# The first salary: the panel stays to show the money start.
sleep 1
[[ -n $(visible_window '톡웍') ]] || fail "the panel closed with the settings at the first save"
import -window root "$screens/first-run-saved.png"

grep -q '^monthlySalaryWon=3500000$' "$conf" || fail "salary not stored: $(cat "$conf")"
grep -q '^workStart=480$' "$conf" || fail "work start not stored: $(cat "$conf")"
grep -q '^workEnd=1020$' "$conf" || fail "work end not stored: $(cat "$conf")"
# A Tuesday at 15:00 of that schedule: 6 hours worked (lunch 12-13), 2 to go, money shown.
json=$("$cli" status --json --at "2026-03-10 15:00")
echo "$json"
for expected in '"workedMin":360' '"remainMin":120' '"showMoney":true' '원 벌었어요'; do
    grep -q -- "$expected" <<<"$json" || fail "status lacks $expected"
done

# With a salary set, a new launch opens no settings.
kill $app
wait $app 2>/dev/null || true
"$exe" 2>>"$home/err" &
app=$!
# Started once its icon shows in the tray; the settings would have opened by then.
for _ in $(seq 150); do
    [[ -n $(xdotool search --onlyvisible --class tockwork 2>/dev/null || true) ]] && break
    sleep 0.1
done
sleep 1
kill -0 $app || fail "the second launch stopped"
[[ -z $(visible_window '톡웍 설정') ]] || fail "settings opened although a salary is set"
echo "first-run-e2e: ok"
