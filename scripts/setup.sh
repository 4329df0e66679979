#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what TockWork needs to build, run and test on Debian 12. Idempotent: apt is only
# touched when a package is missing. Runs as root or through sudo.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libicu-dev libgif-dev libx11-dev libxss-dev libxcb1-dev
    libxcb-screensaver0-dev libxcb-dpms0-dev libxcb-xinput-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    # the test script's check that the C++ sources are formatted
    clang-format
    # run: Qt's platform plugins, a Korean system font and colour emoji as fallbacks
    qt6-qpa-plugins fonts-nanum fonts-noto-color-emoji
    # the day ledger: Qt SQL's SQLite driver
    libqt6sql6-sqlite
    # HTTPS to the analytics API: Qt's OpenSSL backend ships with libqt6network6; it needs the CA list
    ca-certificates
    # the pixel font comes from the npm registry
    nodejs npm
    # headless desktop for the tests: X server, window manager, tray host, screenshots
    xvfb xauth xfonts-base openbox trayer x11-utils xdotool dbus-x11 imagemagick x11-xserver-utils
    # a compositor, under which the panel is translucent
    xcompmgr
    # tray hosts that speak StatusNotifierItem and dbusmenu, on a private session bus
    xfce4-panel dbus-daemon dbus-bin
    # the Debian package (scripts/package.sh: dpkg-shlibdeps) and its checks: lintian, the
    # metainfo's and the desktop entry's validators
    dpkg-dev file lintian appstream desktop-file-utils
    # a real browser for the extension's end-to-end test
    chromium
    # Wayland: the client library and its scanner for the compositor's window list, Qt's Wayland
    # plugin, and a headless wlroots desktop for the tests (sway with XWayland, waybar's tray, a
    # native terminal, an X11 one, screenshots; python3 reads sway's window tree)
    libwayland-dev qt6-wayland sway waybar foot xwayland xterm grim python3
    # a headless KDE window manager for the tests (KWin on Wayland with virtual outputs) and a native
    # GTK window to put in front of it (foot cannot start on KWin's virtual outputs)
    kwin-wayland gtk-3-examples
    # the compositors' idle notifications: the standard protocol and KDE's, which sway 1.7 speaks
    wayland-protocols plasma-wayland-protocols
    # a headless GNOME desktop for the tests: GNOME Shell 43, its AppIndicator extension (the tray),
    # and python3-dbusmock to play logind on a private system bus (the Shell needs it)
    gnome-shell gnome-shell-extension-appindicator python3-dbusmock
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# npm may come from another source than Debian (e.g. an image's own Node.js): accept a working one.
if command -v npm >/dev/null 2>&1; then
    filtered=()
    for p in "${missing[@]}"; do [[ $p == nodejs || $p == npm ]] || filtered+=("$p"); done
    missing=("${filtered[@]}")
fi

if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    sudo=""
    if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
