#!/usr/bin/env bash
# Installs the Debian packages a script needs when any is missing, then configures
# and builds into build/. Sourced by the other scripts, each naming its groups.
set -euo pipefail

TALLIVOX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${TALLIVOX_BUILD_DIR:-$TALLIVOX_ROOT/build}"

# The Debian packages, by what needs them; each script installs only its groups.
BUILD_PACKAGES=(cmake ninja-build g++ lld qt6-base-dev qt6-multimedia-dev qt6-websockets-dev
    libx11-dev libxtst-dev libpulse-dev pkg-config libqrencode-dev)
# WAV decoding for Qt Multimedia, fonts metric-compatible with Arial and Times New Roman,
# Qt's SVG image plugin for SVG board pictures, the QR code of the scorer page.
RUN_PACKAGES=(libqt6multimedia6 gstreamer1.0-plugins-good fonts-liberation2 libqt6svg6 libqrencode4)
# CPack's Debian dependencies come from dpkg-shlibdeps, which needs file to find the executables.
PACKAGE_PACKAGES=(dpkg-dev file)
# A virtual X server driven with real key and mouse events, a window manager for
# the tests that want one (and xprop to see it is up), screenshots, a null sound
# sink, the menu entry's and AppStream file's validators, man to read the manual
# page, the live feed's overlay in a headless browser, and clients of the feed
# nobody here wrote.
TEST_PACKAGES=(xvfb xauth xdotool openbox x11-utils imagemagick x11-apps x11-xserver-utils pulseaudio pulseaudio-utils curl
    desktop-file-utils appstream man-db chromium python3
    python3-websockets apache2-utils slowhttptest)
# libFuzzer comes with clang's runtime libraries.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
# A bounded CPU load beside the tests, for scripts/soak.sh.
SOAK_PACKAGES=(stress-ng)

# install_missing_packages GROUP... (build, run, package, test, fuzz, soak)
install_missing_packages() {
    local wanted=() missing=() group p
    for group in "$@"; do
        case "$group" in
            build) wanted+=("${BUILD_PACKAGES[@]}") ;;
            run) wanted+=("${RUN_PACKAGES[@]}") ;;
            package) wanted+=("${PACKAGE_PACKAGES[@]}") ;;
            test) wanted+=("${TEST_PACKAGES[@]}") ;;
            fuzz) wanted+=("${FUZZ_PACKAGES[@]}") ;;
            soak) wanted+=("${SOAK_PACKAGES[@]}") ;;
            *) echo "setup.sh: no package group '$group'" >&2; return 2 ;;
        esac
    done
    for p in "${wanted[@]}"; do
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
