#!/usr/bin/env bash
# Draws the libraries and what each links, as CMake itself sees them, into
# resources/layers.svg (shown in the README). Needs graphviz.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
command -v dot >/dev/null || { echo "layers.sh needs graphviz (apt-get install graphviz)" >&2; exit 1; }
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
cmake -S "$root" -B "$out/build" -G Ninja -DTALLIVOX_TESTS=OFF --graphviz="$out/layers.dot" >/dev/null
dot -Tsvg -Grankdir=BT "$out/layers.dot" -o "$root/resources/layers.svg"
echo "resources/layers.svg"
