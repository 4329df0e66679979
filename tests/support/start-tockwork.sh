# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by end-to-end scripts on a Wayland desktop after they set $exe (the application),
# $home (its home, with config, data and cache below it) and $pids (killed on exit).

# Starts the application as the desktop would: Qt chooses its platform plugin itself, and its
# errors go to $home/err. Sets $app and adds it to $pids.
start_tockwork() {
    unset QT_QPA_PLATFORM
    # Where Qt draws through its Wayland plugin, which never frees the compositor's globals, its
    # frames are below libwayland's, which has no frame pointers: only the slow unwinder reaches
    # them, so the suppressions name Qt's plugin rather than libwayland, which TockWork uses.
    export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0
    HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache \
        "$exe" 2>"$home/err" &
    app=$!
    pids+=($app)
}
