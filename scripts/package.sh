#!/usr/bin/env bash
# Sets up what packaging needs, builds the program and what ships with it (no
# tests, benchmarks or fuzz targets), and packs the Debian package
# build/tallivox_<version>_amd64.deb. Install it with
#   sudo apt install ./build/tallivox_<version>_amd64.deb
set -euo pipefail
source "$(dirname "$0")/setup.sh"

install_missing_packages build package
configure_and_build -DTALLIVOX_TESTS=OFF "$@"
(cd "$BUILD_DIR" && cpack -G DEB)
