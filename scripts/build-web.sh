#!/usr/bin/env bash
# Builds the web page: the core compiled to WebAssembly by Emscripten into
# build/web/core (zmrcore.js, zmrcore.wasm), then the page bundled by esbuild
# into build/web/site, the static site that any web server can serve.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZMR_WEB_BUILD:-$root/build/web}

# Debian's emcc finds its JavaScript tools (acorn) through Node's system folder.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
emcmake cmake -S "$root" -B "$build/core" -G Ninja -DZMR_WEB=ON -DCMAKE_BUILD_TYPE=Release \
  -DZMR_BUILD_TESTS=OFF -DZMR_BUILD_GUI=OFF -DZMR_WERROR=ON
cmake --build "$build/core" -j "$(nproc)"

if [[ -f "$root/web/build.mjs" ]]; then
  (cd "$root/web" && npm ci --no-audit --no-fund --loglevel=error)
  node "$root/web/build.mjs" "$build/core" "$build/site"
fi
