#!/usr/bin/env bash
# Moving the settings window is no click elsewhere: on a new user's first launch (the settings
# beside the open panel) a salary is typed, the window is dragged by its background with xdotool
# as a person would, and both windows stay open with the typed salary, which Return then saves.
# Under openbox alone and with a compositor (xcompmgr).
#
#   tests/settings/drag-e2e.sh TOCKWORK SCREENSHOT_DIR [compositor]
#
# Exits 77 (skipped) when Xvfb, openbox, trayer, xdotool, xprop, ImageMagick or the compositor
# are missing.
set -euo pipefail
exe=$1 screens=$2 compositor=${3:-}

if [[ -z ${XVFB_SESSION_DIR:-} ]]; then
    for tool in xdotool xprop import ${compositor:+xcompmgr}; do
        command -v $tool >/dev/null || exit 77
    done
    exec "$(dirname "$0")/../../scripts/xvfb-session.sh" "$0" "$@"
fi

home=$(mktemp -d)
app=
composer=
shots=$screens/drag${compositor:+-compositor}
cleanup() {
    [[ -n $app ]] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
    [[ -n $composer ]] && kill "$composer" 2>/dev/null
    rm -rf "$home"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    cat "$home/err" >&2 || true
    import -window root "$shots-failed.png" || true
    exit 1
}
mkdir -p "$screens"
if [[ -n $compositor ]]; then
    xcompmgr -n 2>/dev/null &
    composer=$!
fi

. "$(dirname "$0")/../support/desktop-home.sh"
# Late morning now, so no end-of-day prompt comes between the user and the settings.
offset=$((11 - 10#$(date -u +%H)))
if ((offset >= 0)); then export TZ=Etc/GMT-$offset; else export TZ=Etc/GMT+$((-offset)); fi
mkdir -p "$XDG_CONFIG_HOME/tockwork"
printf '[General]\nanalyticsOptOut=true\n' >"$XDG_CONFIG_HOME/tockwork/tockwork.conf"
conf=$XDG_CONFIG_HOME/tockwork/tockwork.conf

visible_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true; }
wait_window() {
    local w
    for _ in $(seq 150); do
        w=$(visible_window "$1")
        [[ -n $w ]] && { echo "$w"; return; }
        sleep 0.1
    done
}

"$exe" 2>"$home/err" &
app=$!
settings=$(wait_window '톡웍 설정')
[[ -n $settings ]] || fail "no settings window at the first launch"
panel=$(wait_window '톡웍')
[[ -n $panel ]] || fail "no panel beside the settings"
for _ in $(seq 50); do [[ $(xdotool getactivewindow) == "$settings" ]] && break; sleep 0.1; done
xdotool type --delay 60 350
sleep 0.3

# Three drags by the window's background (its bottom strip, below every field): slow ones that
# hold the window for a while, as a person does, so the window manager keeps the keyboard longer
# than Qt waits before it calls the application inactive.
for drag in 1 2 3; do
    eval "$(xdotool getwindowgeometry --shell "$settings")"
    before_x=$X
    xdotool mousemove $((X + 12)) $((Y + HEIGHT - 6))
    sleep 0.2
    xdotool mousedown 1
    for step in $(seq 8); do
        xdotool mousemove_relative -- -6 3
        sleep 0.15
    done
    sleep 1
    xdotool mouseup 1
    sleep 0.8
    [[ -n $(visible_window '톡웍 설정') ]] || fail "drag $drag closed the settings window"
    [[ -n $(visible_window '톡웍') ]] || fail "drag $drag closed the panel"
    eval "$(xdotool getwindowgeometry --shell "$settings")"
    ((X < before_x)) || fail "drag $drag did not move the settings window ($before_x -> $X)"
done
import -window root "$shots.png"

# The typed salary is still there: Return saves it.
xdotool key Return
for _ in $(seq 50); do [[ -z $(visible_window '톡웍 설정') ]] && break; sleep 0.1; done
[[ -z $(visible_window '톡웍 설정') ]] || fail "Return did not save and close the settings"
grep -q '^monthlySalaryWon=3500000$' "$conf" || fail "the typed salary was lost: $(cat "$conf")"
echo "drag-e2e${compositor:+ (compositor)}: ok"
