# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced first by end-to-end scripts that drive the real application on scripts/sway-session.sh's
# desktop, after they set $name (how they sign what they say), $screens (where the session's
# pictures go) and $needs (the tools they use). Outside that desktop it runs the script again
# inside one, after exiting 77 (skipped) when a tool is missing. Inside, it gives the script the
# application's $home, $shots (the session's pictures), $pids (killed on exit) and fail, which
# reports, prints sway's window tree and the application's errors and takes a picture.
if [[ -z ${SWAY_SESSION_DIR:-} ]]; then
    for tool in $needs; do
        command -v $tool >/dev/null || { echo "$name: skipped: $tool is not installed" >&2; exit 77; }
    done
    exec "$(dirname "${BASH_SOURCE[0]}")/../../scripts/sway-session.sh" --screens "$screens" "$0" "$@"
fi

home=$SWAY_SESSION_DIR/app-home
mkdir -p "$home/config/tockwork"
shots=$SWAY_SESSION_DIR/screens
pids=()
trap 'for p in "${pids[@]}"; do kill $p 2>/dev/null || true; done' EXIT
fail() {
    echo "FAIL ($name): $*" >&2
    swaymsg -t get_tree >&2 || true
    cat "$home/err" >&2 || true
    grim "$shots/$name-fail.png" 2>/dev/null || true
    exit 1
}
