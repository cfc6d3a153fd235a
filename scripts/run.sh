#!/usr/bin/env bash
# Sets up what is missing, builds, and starts Tallivox.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
install_missing_packages build run
configure_and_build
exec "$BUILD_DIR/tallivox" "$@"
