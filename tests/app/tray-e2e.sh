#!/usr/bin/env bash
# Starts the real tockwork on a headless desktop (scripts/xvfb-session.sh: Xvfb, openbox and the
# trayer XEmbed tray host) and checks from the outside, in the X window tree, that its icon is
# embedded in the tray and that the application keeps running.
#
#   tests/app/tray-e2e.sh TOCKWORK SCREENSHOT_DIR [late]
#
# With "late" the tray host starts only 3 s after tockwork, which must wait for it and then embed.
# Exits 77 (skipped) when Xvfb, openbox, trayer or xwininfo are missing.
set -euo pipefail
exe=$1 screens=$2 mode=${3:-now}

if [[ -z ${XVFB_SESSION_DIR:-} ]]; then
    command -v xwininfo >/dev/null || exit 77
    delay=0
    [[ $mode == late ]] && delay=3
    exec "$(dirname "$0")/../../scripts/xvfb-session.sh" --tray-delay $delay "$0" "$@"
fi

fail() {
    echo "FAIL: $*" >&2
    xwininfo -root -tree >&2
    cat "$home/err" >&2
    exit 1
}

# True when a window of tockwork sits inside one of trayer's windows (indentation is depth).
embedded() {
    xwininfo -root -tree | awk '
        !/^ *0x[0-9a-f]+ / { next }
        { match($0, /^ */); d = RLENGTH; cls = "" }
        match($0, /\("[^"]*" "[^"]*"\)/) { cls = tolower(substr($0, RSTART, RLENGTH)) }
        { while (n && trays[n] >= d) n--
          if (n && cls ~ /tockwork/) found = 1
          if (cls ~ /trayer/) trays[++n] = d }
        END { exit !found }'
}
wait_embedded() {
    for _ in $(seq 100); do
        embedded && return 0
        sleep 0.1
    done
    return 1
}

home=$(mktemp -d)
unset QT_QPA_PLATFORM
HOME=$home XDG_CONFIG_HOME=$home/.config TZ=Asia/Seoul "$exe" --state 근무 2>"$home/err" &
app=$!
trap 'kill $app 2>/dev/null || true; rm -rf "$home"' EXIT

if [[ $mode == late ]]; then
    while [[ ! -e $XVFB_SESSION_DIR/tray.pid ]]; do sleep 0.1; done
    kill -0 $app || fail "tockwork did not wait for a tray"
    wait_embedded || fail "icon did not reach the tray that started later"
else
    wait_embedded || fail "icon not embedded"
    sleep 3
    embedded || fail "icon left the tray"
fi
kill -0 $app || fail "tockwork stopped"
mkdir -p "$screens"
! command -v import >/dev/null || import -window root "$screens/tray-$mode.png"
kill $app && wait $app || true
if [[ $mode == late && $(grep -c "no system tray" "$home/err") != 1 ]]; then
    fail "the missing tray should be reported exactly once"
fi
echo "tray-e2e $mode: ok"
