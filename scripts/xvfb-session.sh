#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command inside a throw-away headless desktop: Xvfb on a free display, the openbox window
# manager and a tray host. Everything started here is stopped again on exit.
#
#   scripts/xvfb-session.sh [--tray trayer|xfce|sni|none] [--tray-delay SECONDS] COMMAND [ARGS...]
#
# Tray hosts: trayer (XEmbed, the default); xfce (xfce4-panel with only its status tray, which hosts
# StatusNotifierItems over D-Bus and XEmbed icons, with its configuration seeded so it asks
# nothing); sni (the project's minimal StatusNotifierItem host, build/tockwork-sni-host, override
# with SNI_HOST); none. xfce and sni run on a private session bus of their own (dbus-run-session).
# --no-tray and --sni are short for --tray none and --tray sni.
#
# COMMAND sees DISPLAY and XVFB_SESSION_DIR. The tray host's pid is in $XVFB_SESSION_DIR/tray.pid
# once it runs; $XVFB_SESSION_DIR/start-tray starts it (again), so a test can kill the host and
# bring it back as a crashed panel would be. With --tray-delay the host starts that many seconds
# after COMMAND (a panel that starts after the applications of the session).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

tray=trayer
tray_delay=0
args=("$@")
while (($#)); do
    case $1 in
    --no-tray) tray=none; shift ;;
    --sni) tray=sni; shift ;;
    --tray) tray=$2; shift 2 ;;
    --tray-delay) tray_delay=$2; shift 2 ;;
    *) break ;;
    esac
done
(($#)) || { echo "usage: $0 [--tray trayer|xfce|sni|none] [--tray-delay S] COMMAND [ARGS...]" >&2; exit 2; }
for tool in Xvfb openbox; do
    command -v "$tool" >/dev/null || { echo "xvfb-session: $tool is not installed" >&2; exit 77; }
done
case $tray in
trayer) command -v trayer >/dev/null || { echo "xvfb-session: trayer is not installed" >&2; exit 77; } ;;
xfce)
    for tool in xfce4-panel dbus-run-session; do
        command -v $tool >/dev/null || { echo "xvfb-session: $tool is not installed" >&2; exit 77; }
    done ;;
sni)
    sni_host=${SNI_HOST:-$here/../build/tockwork-sni-host}
    [[ -x $sni_host ]] || { echo "xvfb-session: $sni_host is not built" >&2; exit 77; } ;;
none) ;;
*) echo "xvfb-session: unknown tray host $tray" >&2; exit 2 ;;
esac

if [[ ($tray == sni || $tray == xfce) && -z ${XVFB_SESSION_BUS:-} ]]; then
    # A bus of our own, so the host and the application meet nobody else's. Services the bus
    # starts (xfconfd, which serves xfce4-panel its settings) inherit this environment, so the
    # seeded configuration must be in place before the bus starts.
    if [[ $tray == xfce ]]; then
        XVFB_SESSION_XFCE=$(mktemp -d)
        export XVFB_SESSION_XFCE XDG_CONFIG_HOME=$XVFB_SESSION_XFCE/config
        export XDG_CACHE_HOME=$XVFB_SESSION_XFCE/cache XDG_DATA_HOME=$XVFB_SESSION_XFCE/data
        channel=$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml
        mkdir -p "$channel"
        cp "$here/xfce4-panel.xml" "$channel/xfce4-panel.xml"
        # No accessibility bus: nothing here reads it.
        export NO_AT_BRIDGE=1
        status=0
        XVFB_SESSION_BUS=1 dbus-run-session -- "$0" "${args[@]}" || status=$?
        # xfconfd, started by the bus, may still be saving its settings for a moment after the bus
        # is gone: retry the removal, and never let it change the command's own result.
        for _ in $(seq 20); do
            rm -rf "$XVFB_SESSION_XFCE" 2>/dev/null && break
            sleep 0.1
        done
        exit "$status"
    fi
    XVFB_SESSION_BUS=1 exec dbus-run-session -- "$0" "${args[@]}"
fi

pids=()
session_dir=$(mktemp -d)
export XVFB_SESSION_DIR=$session_dir
stop_tray() {
    [[ -f $session_dir/tray.pid ]] || return 0
    local pid
    pid=$(cat "$session_dir/tray.pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
}
cleanup() {
    local pid
    stop_tray
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
# No desktop session: keep Qt off the user's D-Bus session so only the chosen host is seen.
unset WAYLAND_DISPLAY
[[ $tray == sni || $tray == xfce ]] || unset DBUS_SESSION_BUS_ADDRESS

openbox >/dev/null 2>&1 &
pids+=($!)

# The host is started by a script of its own, which tests may run again after killing the host.
{
    echo '#!/usr/bin/env bash'
    echo "cd $(printf %q "$session_dir")"
    case $tray in
    trayer)
        echo 'trayer --edge top --align right --widthtype request --height 24 --SetDockType true \'
        echo '    --transparent false --tint 0x303030 >/dev/null 2>&1 &' ;;
    xfce) echo 'xfce4-panel --disable-wm-check >>xfce4-panel.log 2>&1 &' ;;
    sni) echo "$(printf %q "$sni_host") >sni-host.log &" ;;
    none) echo 'exit 0' ;;
    esac
    echo 'echo $! >tray.pid.new && mv tray.pid.new tray.pid'
} >"$session_dir/start-tray"
chmod +x "$session_dir/start-tray"

if [[ $tray != none && $tray_delay == 0 ]]; then
    "$session_dir/start-tray"
    sleep 0.5
fi

"$@" &
cmd_pid=$!
pids+=($cmd_pid)
if [[ $tray != none && $tray_delay != 0 ]]; then
    sleep "$tray_delay"
    "$session_dir/start-tray"
fi
set +e
wait "$cmd_pid"
status=$?
set -e
exit "$status"
