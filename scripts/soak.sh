#!/usr/bin/env bash
# Runs the whole test suite again and again on a busy machine: stress-ng keeps two
# processors busy (for a bounded time) while ctest runs the suite with -j2. Stops
# at the first run that fails and shows it; prints each run's time and the load
# average while it ran, then the total.
#   scripts/soak.sh [runs]   (10 by default)
set -euo pipefail
source "$(dirname "$0")/setup.sh"

runs="${1:-10}"
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "usage: scripts/soak.sh [runs]" >&2; exit 2; }

install_missing_packages build run test soak
configure_and_build -DTALLIVOX_TESTS=ON

# The load ends on its own, at 15 minutes a run, should this script be killed.
stress-ng --cpu 2 --timeout "$((runs * 900))s" --quiet &
stress=$!
loads="$(mktemp)"
(while sleep 5; do cut -d' ' -f1 /proc/loadavg; done) >"$loads" &
sampler=$!
trap 'kill "$stress" "$sampler" 2>/dev/null || true; rm -f "$loads"' EXIT

# The 1-minute load averages sampled from line $1 of the samples on.
load_seen() {
    tail -n +"$1" "$loads" | awk 'NR == 1 || $1 < lo { lo = $1 } $1 > hi { hi = $1 } { sum += $1 }
        END { if (NR) printf "load average %.1f to %.1f, mean %.1f", lo, hi, sum / NR }'
}

log="$BUILD_DIR/soak.log"
total=0
for run in $(seq "$runs"); do
    from=$(($(wc -l <"$loads") + 1))
    start=$SECONDS
    status=0
    (cd "$BUILD_DIR" && ctest -j2 --output-on-failure) >"$log" 2>&1 || status=$?
    took=$((SECONDS - start))
    total=$((total + took))
    if [ "$status" != 0 ]; then
        cat "$log"
        echo "run $run of $runs FAILED after $took s ($(load_seen "$from")); $((run - 1)) passed before it, in $((total - took)) s"
        exit 1
    fi
    echo "run $run of $runs passed in $took s ($(load_seen "$from"))"
done
echo "$runs runs in a row passed in $total s ($(load_seen 1))"
