#!/usr/bin/env bash
# Measures what the animated tray icon costs the desktop: CPU of tockwork and of the tray host
# (trayer, XEmbed) together, and tockwork's resident memory, over SECONDS (default 60) on a
# headless X server, with the working ant forced so the mascot animates the whole time.
#
#   scripts/measure-tray.sh [--sni] [SECONDS] [extra tockwork arguments...]
#
# --sni measures through StatusNotifierItem over D-Bus (with build/tockwork-sni-host as the host,
# fetching the pixels after every icon change as panels do) instead of XEmbed with trayer.
#
# Goal: tockwork + tray host <= 1 % of one core, tockwork <= 80 MB resident.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ ${MEASURE_TRAY_INSIDE:-} != 1 ]]; then
    session=()
    if [[ ${1:-} == --sni ]]; then
        session=(--sni)
        shift
    fi
    MEASURE_TRAY_INSIDE=1 exec scripts/xvfb-session.sh "${session[@]}" "$0" "$@"
fi

seconds=${1:-60}
shift || true
exe=${TOCKWORK:-build/tockwork}
[[ -x $exe ]] || { echo "measure-tray: $exe is missing; build it first" >&2; exit 1; }

home=$(mktemp -d)
HOME=$home XDG_CONFIG_HOME=$home/.config "$exe" --state 근무 "$@" 2>/dev/null &
app=$!
trap 'kill $app 2>/dev/null; wait $app 2>/dev/null; rm -rf "$home"' EXIT
sleep 5 # start-up and embedding are not what is measured
tray=$(cat "$XVFB_SESSION_DIR/tray.pid")
xserver=$(pgrep -n -x Xvfb -P $PPID 2>/dev/null || true)

# utime + stime in clock ticks; the fields after the command name, which may contain spaces.
ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }
hz=$(getconf CLK_TCK)

app0=$(ticks $app) tray0=$(ticks "$tray")
[[ -n $xserver ]] && x0=$(ticks "$xserver")
rss_max=0
for ((i = 0; i < seconds; i++)); do
    sleep 1
    rss=$(awk '/^VmRSS:/ {print $2}' /proc/$app/status)
    ((rss > rss_max)) && rss_max=$rss
done
app1=$(ticks $app) tray1=$(ticks "$tray")
[[ -n $xserver ]] && x1=$(ticks "$xserver")

pct() { awk -v t="$1" -v hz="$hz" -v s="$seconds" 'BEGIN {printf "%.2f", t / hz / s * 100}'; }
echo "over ${seconds}s ($*):"
echo "  tockwork   cpu $(pct $((app1 - app0))) %   rss max $((rss_max / 1024)) MB"
echo "  tray host  cpu $(pct $((tray1 - tray0))) %"
echo "  together   cpu $(pct $((app1 - app0 + tray1 - tray0))) %   (goal <= 1 %, <= 80 MB)"
[[ -n $xserver ]] && echo "  (Xvfb      cpu $(pct $((x1 - x0))) %)"
if [[ -f $XVFB_SESSION_DIR/sni-host.log ]]; then
    kill "$tray" && sleep 0.3
    echo "  (host: $(grep -c registered "$XVFB_SESSION_DIR/sni-host.log") item(s), $(tail -1 "$XVFB_SESSION_DIR/sni-host.log"))"
fi
exit 0
