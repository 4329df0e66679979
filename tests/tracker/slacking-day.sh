# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the desktop end-to-end scripts that watch the day's slacking grow (sway-e2e.sh,
# kwin-e2e.sh, gnome-e2e.sh): a working day around the present minute in the store, and a wait for
# its slacking seconds to grow. The script defines $store (the settings file) and fail.

# Writes the store: a working day from 30 minutes ago to an hour from now, every day of the week
# (in TZ, Seoul unless set), LISTED as the distraction list, 50 s already slacked today, no usage
# figures sent. Within a few minutes of midnight no such day fits: skipped (77), said as NAME.
write_working_day() { # NAME LISTED
    export TZ=${TZ:-Asia/Seoul}
    local now_minute=$((10#$(date +%H) * 60 + 10#$(date +%M)))
    if ((now_minute < 3 || now_minute > 24 * 60 - 5)); then
        echo "$1: skipped: too close to midnight for a working day around now" >&2
        exit 77
    fi
    local start=$((now_minute - 30)) end=$((now_minute + 60))
    ((start < 0)) && start=0
    ((end > 1439)) && end=1439
    # (Quoted: QSettings reads an unquoted value with a comma as a list.)
    mkdir -p "$(dirname "$store")"
    cat >"$store" <<STORE
[General]
analyticsOptOut=true
workStart=$start
workEnd=$end
lunchStart=$end
lunchEnd=$end
monthlySalaryWon=3000000
excludeWeekend=false
wolluApps="$2"
wolluDay=$(date +%Y-%-m-%-d)
wolluSec=50
STORE
}

# The day's slacking seconds as the store has them now.
seconds() { sed -n 's/^wolluSec=//p' "$store" | head -1; }

# Waits up to 30 s for the day's slacking seconds to reach FROM + BY; fails saying WHY otherwise.
# A poll adds about ten seconds, 9.5 or more: Qt's coarse timer may fire it up to 5 % early.
expect_growth() { # FROM BY WHY
    local want
    want=$(awk -v s="$1" -v d="$2" 'BEGIN { print s + d }')
    for _ in $(seq 300); do
        awk -v s="$(seconds)" -v w="$want" 'BEGIN { exit !(s + 0 >= w) }' && return 0
        sleep 0.1
    done
    fail "$3: the day's slacking seconds stayed at $(seconds), expected $want or more"
}

# With nothing listed in front: once the open run has closed (one poll), the day's seconds stand
# still for two polls more. PREFIX names the script in what it says.
expect_standstill() { # PREFIX
    sleep 11
    local still
    still=$(seconds)
    sleep 21
    [[ $(seconds) == "$still" ]] ||
        fail "with no window in front the seconds went on: $still -> $(seconds)"
    echo "$1: nothing in front: slacking seconds stay at $still"
}
