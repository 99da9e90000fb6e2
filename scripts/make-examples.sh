#!/usr/bin/env bash
# Builds zmr_make_examples and writes the example songs into examples/.
# The generator has no randomness of its own (a fixed seed varies the
# velocities), so every run writes the same bytes.
# Usage: scripts/make-examples.sh [BUILD_DIR]   (default: build-examples)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-examples"}

cmake -S "$root" -B "$build" -G Ninja -DZMR_BUILD_GUI=OFF >/dev/null
cmake --build "$build" -j2 --target zmr_make_examples

# Songs that the generator no longer makes must not linger.
find "$root/examples" -maxdepth 1 -type f \( -iname '*.mid' -o -iname '*.kar' \) -delete 2>/dev/null || true
"$build/examples/generator/zmr_make_examples" "$root/examples"
