#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures what the animated tray icon costs the desktop: CPU of tockwork and of the tray host
# (with its helper processes) together, tockwork's resident memory, and on hosts that speak D-Bus
# the messages per minute on the session bus, over SECONDS (default 60) on a headless X server
# with the working ant forced so the mascot animates the whole time.
#
#   scripts/measure-tray.sh [--host trayer|xfce|sni] [SECONDS] [extra tockwork arguments...]
#
# Hosts (see scripts/xvfb-session.sh): trayer (XEmbed, the default); xfce (xfce4-panel's status
# tray: StatusNotifierItem, fetching all properties after every icon change); sni (the project's
# minimal host, fetching the pixels after every change). --sni is short for --host sni.
#
# Goals: together <= 0.5 % of one core on XEmbed, <= 1 % on StatusNotifierItem; tockwork <= 60 MB.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ ${MEASURE_TRAY_INSIDE:-} != 1 ]]; then
    host=trayer
    case ${1:-} in
    --sni) host=sni; shift ;;
    --host) host=$2; shift 2 ;;
    esac
    MEASURE_TRAY_INSIDE=1 MEASURE_TRAY_HOST=$host exec scripts/xvfb-session.sh --tray "$host" \
        "$0" "$@"
fi

seconds=${1:-60}
shift || true
exe=${TOCKWORK:-build/tockwork}
[[ -x $exe ]] || { echo "measure-tray: $exe is missing; build it first" >&2; exit 1; }
host=$MEASURE_TRAY_HOST

home=$(mktemp -d)
HOME=$home XDG_CONFIG_HOME=$home/.config "$exe" --state 근무 "$@" 2>/dev/null &
app=$!
monitor=
trap 'kill $app $monitor 2>/dev/null; wait $app 2>/dev/null; rm -rf "$home"' EXIT
sleep 5 # start-up and embedding are not what is measured
tray=$(cat "$XVFB_SESSION_DIR/tray.pid")
xserver=$(pgrep -n -x Xvfb 2>/dev/null || true)

# The host and every process it started (xfce4-panel runs its tray plugin in a wrapper process).
tree() {
    local pids=($1) i=0 child
    while ((i < ${#pids[@]})); do
        for child in $(pgrep -P "${pids[i]}" 2>/dev/null); do pids+=("$child"); done
        i=$((i + 1))
    done
    echo "${pids[@]}"
}
# utime + stime in clock ticks, summed; the fields after the command name, which may contain spaces.
ticks() {
    local sum=0 pid
    for pid in "$@"; do
        [[ -r /proc/$pid/stat ]] || continue
        sum=$((sum + $(sed 's/^.*) //' "/proc/$pid/stat" | awk '{print $12 + $13}')))
    done
    echo $sum
}
hz=$(getconf CLK_TCK)
host_pids=$(tree "$tray")

if [[ $host != trayer ]] && command -v dbus-monitor >/dev/null; then
    dbus-monitor --session >"$home/bus.log" 2>/dev/null &
    monitor=$!
    sleep 0.5
fi
app0=$(ticks $app) tray0=$(ticks $host_pids)
[[ -n $xserver ]] && x0=$(ticks "$xserver")
rss_max=0
for ((i = 0; i < seconds; i++)); do
    sleep 1
    rss=$(awk '/^VmRSS:/ {print $2}' /proc/$app/status)
    ((rss > rss_max)) && rss_max=$rss
done
app1=$(ticks $app) tray1=$(ticks $host_pids)
[[ -n $xserver ]] && x1=$(ticks "$xserver")
[[ -n $monitor ]] && kill $monitor 2>/dev/null

pct() { awk -v t="$1" -v hz="$hz" -v s="$seconds" 'BEGIN {printf "%.2f", t / hz / s * 100}'; }
per_min() { awk -v n="$1" -v s="$seconds" 'BEGIN {printf "%.0f", n * 60 / s}'; }
echo "over ${seconds}s with $host ($*):"
echo "  tockwork   cpu $(pct $((app1 - app0))) %   rss max $((rss_max / 1024)) MB"
echo "  tray host  cpu $(pct $((tray1 - tray0))) %   (pids $host_pids)"
echo "  together   cpu $(pct $((app1 - app0 + tray1 - tray0))) %"
[[ -n $xserver ]] && echo "  (Xvfb      cpu $(pct $((x1 - x0))) %)"
if [[ -n $monitor ]]; then
    # One line per message: its kind and member, without the monitor's own conversation.
    awk '/^(signal|method call|method return|error) / {
            kind = $1 == "method" ? $1 " " $2 : $1
            member = ""
            for (i = 1; i <= NF; i++) if ($i ~ /^member=/) member = substr($i, 8)
            if ($0 ~ /BecomeMonitor|NameAcquired|NameLost/) next
            print kind, member }' "$home/bus.log" | sort | uniq -c | sort -rn >"$home/bus.count"
    total=$(awk '{n += $1} END {print n + 0}' "$home/bus.count")
    echo "  D-Bus      $(per_min "$total") messages a minute on the session bus:"
    while read -r n kind; do
        echo "             $(per_min "$n")/min  $kind"
    done <"$home/bus.count"
fi
if [[ -f $XVFB_SESSION_DIR/sni-host.log ]]; then
    kill "$tray" && sleep 0.3
    echo "  (host: $(grep -c registered "$XVFB_SESSION_DIR/sni-host.log") item(s), $(tail -1 "$XVFB_SESSION_DIR/sni-host.log"))"
fi
exit 0
