#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real tockwork on a headless desktop (scripts/xvfb-session.sh: Xvfb, openbox and a real
# tray host from Debian) and checks from the outside that the ant shows in the tray, pixel-exact,
# through the protocol the host prefers:
#   trayer  XEmbed: a tockwork window embedded in trayer's;
#   xfce    xfce4-panel's status tray: the item registered with its StatusNotifierWatcher and no
#           XEmbed icon beside it; the host's own menu (dbusmenu) quits TockWork.
# Modes: late (the host starts 3 s after tockwork) and restart (the host runs first, is killed as
# in a crash and started again). Each time the icon must appear within 2 s of the host being up.
#
#   tests/tray/tray-hosts-e2e.sh TOCKWORK SCREENSHOT_DIR trayer|xfce late|restart
#
# Exits 77 (skipped) when Xvfb, openbox, the host, xwininfo, xdotool or ImageMagick are missing.
set -euo pipefail
exe=$1 screens=$2 host=$3 mode=$4

if [[ -z ${XVFB_SESSION_DIR:-} ]]; then
    for tool in xwininfo xdotool import convert; do
        command -v $tool >/dev/null || exit 77
    done
    if [[ $host == xfce ]]; then command -v dbus-send >/dev/null || exit 77; fi
    delay=0
    [[ $mode == late ]] && delay=3
    exec "$(dirname "$0")/../../scripts/xvfb-session.sh" --tray "$host" --tray-delay $delay \
        "$0" "$@"
fi

home=$(mktemp -d)
fail() {
    echo "FAIL ($host $mode): $*" >&2
    xwininfo -root -tree >&2 || true
    cat "$home/err" >&2 || true
    exit 1
}
now_ms() { date +%s%3N; }

# A window of tockwork inside a window of the host (xwininfo's indentation is the depth).
embedded_in() {
    xwininfo -root -tree | awk -v host="$1" '
        !/^ *0x[0-9a-f]+ / { next }
        { match($0, /^ */); d = RLENGTH; cls = "" }
        match($0, /\("[^"]*" "[^"]*"\)/) { cls = tolower(substr($0, RSTART, RLENGTH)) }
        { while (n && trays[n] >= d) n--
          if (n && cls ~ /tockwork/) found = 1
          if (cls ~ host) trays[++n] = d }
        END { exit !found }'
}
# (Pipes end in grep without -q: with pipefail, an early exit of grep would fail the pipe.)
# The ant's body colour, exactly (a scaled or smoothed picture would blend it), in the panel strip
# at the top of the screen.
ant_visible() {
    import -window root png:- 2>/dev/null | convert png:- -crop 1280x32+0+0 +repage txt:- |
        grep -i '#B4502C' >/dev/null
}
watcher_items() {
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
        string:RegisteredStatusNotifierItems 2>/dev/null || true
}
host_up() {
    case $host in
    trayer) xwininfo -root -tree | grep -i '"trayer"' >/dev/null ;;
    xfce) dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher 2>/dev/null |
        grep true >/dev/null ;;
    esac
}
icon_shown() {
    case $host in
    trayer) embedded_in trayer && ant_visible ;;
    xfce) watcher_items | grep "StatusNotifierItem-$app-" >/dev/null && ant_visible ;;
    esac
}
# Waits for the host, then for the icon: a host that comes after tockwork must have it within 2 s
# (plus one check's own time); with the host there first, tockwork's own start-up is counted too.
expect_icon() {
    local up shown limit=${TRAY_ICON_LIMIT_MS:-2000}
    [[ $1 == first ]] && limit=8000
    for _ in $(seq 100); do host_up && break; sleep 0.1; done
    host_up || fail "the tray host did not start"
    up=$(now_ms)
    for _ in $(seq 100); do icon_shown && break; sleep 0.05; done
    icon_shown || fail "no icon in the $1 host"
    shown=$(now_ms)
    echo "icon in the $1 host $((shown - up)) ms after it was up"
    ((shown - up <= limit)) || fail "the icon took $((shown - up)) ms"
    if [[ $host == xfce ]] && embedded_in wrapper; then
        fail "an XEmbed icon beside the StatusNotifierItem"
    fi
}

unset QT_QPA_PLATFORM
HOME=$home XDG_CONFIG_HOME=$home/.config TZ=Asia/Seoul "$exe" --state 근무 2>"$home/err" &
app=$!
trap 'kill $app 2>/dev/null || true; rm -rf "$home"' EXIT
mkdir -p "$screens"

if [[ $mode == late ]]; then
    while [[ ! -e $XVFB_SESSION_DIR/tray.pid ]]; do sleep 0.1; done
    kill -0 $app || fail "tockwork did not wait for a tray"
    expect_icon late
    [[ $(grep -c "no system tray" "$home/err") == 1 ]] ||
        fail "the missing tray should be reported exactly once"
else
    expect_icon first
    kill -9 "$(cat "$XVFB_SESSION_DIR/tray.pid")"
    for _ in $(seq 50); do host_up || break; sleep 0.1; done
    host_up && fail "the killed host is still there"
    "$XVFB_SESSION_DIR/start-tray"
    expect_icon restarted
fi
kill -0 $app || fail "tockwork stopped"
import -window root "$screens/tray-$host-$mode.png"

# The menu: the host draws it from dbusmenu (xfce) or Qt pops it up (XEmbed) on a right click.
spot=$(import -window root png:- | convert png:- -crop 1280x32+0+0 +repage txt:- |
    awk -F'[,: ]+' '!found && tolower($0) ~ /#b4502c/ { print $1, $2; found = 1 }')
read -r x y <<<"$spot"
xdotool mousemove "$x" "$y" click 3
sleep 1
import -window root "$screens/tray-$host-$mode-menu.png"
if [[ $host == xfce ]]; then
    # "톡웍 종료" is the menu's last item: choosing it from the host's menu asks first, and the
    # question's default answer (Return) ends TockWork.
    xdotool key Up Return
    question=
    for _ in $(seq 50); do
        question=$(xdotool search --name '^톡웍$' 2>/dev/null | head -1) && [[ -n $question ]] && break
        sleep 0.1
    done
    [[ -n $question ]] || fail "choosing 톡웍 종료 in the panel's menu asked nothing"
    import -window root "$screens/tray-$host-$mode-quit.png"
    xdotool windowactivate --sync "$question" key Return
    for _ in $(seq 50); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
    kill -0 $app 2>/dev/null && fail "answering 종료 did not quit"
    wait $app || fail "tockwork exited with $?"
else
    xdotool key Escape
    kill $app && wait $app || true
fi
echo "tray-hosts-e2e $host $mode: ok"
