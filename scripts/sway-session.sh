#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command inside a throw-away headless Wayland desktop: sway (wlroots' headless backend,
# pixman rendering, no input devices) with XWayland and waybar's tray on a private session bus.
# Everything started here is stopped again on exit.
#
#   scripts/sway-session.sh [--screens DIR] [--no-bar] COMMAND [ARGS...]
#
# sway refuses to run as root ("Unable to drop root"), so as root the desktop and COMMAND run as
# the unprivileged user tockwork-desktop (created here when missing) with runuser, in a runtime
# folder and home of their own; COMMAND and the programs it runs must be readable by that user.
# Started by anyone else, everything runs as that user.
#
# COMMAND sees WAYLAND_DISPLAY, DISPLAY (sway's XWayland), SWAYSOCK and SWAY_SESSION_DIR, a folder
# of its own. Files COMMAND writes to $SWAY_SESSION_DIR/screens are copied to --screens DIR.
# Exits 77 (skipped) with the reason when a tool is missing or the desktop cannot start.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
user=tockwork-desktop

skip() {
    echo "sway-session: skipped: $*" >&2
    exit 77
}

source "$(dirname "$0")/desktop-session.sh"

if [[ ${1:-} != --inside ]]; then
    screens= bar=1
    while (($#)); do
        case $1 in
        --screens) screens=$2; shift 2 ;;
        --no-bar) bar=0; shift ;;
        *) break ;;
        esac
    done
    (($#)) || { echo "usage: $0 [--screens DIR] [--no-bar] COMMAND [ARGS...]" >&2; exit 2; }
    for tool in sway swaymsg dbus-run-session; do
        command -v $tool >/dev/null || skip "$tool is not installed"
    done
    ((bar)) && { command -v waybar >/dev/null || skip "waybar is not installed"; }
    new_session_dir sway screens
    use_desktop_user sway "$0" "$1"
    # A clean environment: nothing of the caller's desktop (its DISPLAY, bus, runtime folder)
    # leaks into this one. Sanitizer settings and the time zone pass through.
    passed_environment TRAY_ICON_LIMIT_MS
    status=0
    "${as_user[@]}" env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$session_dir/home" SHELL=/bin/sh \
        XDG_RUNTIME_DIR="$session_dir/run" SWAY_SESSION_DIR="$session_dir" SWAY_SESSION_BAR=$bar \
        NO_AT_BRIDGE=1 "${keep[@]}" dbus-run-session -- "$0" --inside "$@" || status=$?
    copy_screens "$screens"
    exit "$status"
fi
shift

dir=$SWAY_SESSION_DIR
stop_started_on_exit

# One headless output; XWayland started at once, so the first X client does not wait for it.
cat >"$dir/sway.conf" <<EOF
output HEADLESS-1 resolution 1280x720 position 0 0
xwayland force
default_border none
exec sh -c 'echo "\$WAYLAND_DISPLAY \$DISPLAY" > "$dir/sway.env.new" && mv "$dir/sway.env.new" "$dir/sway.env"'
EOF
WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway -c "$dir/sway.conf" >"$dir/sway.log" 2>&1 &
sway_pid=$!
pids+=($sway_pid)
for _ in $(seq 100); do
    [[ -e $dir/sway.env ]] && break
    kill -0 $sway_pid 2>/dev/null || break
    sleep 0.1
done
if [[ ! -e $dir/sway.env ]]; then
    tail -5 "$dir/sway.log" >&2
    skip "sway did not start: $(grep -m1 -E 'ERROR|Unable' "$dir/sway.log" || echo 'no session within 10 s')"
fi
read -r WAYLAND_DISPLAY DISPLAY <"$dir/sway.env"
SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock | head -1)
export WAYLAND_DISPLAY DISPLAY SWAYSOCK
[[ -n $DISPLAY ]] || skip "sway started without XWayland"

if [[ $SWAY_SESSION_BAR == 1 ]]; then
    # A top bar with only the tray, which also serves the StatusNotifierWatcher.
    mkdir -p "$dir/waybar"
    cat >"$dir/waybar/config" <<'EOF'
{ "layer": "top", "position": "top", "height": 30, "modules-right": ["tray"],
  "tray": { "icon-size": 22, "spacing": 6 } }
EOF
    printf '* { font-size: 13px; } window#waybar { background: #303030; }\n' >"$dir/waybar/style.css"
    waybar -c "$dir/waybar/config" -s "$dir/waybar/style.css" >"$dir/waybar.log" 2>&1 &
    pids+=($!)
    echo $! >"$dir/waybar.pid"
    for _ in $(seq 100); do
        dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher 2>/dev/null |
            grep true >/dev/null && break
        sleep 0.1
    done
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher 2>/dev/null |
        grep true >/dev/null || { tail -5 "$dir/waybar.log" >&2; skip "waybar's tray did not start"; }
fi

cd "$dir"
"$@" &
cmd_pid=$!
pids+=($cmd_pid)
set +e
wait "$cmd_pid"
status=$?
set -e
exit "$status"
