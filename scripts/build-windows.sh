#!/usr/bin/env bash
# Cross-compiles the Windows programs with Debian's MinGW-w64 into
# build/windows/bin: zmrimage.exe, zmrimage-gui.exe and the test programs
# (zmr_tests.exe, zmr_dialog_tests.exe, zmr_win32_dialog_tests.exe). Each .exe carries its runtime
# and runs on a bare 64-bit Windows.
#
#   scripts/build-windows.sh [TARGET...]      (default: everything)
#
# ZMR_WINDOWS_BUILD  build folder (default: build/windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZMR_WINDOWS_BUILD:-$root/build/windows}

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja --toolchain "$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DZMR_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" ${1:+--target "$@"}
