#!/usr/bin/env bash
# Shows the dialog's preview window on a virtual display, playing a song of
# the example image, and saves a picture of it while a lyric line is being
# sung. The virtual display has no sound card, so the window says so: the
# lyrics run in time all the same.
#
#   scripts/screenshot-preview.sh [OUTPUT.png]     (default: docs/screenshot-preview.png)
#
# ZMR_PREVIEW_SONG     the song to play (default 3, "Hanh Trinh Dai")
# ZMR_PREVIEW_SECONDS  how far into the song the picture is taken (default 13)
# ZMR_BUILD_DIR        build folder for zmrimage-gui (default: build/screenshot)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/virtual-display.sh"
output=$(realpath -m "${1:-$root/docs/screenshot-preview.png}")
song=${ZMR_PREVIEW_SONG:-3}
seconds=${ZMR_PREVIEW_SECONDS:-13}
build=${ZMR_BUILD_DIR:-$root/build/screenshot}

ZMR_SETUP_SCREENSHOT=1 "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZMR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target zmrimage-gui

work=$(mktemp -d)
xvfb_pid=""
gui_pid=""
cleanup() {
  [[ -n $gui_pid ]] && kill "$gui_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

copy_songs "$root/examples" "$work/Karaoke"
start_virtual_display 1024x768 "$work"
export QT_QPA_PLATFORM=xcb

"$build/app/zmrimage-gui" --add-folder "$work/Karaoke" --create-image --preview "$song" &
gui_pid=$!
window=$(timeout 120 xdotool search --sync --name '^Preview - ' | head -n 1)
sleep "$seconds"
title=$(xdotool getwindowname "$window")
eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y, WIDTH, HEIGHT

mkdir -p "$(dirname "$output")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/window.png"
# No window manager draws a frame: the title goes in a strip above the picture.
convert "$work/window.png" -background '#000080' -gravity north -splice 0x22 \
  -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf -fill white -pointsize 13 -gravity northwest \
  -annotate +6+4 "${title/$work/\~}" -colors 128 "$output"
echo "saved $output (${WIDTH}x${HEIGHT} window, title \"$title\")"

# Escape closes the preview, and again the dialog; the program ends with status 0.
xdotool windowfocus --sync "$window" key Escape
main=$(timeout 30 xdotool search --sync --name '^ZMR Disc Image Tool' | head -n 1)
status=0
close_with_escape "$main" "$gui_pid" || status=$?
gui_pid=""
echo "zmrimage-gui ended with status $status"
exit "$status"
