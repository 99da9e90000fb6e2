#!/usr/bin/env bash
# Takes the picture of a song playing in the web page (headless Chromium,
# Debian's TimGM6mb SoundFont), for docs/web.md.
#
#   scripts/screenshot-web-preview.sh [OUTPUT.png]  (default: docs/screenshot-web-preview.png)
#
# The site is built first when build/web/site/ has none (scripts/build-web.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
output=$(realpath -m "${1:-$root/docs/screenshot-web-preview.png}")
[[ -f $root/build/web/site/index.html ]] || "$root/scripts/build-web.sh"
node "$root/scripts/screenshot-web-preview.mjs" "$root/build/web/site" "$output"
