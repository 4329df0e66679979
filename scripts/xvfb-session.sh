#!/usr/bin/env bash
# Runs a command inside a throw-away headless desktop: Xvfb on a free display, the openbox window
# manager and the trayer tray host (XEmbed). Everything started here is stopped again on exit.
#
#   scripts/xvfb-session.sh [--no-tray | --sni] [--tray-delay SECONDS] COMMAND [ARGS...]
#
# With --sni the tray host is the StatusNotifierItem host build/tockwork-sni-host (override with
# SNI_HOST) on a private session bus instead of trayer. COMMAND sees DISPLAY and XVFB_SESSION_DIR;
# the tray host's pid is in $XVFB_SESSION_DIR/tray.pid once it runs. With --tray-delay the tray host
# starts that many seconds after COMMAND (for checking that a late tray still gets the icon).
set -euo pipefail

tray=1
tray_delay=0
while (($#)); do
    case $1 in
    --no-tray) tray=0; shift ;;
    --sni) tray=sni; shift ;;
    --tray-delay) tray_delay=$2; shift 2 ;;
    *) break ;;
    esac
done
(($#)) || { echo "usage: $0 [--no-tray] [--tray-delay S] COMMAND [ARGS...]" >&2; exit 2; }
for tool in Xvfb openbox; do
    command -v "$tool" >/dev/null || { echo "xvfb-session: $tool is not installed" >&2; exit 77; }
done
if [[ $tray == sni && -z ${MEASURE_SNI_BUS:-} ]]; then
    # A bus of our own, so the host and the application meet nobody else's.
    MEASURE_SNI_BUS=1 exec dbus-run-session -- "$0" --sni --tray-delay "$tray_delay" "$@"
fi
sni_host=${SNI_HOST:-$(dirname "$0")/../build/tockwork-sni-host}
if [[ $tray == sni && ! -x $sni_host ]]; then
    echo "xvfb-session: $sni_host is not built" >&2
    exit 77
fi
if [[ $tray == 1 ]] && ! command -v trayer >/dev/null; then
    echo "xvfb-session: trayer is not installed" >&2
    exit 77
fi

pids=()
session_dir=$(mktemp -d)
export XVFB_SESSION_DIR=$session_dir
cleanup() {
    local pid
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        pid=${pids[i]}
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$session_dir"
}
trap cleanup EXIT INT TERM

# A display number of our own: the first free one from a random start.
display=$((97 + RANDOM % 300))
while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    [[ -e /tmp/.X11-unix/X$display ]] && break
    sleep 0.05
done
export DISPLAY=":$display"
# No desktop session: keep Qt off the user's D-Bus session so the XEmbed tray is the one used.
unset WAYLAND_DISPLAY
[[ $tray == sni ]] || unset DBUS_SESSION_BUS_ADDRESS

openbox >/dev/null 2>&1 &
pids+=($!)

start_tray() {
    if [[ $tray == sni ]]; then
        "$sni_host" >"$session_dir/sni-host.log" &
        pids+=($!)
        echo $! >"$session_dir/tray.pid"
        return
    fi
    trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
        --transparent false --tint 0x303030 >/dev/null 2>&1 &
    pids+=($!)
    echo $! >"$session_dir/tray.pid"
}

if [[ $tray != 0 && $tray_delay == 0 ]]; then
    start_tray
    sleep 0.5
fi

"$@" &
cmd_pid=$!
pids+=($cmd_pid)
if [[ $tray != 0 && $tray_delay != 0 ]]; then
    sleep "$tray_delay"
    start_tray
fi
set +e
wait "$cmd_pid"
status=$?
set -e
exit "$status"
