#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Every test name CTest knows appears once, and no case of a suite that runs inside a desktop
# session (scripts/xvfb-session.sh) is registered on its own as well.
build=$1
names=$(ctest --test-dir "$build" -N | sed -n 's/^ *Test *#[0-9]*: //p')
if [ -z "$names" ]; then
    echo "no tests listed in $build" >&2
    exit 1
fi
twice=$(printf '%s\n' "$names" | sort | uniq -d)
if [ -n "$twice" ]; then
    echo "registered more than once: $twice" >&2
    exit 1
fi
alone=$(printf '%s\n' "$names" | grep '^OnXServer\.')
if [ -n "$alone" ]; then
    echo "run through the X session and registered without it too: $alone" >&2
    exit 1
fi
