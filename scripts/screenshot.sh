#!/usr/bin/env bash
# Shows zmrimage-gui on a virtual display, adds a folder of songs, creates the
# image, and saves a picture of the window, so the dialog can be seen on a
# machine without a desktop.
#
#   scripts/screenshot.sh [OUTPUT.png]     (default: docs/screenshot.png)
#
# ZMR_SCREENSHOT_SONGS  folder of .mid/.kar songs (default: examples/)
# ZMR_BUILD_DIR         build folder for zmrimage-gui (default: build/screenshot)
#
# The songs are copied first into ~/Karaoke, as a user keeps them (the dialog
# shows their full paths and writes DADEDA00.DEZ and SongList.txt beside them);
# the folder is removed afterwards, or ~/Karaoke-zmr-example is used when
# ~/Karaoke already exists, so nothing of the user's is touched. No window manager runs
# on the virtual display, so the window has no frame; its title, read from the
# window, is drawn as a strip above the picture.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/virtual-display.sh"
output=$(realpath -m "${1:-$root/docs/screenshot.png}")
songs=${ZMR_SCREENSHOT_SONGS:-$root/examples}
build=${ZMR_BUILD_DIR:-$root/build/screenshot}

ZMR_SETUP_SCREENSHOT=1 "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZMR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target zmrimage-gui

work=$(mktemp -d)
karaoke="$HOME/Karaoke"
[[ -e $karaoke ]] && karaoke="$HOME/Karaoke-zmr-example"
xvfb_pid=""
gui_pid=""
cleanup() {
  [[ -n $gui_pid ]] && kill "$gui_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work" "$karaoke"
}
trap cleanup EXIT

copy_songs "$songs" "$karaoke"

start_virtual_display 800x600 "$work"
export QT_QPA_PLATFORM=xcb

"$build/app/zmrimage-gui" --add-folder "$karaoke" --create-image &
gui_pid=$!
window=$(timeout 120 xdotool search --sync --name '^ZMR Disc Image Tool - Done$' | head -n 1)
sleep 1  # let the last repaint reach the screen
title=$(xdotool getwindowname "$window")
eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y, WIDTH, HEIGHT

mkdir -p "$(dirname "$output")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/window.png"
convert "$work/window.png" -background '#000080' -gravity north -splice 0x22 \
  -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf -fill white -pointsize 13 -gravity northwest -annotate +6+4 "$title" \
  -colors 64 "$output"
echo "saved $output (${WIDTH}x${HEIGHT} window, title \"$title\")"
echo "image: $(stat -c %s "$karaoke/DADEDA00.DEZ") bytes; SongList.txt:"
sed 's/\r$//' "$karaoke/SongList.txt"

# Close it the way a user would, with Escape; the program ends with status 0.
status=0
close_with_escape "$window" "$gui_pid" || status=$?
gui_pid=""
echo "zmrimage-gui ended with status $status"
exit "$status"
