# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced first by end-to-end scripts that drive the real application on scripts/xvfb-session.sh's
# desktop. Outside that desktop it runs the script again inside one, with $session_options, after
# exiting 77 (skipped) when one of the tools in $needs is missing. Inside, it gives the script a
# temporary $home, removed on exit together with the application ($app) and the helpers listed in
# $also_kill, and fail, which reports, prints the application's errors ($home/err) and, with
# $failure_shot set, takes a picture of the screen there (show_failure, when defined, adds more).
if [[ -z ${XVFB_SESSION_DIR:-} ]]; then
    for tool in $needs; do
        command -v $tool >/dev/null || exit 77
    done
    exec "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb-session.sh" ${session_options:-} "$0" "$@"
fi

home=$(mktemp -d)
app=
also_kill=()
failure_shot=
cleanup() {
    [[ -n $app ]] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
    local pid
    for pid in "${also_kill[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$home"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    if declare -F show_failure >/dev/null; then show_failure; fi
    cat "$home/err" >&2 || true
    [[ -z $failure_shot ]] || import -window root "$failure_shot" || true
    exit 1
}

# A zone in which it is late morning now (Etc/GMT+N is N hours behind UTC): no end-of-day prompt
# comes between the user and the application, and it is a working hour of the default schedule.
late_morning() {
    local offset=$((11 - 10#$(date -u +%H)))
    if ((offset >= 0)); then export TZ=Etc/GMT-$offset; else export TZ=Etc/GMT+$((-offset)); fi
}

# The visible top-level window called exactly $1, if any; wait_window waits up to 15 s for it.
visible_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true; }
wait_window() {
    local w
    for _ in $(seq 150); do
        w=$(visible_window "$1")
        [[ -n $w ]] && { echo "$w"; return; }
        sleep 0.1
    done
}

# A new user's store ($conf): nothing in it but the analytics opt-out, so nothing of a test run
# is sent anywhere.
new_user_store() {
    conf=$XDG_CONFIG_HOME/tockwork/tockwork.conf
    mkdir -p "$XDG_CONFIG_HOME/tockwork"
    printf '[General]\nanalyticsOptOut=true\n' >"$conf"
}

# A new user's first launch of $exe: the settings open by themselves ($settings) beside the panel
# ($panel). Returns once the settings have the keyboard, or after 5 s.
first_launch() {
    "$exe" 2>"$home/err" &
    app=$!
    settings=$(wait_window '톡웍 설정')
    [[ -n $settings ]] || fail "no settings window at the first launch"
    panel=$(wait_window '톡웍')
    [[ -n $panel ]] || fail "no panel beside the settings"
    for _ in $(seq 50); do [[ $(xdotool getactivewindow) == "$settings" ]] && break; sleep 0.1; done
}
