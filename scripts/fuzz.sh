#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each one on a
# copy of its seed corpus (fuzz/corpus/<target>), so the corpus in the tree stays small.
#   scripts/fuzz.sh [seconds per target]        default 60
#   TALLIVOX_FUZZ_RUNS=1000000 scripts/fuzz.sh  a fixed number of inputs instead
#   TALLIVOX_FUZZ_TARGETS="keys rtf" ...         only these targets
set -euo pipefail
source "$(dirname "$0")/setup.sh"

seconds="${1:-60}"
FUZZ_DIR="$TALLIVOX_ROOT/build-fuzz"

install_missing_packages build fuzz
CC=clang CXX=clang++ cmake -S "$TALLIVOX_ROOT" -B "$FUZZ_DIR" -G Ninja -DTALLIVOX_FUZZ=ON >/dev/null

targets=()
for corpus in "$TALLIVOX_ROOT"/fuzz/corpus/*/; do
    name="$(basename "$corpus")"
    if [ -n "${TALLIVOX_FUZZ_TARGETS:-}" ] && [[ " $TALLIVOX_FUZZ_TARGETS " != *" $name "* ]]; then
        continue
    fi
    [ -f "$TALLIVOX_ROOT/fuzz/fuzz_$name.cpp" ] && targets+=("$name")
done
cmake --build "$FUZZ_DIR" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

# Settings are saved on every input: a memory-backed folder keeps that from
# being the fuzzer's whole cost.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
work="$(mktemp -d "${TMPDIR:-/tmp}/tallivox-fuzz.XXXXXX")"
trap 'rm -rf "$work"' EXIT
# The targets that touch settings write only into this folder; Qt's own
# one-time allocations are not leaks worth a finding.
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" QT_QPA_PLATFORM=offscreen
# One frame of allocation stack: a deeper one is walked through Qt's frames,
# built without frame pointers, into stack garbage, so nearly every allocation
# gets a stack of its own; the sanitizer keeps each one for good, and the
# settings target grew by gigabytes and slowed tenfold over a million inputs.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:quarantine_size_mb=32:malloc_context_size=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The key target's memory still grows by a couple of kilobytes an input under
# the sanitizers (the program itself stays flat over thousands of keys and
# gestures), so a million inputs need more than libFuzzer's default 2 GB.
rss_limit=8192

# Inputs up to 4 kB. The key target builds a fresh score box for every input:
# 128 actions reach every state of the box (an entry takes a few keys), and
# longer inputs only slow it down, a grip gesture above all.
max_len() { [ "$1" = keys ] && echo 256 || echo 4096; }

limit=(-max_total_time="$seconds")
[ -n "${TALLIVOX_FUZZ_RUNS:-}" ] && limit=(-runs="$TALLIVOX_FUZZ_RUNS")
for name in "${targets[@]}"; do
    mkdir -p "$work/$name" "$work/artifacts-$name"
    cp "$TALLIVOX_ROOT/fuzz/corpus/$name/"* "$work/$name/"
    echo "== fuzz_$name ${limit[*]}"
    if ! "$FUZZ_DIR/fuzz/fuzz_$name" "${limit[@]}" -max_len="$(max_len "$name")" -timeout=10 -rss_limit_mb="$rss_limit" \
            -artifact_prefix="$work/artifacts-$name/" "$work/$name" >"$work/$name.log" 2>&1; then
        tail -n 60 "$work/$name.log"
        mkdir -p "$TALLIVOX_ROOT/build-fuzz/findings"
        cp "$work/artifacts-$name/"* "$TALLIVOX_ROOT/build-fuzz/findings/" 2>/dev/null || true
        echo "fuzz_$name found a fault; the input is in build-fuzz/findings/" >&2
        exit 1
    fi
    grep -E '^#[0-9]+.*(DONE|pulse)' "$work/$name.log" | tail -n 1
    grep -E 'Done [0-9]+ runs' "$work/$name.log" || true
done
