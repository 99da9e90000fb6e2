#!/usr/bin/env bash
# Shows the Win32 dialog, zmrimage-gui.exe, under Wine on a virtual display,
# adds a folder of songs, creates the image, and saves a picture of the
# window, frame and caption as Wine draws them.
#
#   scripts/screenshot-win32.sh [OUTPUT.png]     (default: docs/screenshot-win32.png)
#
# ZMR_SCREENSHOT_SONGS  folder of .mid/.kar songs (default: examples/)
#
# The songs are copied into C:\Karaoke of a Wine prefix of its own
# (build/windows/wine-screenshot), where Wine draws the window's frame itself
# (no window manager runs on the virtual display) with Wine's own fonts. With
# no window manager the window is never made active, so its caption is grey.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/virtual-display.sh"
output=$(realpath -m "${1:-$root/docs/screenshot-win32.png}")
songs=${ZMR_SCREENSHOT_SONGS:-$root/examples}
build=${ZMR_WINDOWS_BUILD:-$root/build/windows}

ZMR_SETUP_SCREENSHOT=1 "$root/scripts/setup.sh"
"$root/scripts/build-windows.sh" zmrimage-gui

export WINEPREFIX="$build/wine-screenshot" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
xvfb_pid=""
gui_pid=""
cleanup() {
  [[ -n $gui_pid ]] && kill "$gui_pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

start_virtual_display 800x600 "$work"

wineboot --init >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"  # the caption's font and the close box's glyph

karaoke="$WINEPREFIX/drive_c/Karaoke"
copy_songs "$songs" "$karaoke"

wine "$build/bin/zmrimage-gui.exe" --add-folder 'C:\Karaoke' --create-image &
gui_pid=$!
window=$(timeout 120 xdotool search --sync --name '^ZMR Disc Image Tool - Done$' | head -n 1)
sleep 1  # let the last repaint reach the screen
title=$(xdotool getwindowname "$window")
eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y, WIDTH, HEIGHT

mkdir -p "$(dirname "$output")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -colors 64 "$output"
echo "saved $output (${WIDTH}x${HEIGHT} window, title \"$title\")"
echo "image: $(stat -c %s "$karaoke/DADEDA00.DEZ") bytes; SongList.txt:"
sed 's/\r$//' "$karaoke/SongList.txt"

# Close it the way a user would, with Escape; the program ends with status 0.
status=0
close_with_escape "$window" "$gui_pid" || status=$?
gui_pid=""
echo "zmrimage-gui.exe ended with status $status"
exit "$status"
