# Functions for the scripts that show a dialog on a virtual display: the two
# screenshots and the Windows test phase. Sourced; it runs nothing itself.

# Starts Xvfb on a free display with the screen size $1 (WIDTHxHEIGHT), its
# log in the folder $2; sets xvfb_pid and exports DISPLAY.
start_virtual_display() {
  local size=$1 dir=$2
  # Xvfb picks the display and writes its number to fd 3.
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do [[ -s $dir/display ]] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$dir/display")"
}

# Copies the songs (.mid and .kar) of the folder $1 into a new folder $2.
copy_songs() {
  rm -rf "$2"
  mkdir -p "$2"
  find "$1" -maxdepth 1 -type f \( -iname '*.mid' -o -iname '*.kar' \) -exec cp {} "$2/" \;
  echo "songs: $(ls "$2" | wc -l) from $1"
}

# Closes the window $1 the way a user would, with Escape, and waits for the
# process $2; returns its status, or 124 (and stops it) when it has not ended
# within a minute.
close_with_escape() {
  xdotool windowfocus --sync "$1" key Escape
  if ! timeout 60 tail --pid="$2" -f /dev/null; then
    echo "the program did not end on Escape" >&2
    kill "$2" 2>/dev/null || true
    return 124
  fi
  local status=0
  wait "$2" || status=$?
  return "$status"
}
