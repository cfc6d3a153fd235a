#!/usr/bin/env bash
# Sets up what is missing, builds, and packs the Debian package
# build/tallivox_<version>_amd64.deb. Install it with
#   sudo apt install ./build/tallivox_<version>_amd64.deb
set -euo pipefail
source "$(dirname "$0")/setup.sh"

install_missing_packages
configure_and_build "$@"
(cd "$BUILD_DIR" && cpack -G DEB)
