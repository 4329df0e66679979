#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real tockwork on a headless GNOME Shell 43 (scripts/gnome-session.sh: gnome-shell, XWayland,
# the AppIndicator extension), checked from the outside:
#   - `tockwork --install-desktop-support` installs our Shell extension for the user, and the
#     Shell, started afterwards with it enabled, runs it: it reports the focused window;
#   - the AppIndicator extension hosts the icon, and its menu starts with the day;
#   - a listed native Wayland window in front (foot), as the extension names it, makes the day's
#     slacking seconds in the store grow; the same for a listed XWayland window (xterm).
# Real time: the poll runs every 10 s, so each step waits up to 30 s.
#
#   tests/tracker/gnome-e2e.sh TOCKWORK SCREENSHOT_DIR
#
# Exits 77 (skipped) when GNOME Shell, foot, xterm or python3-dbusmock are missing or the desktop
# cannot start.
set -euo pipefail
exe=$1 screens=$2
uuid=tockwork@tockwork.app

if [[ -z ${GNOME_SESSION_DIR:-} ]]; then
    for tool in foot xterm; do
        command -v $tool >/dev/null || { echo "gnome-e2e: skipped: $tool is not installed" >&2; exit 77; }
    done
    ls /usr/share/gnome-shell/extensions/*appindicator*/metadata.json >/dev/null 2>&1 ||
        { echo "gnome-e2e: skipped: the AppIndicator extension is not installed" >&2; exit 77; }
    here=$(cd "$(dirname "$0")" && pwd)
    exec "$here/../../scripts/gnome-session.sh" --screens "$screens" \
        --prepare "'$exe' --install-desktop-support >\"\$GNOME_SESSION_DIR/install.txt\"" \
        "$here/$(basename "$0")" "$@"
fi

home=$HOME
mkdir -p "$home/.config/tockwork"
store=$home/.config/tockwork/tockwork.conf
shots=$GNOME_SESSION_DIR/screens
pids=()
trap 'for p in "${pids[@]}"; do kill $p 2>/dev/null || true; done' EXIT
# The Shell hands its screenshots only to the screenshot tools it knows, by their bus names.
shot() { # NAME
    /usr/bin/python3 - "$shots/$1.png" <<'EOF' || echo "gnome-e2e: no screenshot $1" >&2
import sys, dbus
bus = dbus.SessionBus()
bus.request_name("org.gnome.Screenshot")
shell = bus.get_object("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot")
shell.Screenshot(False, False, sys.argv[1], dbus_interface="org.gnome.Shell.Screenshot")
EOF
}
fail() {
    shot gnome-fail
    echo "FAIL (gnome): $*" >&2
    cat "$home/err" >&2 || true
    tail -20 "$GNOME_SESSION_DIR/gnome-shell.log" >&2 || true
    exit 1
}

grep -q "gnome-extensions enable $uuid" "$GNOME_SESSION_DIR/install.txt" ||
    fail "--install-desktop-support said nothing of enabling the extension: $(cat "$GNOME_SESSION_DIR/install.txt")"
[[ -e $home/.local/share/gnome-shell/extensions/$uuid/extension.js ]] ||
    fail "--install-desktop-support put no extension in the user's folder"

focused() {
    gdbus call --session -d app.tockwork.FocusedWindow -o /app/tockwork/FocusedWindow \
        -m app.tockwork.FocusedWindow.Get 2>/dev/null || true
}
# The Shell loads its extensions after it has taken its name.
for _ in $(seq 200); do [[ -n $(focused) ]] && break; sleep 0.1; done
[[ -n $(focused) ]] || fail "the extension is not on the bus: $(gnome-extensions info $uuid 2>&1 | tr '\n' ' ')"
echo "gnome-e2e: the extension runs and reports $(focused)"

source "$(dirname "$0")/slacking-day.sh"
write_working_day gnome-e2e "foot,xterm"

export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0
"$exe" 2>"$home/err" &
app=$!
pids+=($app)

# The AppIndicator extension serves the watcher and lists the item once it registered.
items() {
    gdbus call --session -d org.kde.StatusNotifierWatcher -o /StatusNotifierWatcher \
        -m org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher \
        RegisteredStatusNotifierItems 2>/dev/null || true
}
for _ in $(seq 200); do items | grep -q "StatusNotifierItem-$app-" && break; sleep 0.1; done
item=$(items | grep -o "org.kde.StatusNotifierItem-$app-[0-9]*[^']*" | head -1)
[[ -n $item ]] || fail "the AppIndicator extension does not host the icon: $(items)"
echo "gnome-e2e: the icon is hosted by the AppIndicator extension"

# The menu a click on the indicator opens, as the extension reads it: the day comes first.
# The watcher lists an item by its bus name, with its object path where that is not the usual one.
service=${item%%/*} path=/StatusNotifierItem
[[ $item == */* ]] && path=/${item#*/}
menu=$(gdbus call --session -d "$service" -o "$path" -m org.freedesktop.DBus.Properties.Get \
    org.kde.StatusNotifierItem Menu | sed -n "s/.*objectpath '\([^']*\)'.*/\1/p")
[[ -n $menu ]] || fail "the item names no menu"
gdbus call --session -d "$service" -o "$menu" -m com.canonical.dbusmenu.AboutToShow 0 >/dev/null
labels=$(gdbus call --session -d "$service" -o "$menu" -m com.canonical.dbusmenu.GetLayout -- 0 -1 '[]' |
    grep -o "'label': <'[^']*'>" | sed "s/'label': <'\(.*\)'>/\1/")
echo "gnome-e2e: the menu begins with:"
head -3 <<<"$labels" | sed 's/^/    /'
first=$(sed -n 1p <<<"$labels") second=$(sed -n 2p <<<"$labels") third=$(sed -n 3p <<<"$labels")
[[ $first == *원* && $first == *" · "* ]] || fail "the first item carries no day's pay: $first"
[[ $second == *월루* ]] || fail "the second item carries no slacking: $second"
[[ $third == "오늘 자세히 보기" ]] || fail "the third item is not the panel's: $third"


# The Shell starts with its overview open, where a new window gets no focus: close it.
gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell -m org.freedesktop.DBus.Properties.Set \
    org.gnome.Shell OverviewActive '<false>' >/dev/null || fail "the overview cannot be closed"
for _ in $(seq 50); do
    gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell -m org.freedesktop.DBus.Properties.Get \
        org.gnome.Shell OverviewActive | grep -q false && break
    sleep 0.1
done

# The listed terminal $1 in front (the extension names it $2) makes the seconds grow.
slack_in_front() { # COMMAND WM_CLASS KIND
    local pid start
    "$1" >"$home/$1.log" 2>&1 &
    pid=$!
    pids+=($pid)
    for _ in $(seq 200); do [[ $(focused) == "('$2'"* ]] && break; sleep 0.1; done
    [[ $(focused) == "('$2'"* ]] || fail "$1 did not come to the front: $(focused) $(cat "$home/$1.log")"
    start=$(seconds)
    expect_growth "$start" 9 "$1 ($3) in front"
    shot "gnome-$1"
    echo "gnome-e2e: $1 ($3) in front, reported as $(focused | cut -c1-60): slacking seconds $start -> $(seconds)"
    kill $pid
    wait $pid 2>/dev/null || true
}
slack_in_front foot foot "native Wayland"
slack_in_front xterm XTerm XWayland

kill -0 $app 2>/dev/null || fail "tockwork stopped"
kill $app
wait $app || fail "tockwork exited with $?"
echo "gnome-e2e: ok"
