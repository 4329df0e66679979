# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by end-to-end scripts that run the real application on scripts/xvfb-session.sh's
# desktop: waits for the window manager (it decides who gets the keyboard) and gives the
# application the home in $home, with a runtime folder of its own, since one TockWork per user is
# enforced there and other runs on this machine are other "users" to the test.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
unset QT_QPA_PLATFORM
export XDG_RUNTIME_DIR=$home/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache
export XDG_DATA_HOME=$home/.local/share LC_ALL=C.UTF-8
