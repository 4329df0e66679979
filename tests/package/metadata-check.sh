#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installed desktop entry and AppStream metainfo as the validators of desktop-file-utils and
# appstream read them: the entry without a single remark, the metainfo without errors or warnings
# (offline), its release the project's version; the man pages format without warnings.
#
#   tests/package/metadata-check.sh BUILD_DIR VERSION
#
# Exits 77 (skipped) when desktop-file-validate, appstreamcli or man is missing.
set -euo pipefail
build=$1 version=$2
for tool in desktop-file-validate appstreamcli man; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$prefix cmake --install "$build" --prefix /usr >/dev/null
entry=$prefix/usr/share/applications/org.tockwork.TockWork.desktop
metainfo=$prefix/usr/share/metainfo/org.tockwork.TockWork.metainfo.xml
[[ -f $entry ]] || fail "no desktop entry"
[[ -f $metainfo ]] || fail "no metainfo"

said=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $said"
[[ -z $said ]] || fail "desktop-file-validate remarks: $said"
grep -qx 'Exec="/usr/bin/tockwork"' "$entry" || fail "entry runs $(grep ^Exec= "$entry")"

said=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli: $said"
! grep -E '^[EW]: ' <<<"$said" || fail "appstreamcli warns: $said"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo release is not $version"
for lang in '' ' xml:lang="ko"'; do
    grep -q "<summary$lang>" "$metainfo" || fail "no summary${lang:+ in ko}"
done

for page in tockwork tockwork-cli; do
    file=$prefix/usr/share/man/man1/$page.1.gz
    [[ -f $file ]] || fail "no man page $page(1)"
    said=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null) || fail "man $page: $said"
    [[ -z $said ]] || fail "man $page warns: $said"
done
echo "metadata: ok"
