# SPDX-License-Identifier: GPL-3.0-or-later
# What the throw-away desktop scripts (sway-session.sh, kwin-session.sh, gnome-session.sh) share:
# before their desktop starts, a session folder, the unprivileged user the desktop runs as when we
# are root and the environment that passes into it; inside it, stopping what they started. Sourced
# by them; they define `skip` (report a skip and exit 77) and `user`.

# A fresh session folder /tmp/tockwork-KIND.XXXXXX in $session_dir, with a private run/ (the
# desktop's runtime folder), home/ and the given subfolders; removed when the script exits.
new_session_dir() { # KIND [SUBFOLDER...]
    session_dir=$(mktemp -d "/tmp/tockwork-$1.XXXXXX")
    trap 'rm -rf "$session_dir"' EXIT
    chmod 755 "$session_dir"
    local sub
    mkdir -p "$session_dir/run" "$session_dir/home"
    for sub in "${@:2}"; do mkdir -p "$session_dir/$sub"; done
    chmod 700 "$session_dir/run"
}

# Sets as_user, the prefix that runs a command as the desktop's user: as root, $user (created
# when missing) through runuser, after handing the session folder over and checking that the
# script, COMMAND and the sanitizers' suppressions are readable by it; otherwise nothing.
use_desktop_user() { # WHAT-IT-RUNS SCRIPT COMMAND
    as_user=()
    [[ $(id -u) -eq 0 ]] || return 0
    command -v runuser >/dev/null || skip "runuser is not installed"
    if ! id "$user" >/dev/null 2>&1; then
        useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin \
            "$user" 2>/dev/null || skip "cannot create the user $user to run $1"
    fi
    chown -R "$user:" "$session_dir"
    as_user=(runuser -u "$user" --)
    local needed=("$2" "${BASH_SOURCE[0]}" "$(command -v "$3" || echo "$3")") file
    if [[ ${LSAN_OPTIONS:-} =~ suppressions=([^:]*) ]]; then needed+=("${BASH_REMATCH[1]}"); fi
    for file in "${needed[@]}"; do
        "${as_user[@]}" test -r "$file" ||
            skip "$file is not readable by the user $user (a private folder on its path)"
    done
}

# Sets keep, the VAR=value words that pass into the desktop's clean environment: the sanitizers'
# settings, the time zone, the language and the given variables, where set.
passed_environment() { # [VAR...]
    keep=()
    local var
    for var in ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS TZ LANG "$@"; do
        if [[ -n ${!var:-} ]]; then keep+=("$var=${!var}"); fi
    done
}

# Copies what the desktop's COMMAND left in the session's screens/ folder to DIR (none: nothing).
copy_screens() { # DIR
    [[ -n $1 ]] || return 0
    mkdir -p "$1"
    cp -r "$session_dir/screens/." "$1/" 2>/dev/null || true
}

# Inside the desktop: the processes started in $pids are stopped, newest first, when the script
# ends however it ends.
stop_started_on_exit() {
    pids=()
    trap stop_started EXIT INT TERM
}
stop_started() {
    local i pid
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        pid=${pids[i]}
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}
