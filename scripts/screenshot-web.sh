#!/usr/bin/env bash
# Takes the picture of the web page after building the examples in it
# (headless Chromium), for the README and docs/web.md.
#
#   scripts/screenshot-web.sh [OUTPUT.png]     (default: docs/screenshot-web.png)
#
# The site is built first when build/web/site/ has none (scripts/build-web.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
output=$(realpath -m "${1:-$root/docs/screenshot-web.png}")
[[ -f $root/build/web/site/index.html ]] || "$root/scripts/build-web.sh"
node "$root/scripts/screenshot-web.mjs" "$root/build/web/site" "$output"
