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

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

wineboot --init >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"  # the caption's font and the close box's glyph

karaoke="$WINEPREFIX/drive_c/Karaoke"
rm -rf "$karaoke"
mkdir -p "$karaoke"
find "$songs" -maxdepth 1 -type f \( -iname '*.mid' -o -iname '*.kar' \) -exec cp {} "$karaoke/" \;
echo "songs: $(ls "$karaoke" | wc -l) from $songs"

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
xdotool windowfocus --sync "$window" key Escape
status=0
wait "$gui_pid" || status=$?
gui_pid=""
echo "zmrimage-gui.exe ended with status $status"
exit "$status"
