#!/usr/bin/env bash
# The Windows programs under Wine, as a Windows user runs them: cross-compiles
# them (scripts/build-windows.sh), runs the core and command-line tests
# (zmr_tests.exe) and the Win32 dialog's tests on a virtual display, checks
# that zmrimage.exe writes the same bytes as the Linux zmrimage on examples/
# and tests/data/corpus, and that zmrimage-gui.exe shows its window with its
# title, writes the same bytes for --add-folder DIR --create-image, and
# closes on Escape.
#
# Wine keeps its settings in build/windows/wine, made on the first run
# (about 15 s). ZMR_WINDOWS_BUILD changes the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/virtual-display.sh"
build=${ZMR_WINDOWS_BUILD:-$root/build/windows}
source "$root/scripts/build-options.sh"

"$root/scripts/build-windows.sh"
# The Linux program whose bytes the Windows ones must match.
cmake -S "$root" -B "$root/build/release" "${ZMR_RELEASE_OPTIONS[@]}" >/dev/null
cmake --build "$root/build/release" -j "$(nproc)" --target zmrimage
linux_cli="$root/build/release/zmrimage"

export WINEPREFIX="$build/wine" WINEDEBUG=-all
# No prompts to install Wine's .NET and HTML engines, which nothing here uses.
export WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  wineserver -k 2>/dev/null || true  # Wine's programs first, while their display is still there
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

start_virtual_display 1024x768 "$work"
wineboot --init >/dev/null 2>&1

echo "-- tests under Wine"
ctest --test-dir "$build" --output-on-failure --timeout 1200

failed=0
# Both programs write DIR's files; the Windows one is given the folders as a
# Windows user names them, drive letter and backslashes.
same_files() {
  local label=$1 linux=$2 windows=$3
  if cmp -s "$linux/DADEDA00.DEZ" "$windows/DADEDA00.DEZ" && cmp -s "$linux/SongList.txt" "$windows/SongList.txt"; then
    echo "$label: same bytes ($(stat -c %s "$windows/DADEDA00.DEZ") + $(stat -c %s "$windows/SongList.txt"))"
  else
    echo "$label: the Windows files differ from the Linux ones"
    failed=1
  fi
}
for source in examples tests/data/corpus; do
  for option in "" --skip-bad; do
    name=$(basename "$source")${option}
    linux_status=0 windows_status=0
    "$linux_cli" build -q $option -o "$work/linux-$name" "$root/$source" 2>/dev/null || linux_status=$?
    wine "$build/bin/zmrimage.exe" build -q $option -o "$(winepath -w "$work/windows-$name")" \
      "$(winepath -w "$root/$source")" 2>/dev/null || windows_status=$?
    if [[ $linux_status != "$windows_status" ]]; then
      echo "zmrimage.exe build ${option:+$option }$source: status $windows_status, Linux $linux_status"
      failed=1
    fi
    same_files "zmrimage.exe build ${option:+$option }$source (status $windows_status)" "$work/linux-$name" "$work/windows-$name"
  done
done

# The dialog: its window shows with the template's title and Escape closes it;
# then a scripted compilation writes the command line's bytes.
gui="$build/bin/zmrimage-gui.exe"
run_gui() {
  local title=$1; shift
  wine "$gui" "$@" &
  local pid=$! window status=0
  window=$(timeout 120 xdotool search --sync --name "^${title}\$" | head -n 1) || true
  if [[ -z $window ]]; then
    echo "zmrimage-gui.exe${*:+ $*}: no window titled \"$title\""
    kill "$pid" 2>/dev/null || true
    failed=1
    return
  fi
  sleep 0.5
  close_with_escape "$window" "$pid" || status=$?
  echo "zmrimage-gui.exe${*:+ $*}: window \"$title\" shown, closed by Escape with status $status"
  ((status == 0)) || failed=1
}
run_gui "ZMR Disc Image Tool"
copy_songs "$root/examples" "$work/gui-songs"
run_gui "ZMR Disc Image Tool - Done" --add-folder "$(winepath -w "$work/gui-songs")" --create-image
same_files "zmrimage-gui.exe --add-folder examples --create-image" "$work/linux-examples" "$work/gui-songs"
exit "$failed"
