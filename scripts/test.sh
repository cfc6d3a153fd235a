#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test (unit, widget and end-to-end).
#   --sanitize   build into build-sanitize/ with AddressSanitizer and UBSan and test that
set -euo pipefail
source "$(dirname "$0")/setup.sh"

cmake_args=(-DTALLIVOX_TESTS=ON)
if [ "${1:-}" = "--sanitize" ]; then
    BUILD_DIR="$TALLIVOX_ROOT/build-sanitize"
    cmake_args+=(-DTALLIVOX_SANITIZE=ON)
    export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi

install_missing_packages build run package test
configure_and_build "${cmake_args[@]}"
(cd "$BUILD_DIR" && ctest --output-on-failure -j "$(nproc)")

# A short run of every fuzz target keeps them building and their seeds passing.
if [ "${1:-}" != "--sanitize" ]; then
    "$TALLIVOX_ROOT/scripts/fuzz.sh" "${TALLIVOX_FUZZ_SECONDS:-15}"
fi
