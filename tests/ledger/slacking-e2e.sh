#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The day's row keeps its slacking by reason and what was in front: on a real desktop
# (scripts/xvfb-session.sh) a listed application (xterm) stays in front for twenty seconds of
# working time, TockWork is ended as a logout ends it, and `tockwork-cli history --csv` names
# the application among the day's top targets, its seconds under "app", and the reasons add up
# to the day's slacking.
#
#   tests/ledger/slacking-e2e.sh TOCKWORK TOCKWORK_CLI
#
# Exits 77 (skipped) when Xvfb, openbox, trayer, xdotool, xprop or xterm are missing.
set -euo pipefail
exe=$1 cli=$2

needs="xdotool xprop xterm"
. "$(dirname "$0")/../support/e2e.sh"

. "$(dirname "$0")/../support/desktop-home.sh"
# On a working day of the default 09:00-18:00 schedule.
late_morning
mkdir -p "$XDG_CONFIG_HOME/tockwork"
printf '[General]\nanalyticsOptOut=true\nmonthlySalaryWon=3000000\nexcludeWeekend=false\nwolluApps=xterm\n' \
    >"$XDG_CONFIG_HOME/tockwork/tockwork.conf"
phase=$("$cli" status --json)
grep -q '"state":"working"' <<<"$phase" || { echo "not a working moment here: $phase" >&2; exit 77; }

xterm -title listed &
also_kill+=($!)
"$exe" 2>"$home/err" &
app=$!
window=
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^listed$' 2>/dev/null | head -1 || true)
    [[ -n $window ]] && break
    sleep 0.1
done
[[ -n $window ]] || fail "no xterm window"
# Polls come about every 10 seconds: the terminal stays in front until the store has counted
# 20 seconds or more (a slow start or an early poll must not cut that short).
store=$XDG_CONFIG_HOME/tockwork/tockwork.conf
for _ in $(seq 60); do
    xdotool windowactivate "$window" 2>/dev/null || true
    sleep 1
    counted=$(sed -n 's/^wolluSec=//p' "$store" | head -1)
    awk -v s="${counted:-0}" 'BEGIN { exit !(s + 0 >= 20) }' && break
done
kill -TERM "$app"
wait "$app" || fail "tockwork did not end cleanly"
app=

csv=$("$cli" history --csv)
echo "$csv"
header=$(head -1 <<<"$csv" | tr -d '\r')
row=$(sed -n 2p <<<"$csv" | tr -d '\r')
[[ -n $row ]] || fail "no row for today"
column() {
    local i
    i=$(tr ',' '\n' <<<"$header" | grep -nx "$1" | cut -d: -f1)
    [[ -n $i ]] || fail "no column $1"
    python3 -c 'import csv,sys; print(next(csv.reader([sys.argv[1]]))[int(sys.argv[2])-1])' "$row" "$i"
}
slack=$(column slack_sec)
by_app=$(column slack_app_sec)
targets=$(column top_targets)
((slack >= 20)) || fail "the day counted $slack s of slacking, not the twenty seconds in front"
[[ -n $by_app ]] || fail "the row has no seconds under app"
sum=0
for reason in away_screen idle app site system_sleep; do
    value=$(column "slack_${reason}_sec")
    sum=$((sum + ${value:-0}))
done
# The row's reasons add up to its total, give or take one poll.
((sum >= slack - 10 && sum <= slack + 10)) || fail "reasons add up to $sum s, the day to $slack s"
grep -qi 'xterm' <<<"$targets" || fail "the top targets do not name the terminal: $targets"
echo "slacking-e2e: ok"
