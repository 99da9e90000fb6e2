#!/usr/bin/env bash
# Writes app_win32/app_icon.ico, the Windows dialog's icon (32x32 and 16x16,
# 16 colours), from the Qt dialog's pictures in app/icons/. The .ico is
# committed; run this after changing the pictures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/make-icon"
mkdir -p "$build"
g++ -std=c++20 -Wall -Wextra -I"$root" "$root/app_win32/icon/make_icon.cpp" -o "$build/make_icon"
"$build/make_icon" "$root/app_win32/app_icon.ico"
echo "wrote $root/app_win32/app_icon.ico"
