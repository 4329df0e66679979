#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command inside a throw-away headless GNOME desktop: gnome-shell as a headless Wayland
# compositor with one virtual monitor and XWayland, on a private session bus, with a private
# system bus on which python3-dbusmock plays logind (the Shell asks it for the session and will
# not start without it). Everything started here is stopped again on exit.
#
#   scripts/gnome-session.sh [--screens DIR] [--prepare CMD] COMMAND [ARGS...]
#
# CMD runs in the session's environment before the Shell starts (e.g. to install an extension);
# every extension then found in the user's extensions folder is enabled, and the AppIndicator
# extension where it is installed (the Shell reads its enabled list only at start). As root, the
# desktop and COMMAND run as the unprivileged user tockwork-desktop (created here when missing)
# with runuser, in a runtime folder and home of their own, like scripts/sway-session.sh.
#
# COMMAND sees WAYLAND_DISPLAY, DISPLAY and XAUTHORITY (the Shell's XWayland) and
# GNOME_SESSION_DIR, a folder of its own. Files COMMAND writes to $GNOME_SESSION_DIR/screens are
# copied to --screens DIR.
# Exits 77 (skipped) with the reason when a tool is missing or the desktop cannot start.
set -euo pipefail
user=tockwork-desktop

skip() {
    echo "gnome-session: skipped: $*" >&2
    exit 77
}

source "$(dirname "$0")/desktop-session.sh"

if [[ ${1:-} != --inside ]]; then
    screens= prepare=
    while (($#)); do
        case $1 in
        --screens) screens=$2; shift 2 ;;
        --prepare) prepare=$2; shift 2 ;;
        *) break ;;
        esac
    done
    (($#)) || { echo "usage: $0 [--screens DIR] [--prepare CMD] COMMAND [ARGS...]" >&2; exit 2; }
    for tool in gnome-shell gsettings gdbus dbus-daemon dbus-run-session; do
        command -v $tool >/dev/null || skip "$tool is not installed"
    done
    /usr/bin/python3 -c 'import dbusmock' 2>/dev/null || skip "python3-dbusmock is not installed"
    new_session_dir gnome screens
    use_desktop_user "the desktop" "$0" "$1"
    passed_environment
    status=0
    "${as_user[@]}" env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$session_dir/home" SHELL=/bin/sh \
        XDG_RUNTIME_DIR="$session_dir/run" GNOME_SESSION_DIR="$session_dir" \
        GNOME_SESSION_PREPARE="$prepare" NO_AT_BRIDGE=1 "${keep[@]}" \
        dbus-run-session -- "$0" --inside "$@" || status=$?
    copy_screens "$screens"
    exit "$status"
fi
shift

dir=$GNOME_SESSION_DIR
stop_started_on_exit

has_name() { # BUS NAME
    gdbus call --"$1" -d org.freedesktop.DBus -o /org/freedesktop/DBus \
        -m org.freedesktop.DBus.NameHasOwner "$2" 2>/dev/null | grep -q true
}

# The system bus: a bus of our own with the session bus's rules, logind played on it.
dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$dir/system-bus" &
pids+=($!)
for _ in $(seq 50); do [[ -s $dir/system-bus ]] && break; sleep 0.1; done
[[ -s $dir/system-bus ]] || skip "the private system bus did not start"
DBUS_SYSTEM_BUS_ADDRESS=$(head -1 "$dir/system-bus")
export DBUS_SYSTEM_BUS_ADDRESS
/usr/bin/python3 -m dbusmock --template logind --system >"$dir/logind.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do has_name system org.freedesktop.login1 && break; sleep 0.1; done
has_name system org.freedesktop.login1 || skip "the stand-in logind did not start"

if [[ -n ${GNOME_SESSION_PREPARE:-} ]]; then
    bash -c "$GNOME_SESSION_PREPARE" || { echo "gnome-session: --prepare failed" >&2; exit 1; }
fi
enabled=()
for ext in "$HOME"/.local/share/gnome-shell/extensions/*/metadata.json \
    /usr/share/gnome-shell/extensions/*appindicator*/metadata.json; do
    [[ -e $ext ]] && enabled+=("'$(basename "$(dirname "$ext")")'")
done
gsettings set org.gnome.shell enabled-extensions "[$(IFS=,; echo "${enabled[*]}")]"
gsettings set org.gnome.shell disable-user-extensions false
# No welcome tour over the first session's desktop.
gsettings set org.gnome.shell welcome-dialog-last-shown-version '999' 2>/dev/null || true

gnome-shell --headless --wayland --virtual-monitor 1280x800 >"$dir/gnome-shell.log" 2>&1 &
shell_pid=$!
pids+=($shell_pid)
for _ in $(seq 600); do
    has_name session org.gnome.Shell && break
    kill -0 $shell_pid 2>/dev/null || break
    sleep 0.1
done
if ! has_name session org.gnome.Shell; then
    tail -5 "$dir/gnome-shell.log" >&2
    skip "gnome-shell did not start: $(grep -m1 -E 'ERROR|error|Failed' "$dir/gnome-shell.log" || echo 'not on the bus within 60 s')"
fi
# Mutter names its displays on stderr, which may reach the log after the Shell took its name.
for _ in $(seq 100); do
    WAYLAND_DISPLAY=$(sed -n "s/.*Using Wayland display name '\([^']*\)'.*/\1/p" "$dir/gnome-shell.log" | head -1)
    [[ -n $WAYLAND_DISPLAY && -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]] && break
    sleep 0.1
done
DISPLAY=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$dir/gnome-shell.log" | head -1)
[[ -n $WAYLAND_DISPLAY ]] || skip "gnome-shell named no Wayland display"
# Mutter's XWayland admits only clients with the cookie it leaves in the runtime folder.
XAUTHORITY=$(ls "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* 2>/dev/null | head -1)
export WAYLAND_DISPLAY DISPLAY XAUTHORITY XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland

cd "$dir"
"$@" &
cmd_pid=$!
pids+=($cmd_pid)
set +e
wait "$cmd_pid"
status=$?
set -e
exit "$status"
