#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real tockwork on a headless KWin (scripts/kwin-session.sh: KWin on Wayland with XWayland),
# checked from the outside:
#   - tockwork loads its script into KWin: KWin's /Scripting has it loaded;
#   - a listed native Wayland window in front (GTK's widget factory, listed by its desktop entry's
#     name) makes the day's slacking seconds in the store grow, poll by poll;
#   - the same for a listed XWayland window (xterm);
#   - with no window in front they stand still;
#   - after quitting, the script is gone from KWin.
# foot, the native terminal of the sway test, dies of a division by zero on KWin's virtual outputs
# (they have no physical size), hence GTK's demo. Real time: the poll runs every 10 s.
#
#   tests/tracker/kwin-e2e.sh TOCKWORK
#
# Exits 77 (skipped) when KWin, gtk3-widget-factory or xterm are missing or KWin cannot start.
set -euo pipefail
exe=$1

if [[ -z ${KWIN_SESSION_DIR:-} ]]; then
    for tool in gtk3-widget-factory xterm dbus-send; do
        command -v $tool >/dev/null || { echo "kwin-e2e: skipped: $tool is not installed" >&2; exit 77; }
    done
    exec "$(dirname "$0")/../../scripts/kwin-session.sh" "$0" "$@"
fi

home=$KWIN_SESSION_DIR/app-home
mkdir -p "$home/config/tockwork"
store=$home/config/tockwork/tockwork.conf
pids=()
trap 'for p in "${pids[@]}"; do kill $p 2>/dev/null || true; done' EXIT
fail() {
    echo "FAIL (kwin): $*" >&2
    cat "$home/err" >&2 || true
    tail -20 "$KWIN_SESSION_DIR/kwin.log" >&2 || true
    exit 1
}

source "$(dirname "$0")/slacking-day.sh"
write_working_day kwin-e2e "Widget Factory,xterm"

script_loaded() {
    dbus-send --session --print-reply --dest=org.kde.KWin /Scripting \
        org.kde.kwin.Scripting.isScriptLoaded string:tockwork-front-window 2>/dev/null |
        grep -q 'boolean true'
}

script_loaded && fail "our script is loaded before tockwork started"
source "$(dirname "$0")/../support/start-tockwork.sh"
start_tockwork
for _ in $(seq 100); do script_loaded && break; sleep 0.1; done
script_loaded || fail "KWin has no script of ours loaded 10 s after the start"
echo "kwin-e2e: the script is loaded into KWin"

# The listed program NAME in front makes the seconds grow.
slack_in_front() { # NAME KIND COMMAND...
    local name=$1 kind=$2 pid start
    shift 2
    "$@" >/dev/null 2>&1 &
    pid=$!
    pids+=($pid)
    sleep 1
    start=$(seconds)
    expect_growth "$start" 9 "$name ($kind) in front"
    echo "kwin-e2e: $name in front: slacking seconds $start -> $(seconds)"
    kill $pid
    wait $pid 2>/dev/null || true
}
slack_in_front gtk3-widget-factory "native Wayland" env GDK_BACKEND=wayland gtk3-widget-factory
slack_in_front xterm XWayland xterm

# Nothing in front: the seconds stand still.
expect_standstill kwin-e2e

kill -0 $app 2>/dev/null || fail "tockwork stopped"
kill $app
wait $app || fail "tockwork exited with $?"
script_loaded && fail "our script is still loaded after tockwork quit"
echo "kwin-e2e: the script is gone after quitting"
echo "kwin-e2e: ok"
