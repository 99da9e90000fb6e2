#!/usr/bin/env bash
# Sets up, builds the tool and compiles the bundled example songs into
# out/DADEDA00.DEZ and out/SongList.txt, printing the summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build/release" -j "$(nproc)"
"$root/build/release/zmrimage" build -o "$root/out" "$root/examples"
