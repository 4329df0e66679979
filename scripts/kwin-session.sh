#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command inside a throw-away headless KDE window manager: KWin on Wayland with its virtual
# backend and XWayland, on a private session bus, with no screen locker. Everything started here
# is stopped again on exit.
#
#   scripts/kwin-session.sh COMMAND [ARGS...]
#
# As root, KWin and COMMAND run as the unprivileged user tockwork-desktop (created here when
# missing) with runuser, in a runtime folder and home of their own, like scripts/sway-session.sh;
# COMMAND and the programs it runs must be readable by that user. Debian's kwin_wayland carries a
# file capability that such a user may not be granted ("Operation not permitted"), so a copy
# without it runs instead (cp drops capabilities). KWin's own Qt platform plugin only serves a
# program called kwin_wayland: the copy keeps the name.
#
# COMMAND sees WAYLAND_DISPLAY, DISPLAY (KWin's XWayland) and KWIN_SESSION_DIR, a folder of its
# own.
# Exits 77 (skipped) with the reason when a tool is missing or KWin cannot start.
set -euo pipefail
user=tockwork-desktop

skip() {
    echo "kwin-session: skipped: $*" >&2
    exit 77
}

source "$(dirname "$0")/desktop-session.sh"

if [[ ${1:-} != --inside ]]; then
    (($#)) || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }
    for tool in kwin_wayland Xwayland dbus-run-session dbus-send; do
        command -v $tool >/dev/null || skip "$tool is not installed"
    done
    new_session_dir kwin bin
    cp "$(command -v kwin_wayland)" "$session_dir/bin/kwin_wayland"
    use_desktop_user KWin "$0" "$1"
    # Nothing of the caller's desktop leaks in; sanitizer settings and the time zone pass through.
    passed_environment
    status=0
    "${as_user[@]}" env -i PATH="$session_dir/bin:/usr/local/bin:/usr/bin:/bin" \
        HOME="$session_dir/home" SHELL=/bin/sh XDG_RUNTIME_DIR="$session_dir/run" \
        KWIN_SESSION_DIR="$session_dir" NO_AT_BRIDGE=1 "${keep[@]}" \
        dbus-run-session -- "$0" --inside "$@" || status=$?
    exit "$status"
fi
shift

dir=$KWIN_SESSION_DIR
kwin_pid=
cleanup() {
    [[ -n ${cmd_pid:-} ]] && { kill "$cmd_pid" 2>/dev/null || true; wait "$cmd_pid" 2>/dev/null || true; }
    [[ -n $kwin_pid ]] && { kill "$kwin_pid" 2>/dev/null || true; wait "$kwin_pid" 2>/dev/null || true; }
}
trap cleanup EXIT INT TERM

# KWin starts the given program once Wayland and XWayland are up, with both displays set (a file:
# KWin would take the options of a command line for its own).
printf '#!/bin/sh\necho "$WAYLAND_DISPLAY $DISPLAY" >"%s.new" && mv "%s.new" "%s"\n' \
    "$dir/kwin.env" "$dir/kwin.env" "$dir/kwin.env" >"$dir/announce"
chmod +x "$dir/announce"
"$dir/bin/kwin_wayland" --virtual --xwayland --no-lockscreen --no-global-shortcuts \
    --socket wayland-0 --width 1280 --height 720 "$dir/announce" >"$dir/kwin.log" 2>&1 &
kwin_pid=$!
for _ in $(seq 300); do
    [[ -e $dir/kwin.env ]] && break
    kill -0 $kwin_pid 2>/dev/null || break
    sleep 0.1
done
if [[ ! -e $dir/kwin.env ]]; then
    tail -5 "$dir/kwin.log" >&2
    skip "KWin did not start: $(grep -m1 -iE 'error|fail|cannot' "$dir/kwin.log" || echo 'no session within 30 s')"
fi
read -r WAYLAND_DISPLAY DISPLAY <"$dir/kwin.env"
export WAYLAND_DISPLAY DISPLAY
[[ -n $DISPLAY ]] || skip "KWin started without XWayland"

cd "$dir"
"$@" &
cmd_pid=$!
set +e
wait "$cmd_pid"
status=$?
set -e
cmd_pid=
exit "$status"
