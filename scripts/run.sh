#!/usr/bin/env bash
# Sets up, builds the tool and compiles the bundled example songs into
# out/DADEDA00.DEZ and out/SongList.txt, printing the summary. Builds only the
# command-line tool; scripts/test.sh builds the rest in the same folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/build-options.sh"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/release" "${ZMR_RELEASE_OPTIONS[@]}" >/dev/null
cmake --build "$root/build/release" -j "$(nproc)" --target zmrimage
"$root/build/release/zmrimage" build -o "$root/out" "$root/examples"
