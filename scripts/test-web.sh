#!/usr/bin/env bash
# The web page's tests: builds the WebAssembly core and the site
# (scripts/build-web.sh), then runs tests/web/ with Node's test runner: the
# core's images, song lists, messages and song book against the native
# build's (build/release, which must be built), and the page itself in
# Debian's Chromium, headless, driven by playwright-core.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build-web.sh"
export ZMR_NATIVE=${ZMR_NATIVE:-$root/build/release/zmrimage}
export ZMR_WEB_CORE=${ZMR_WEB_CORE:-$root/build/web/core/zmrcore.js}
export ZMR_WEB_SITE=${ZMR_WEB_SITE:-$root/build/web/site}
cd "$root"
node --test tests/web/
