#!/usr/bin/env bash
# Installs the Debian packages Tallivox needs when any is missing, then configures
# and builds into build/. Sourced by run.sh and test.sh.
set -euo pipefail

TALLIVOX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${TALLIVOX_BUILD_DIR:-$TALLIVOX_ROOT/build}"

PACKAGES=(
    # build
    cmake ninja-build g++ lld qt6-base-dev qt6-multimedia-dev qt6-httpserver-dev qt6-websockets-dev libx11-dev libxtst-dev libpulse-dev
    # run: WAV decoding for Qt Multimedia, fonts metric-compatible with Arial and Times New Roman
    libqt6multimedia6 gstreamer1.0-plugins-good fonts-liberation2
    # tests: a virtual X server driven with real key and mouse events, a window manager for the
    # tests that want one and xprop to see it is up, screenshots, a null sound sink
    xvfb xauth xdotool openbox x11-utils imagemagick x11-apps x11-xserver-utils pulseaudio pulseaudio-utils curl
    # packaging: CPack's Debian dependencies (dpkg-shlibdeps), the menu entry's and AppStream validators
    dpkg-dev file desktop-file-utils appstream
    # tests: the live feed's overlay page in a headless browser
    chromium python3
    # fuzzing: libFuzzer comes with clang's runtime libraries
    clang libclang-rt-14-dev
)

install_missing_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() {
    cmake -S "$TALLIVOX_ROOT" -B "$BUILD_DIR" -G Ninja "$@"
    cmake --build "$BUILD_DIR" -j "$(nproc)"
}
