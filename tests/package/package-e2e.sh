#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package on this very machine, as a user gets it: scripts/package.sh builds it, lintian
# finds no error in it, `apt-get install ./build/tockwork_*.deb` installs it; the installed
# tockwork-cli reports the day, the installed tockwork shows its ant in a real tray (Xvfb, openbox,
# trayer) and registers its start at login as /usr/bin/tockwork; `apt-get remove` then leaves no
# file of the package behind and the user's settings, ledger and autostart entry as they were.
# Whatever happens, what was installed is removed again.
#
#   tests/package/package-e2e.sh SOURCE_DIR [PACKAGE.deb]
#
# With a package given, that one is tested instead of building one.
#
# Exits 77 (skipped) without root or apt-get, or when a tockwork package is already installed here
# (this test would replace it and then remove it).
set -euo pipefail
src=$(cd "$1" && pwd)
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }
[[ $(id -u) -eq 0 ]] || skip "installing a package needs root (CI runs as root)"
command -v apt-get >/dev/null || skip "no apt-get"
if dpkg-query -W -f='${Status}' tockwork 2>/dev/null | grep -q "installed"; then
    skip "a tockwork package is already installed on this machine"
fi

if [[ -n ${2:-} ]]; then
    deb=$(realpath "$2")
else
    "$src/scripts/package.sh" >/dev/null
    debs=("$src"/build/tockwork_*_amd64.deb)
    deb=${debs[0]}
fi
version=$(dpkg-deb -f "$deb" Version)
[[ $deb == */tockwork_${version}_amd64.deb ]] || fail "package file $deb is not named by $version"

if command -v lintian >/dev/null; then
        report=$(lintian --fail-on error "$deb" 2>&1) || fail "lintian found errors: $report"
    echo "lintian: $(grep -c '^W: ' <<<"$report" || true) warnings"
    grep '^W: ' <<<"$report" || true
fi

# A user of their own: settings from before the package; the installed program adds its ledger
# and the entry that starts it at login.
user=$(mktemp -d)
export HOME=$user XDG_CONFIG_HOME=$user/.config XDG_DATA_HOME=$user/.local/share
export XDG_CACHE_HOME=$user/.cache
mkdir -p "$XDG_CONFIG_HOME/tockwork"
printf '[General]\nanalyticsOptOut=true\nmonthlySalaryWon=3000000\n' >"$XDG_CONFIG_HOME/tockwork/tockwork.conf"

cleanup() {
    # Purged, so not even dpkg's record of it stays behind.
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq tockwork >/dev/null 2>&1 || true
    rm -rf "$user"
}
trap cleanup EXIT

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null ||
    fail "apt-get install $deb"
mapfile -t owned < <(dpkg -L tockwork)
for f in /usr/bin/tockwork /usr/bin/tockwork-cli /usr/libexec/tockwork/tockwork-browser-host \
    /usr/share/tockwork/art/ant_work.gif /usr/share/tockwork/fonts/Mona12.ttf \
    /usr/share/tockwork/browser-extension/manifest.json \
    /usr/share/applications/org.tockwork.TockWork.desktop \
    /usr/share/icons/hicolor/256x256/apps/org.tockwork.TockWork.png \
    /usr/share/metainfo/org.tockwork.TockWork.metainfo.xml \
    /usr/share/man/man1/tockwork.1.gz /usr/share/man/man1/tockwork-cli.1.gz \
    /etc/opt/chrome/native-messaging-hosts/app.tockwork.browser.json \
    /etc/chromium/native-messaging-hosts/app.tockwork.browser.json \
    /usr/lib/mozilla/native-messaging-hosts/app.tockwork.browser.json; do
    [[ -e $f ]] || fail "$f is not installed"
done
grep -q '"path": "/usr/libexec/tockwork/tockwork-browser-host"' \
    /etc/chromium/native-messaging-hosts/app.tockwork.browser.json || fail "host manifest path"
for browser in chrome edge brave vivaldi opera naver-whale; do
    [[ -e /etc/opt/$browser/native-messaging-hosts/app.tockwork.browser.json ]] ||
        fail "no host manifest for $browser's vendor build"
done
[[ -e /usr/share/gnome-shell/extensions/tockwork@tockwork.app/metadata.json ]] ||
    fail "the GNOME Shell extension is not where GNOME finds system extensions"

[[ $(/usr/bin/tockwork --version) == "tockwork $version" ]] || fail "tockwork --version"
[[ $(/usr/bin/tockwork-cli --version) == "tockwork $version" ]] || fail "tockwork-cli --version"
status=$(env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/tockwork-cli status) || fail "tockwork-cli status"
grep -q '원' <<<"$status" || fail "tockwork-cli status says: $status"

# The installed program in a real tray; the tray test takes its own throw-away home.
TRAY_ICON_LIMIT_MS=8000 "$src/tests/tray/tray-hosts-e2e.sh" /usr/bin/tockwork "$user/screens" trayer restart >/dev/null ||
    fail "the installed tockwork shows no ant in trayer"

# Start at login, from the installed program, in this user's home.
timeout 20 "$src/scripts/xvfb-session.sh" --tray trayer bash -c '
    /usr/bin/tockwork 2>/dev/null & app=$!
    for _ in $(seq 100); do [[ -f $XDG_CONFIG_HOME/autostart/tockwork.desktop ]] && break; sleep 0.1; done
    sleep 0.5; kill $app; wait $app' || true
autostart=$XDG_CONFIG_HOME/autostart/tockwork.desktop
grep -qx 'Exec="/usr/bin/tockwork"' "$autostart" || fail "autostart entry: $(cat "$autostart" 2>/dev/null)"
[[ -s $XDG_DATA_HOME/tockwork/days.sqlite ]] || fail "the installed program kept no ledger"
before=$(cd "$user" && find .config .local -type f -print0 | sort -z | xargs -0 sha256sum)

DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tockwork >/dev/null || fail "apt-get remove"
for f in "${owned[@]}"; do
    [[ -d $f && ! -L $f ]] && continue
    [[ ! -e $f && ! -L $f ]] || fail "$f is left after removal"
done
[[ ! -e /usr/share/gnome-shell/extensions/tockwork@tockwork.app ]] || fail "the extension's link is left"
! ls /etc/opt/*/native-messaging-hosts/app.tockwork.browser.json 2>/dev/null || fail "host links left in /etc/opt"
after=$(cd "$user" && find .config .local -type f -print0 | sort -z | xargs -0 sha256sum)
[[ $before == "$after" ]] || fail "the user's files changed with the removal: $before / $after"
echo "package: ok ($deb)"
