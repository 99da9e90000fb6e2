#!/usr/bin/env bash
# Speed of zmrimage on a generated collection, as ratios measured in one run
# on the same files, each the median of paired runs (the two commands of a
# pair run back to back, in alternating order):
#
#   build / cat             whole `zmrimage build` against `cat` reading the same files
#   build / midicsv loop    against a shell loop running `midicsv` over them
#   compress -b12 / coder   `compress -b12` against lzwCompress, whole processes on one file of event streams
#   decoder / coder         the LZW decoder's speed against the coder's, inside one process, on the same streams
#   --jobs 1 / --jobs 2     the build on one core against two
#   peak memory             of builds of SONGS and of ten times as many songs
#   render / real time      `zmrimage render` of a song of about four minutes on one core, against its length
#
# Usage: bench/speed.sh [SONGS]   (default 2000; ZMR_SPEED_ROUNDS pairs per ratio, default 5)
# midicsv, ncompress and time are installed by scripts/setup.sh when this
# script asks for them (ZMR_SETUP_BENCH=1): only this script uses them. The collection and the images go to ZMR_SPEED_DIR
# (default: a folder under /tmp, removed at the end).
set -euo pipefail

songs=${1:-2000}
rounds=${ZMR_SPEED_ROUNDS:-5}
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build/bench"

# The build's packages, and midicsv, ncompress and time for this script alone.
ZMR_SETUP_BENCH=1 "$top/scripts/setup.sh" >&2

# The build's messages go to stderr, so that a failed build is seen.
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZMR_BUILD_TESTS=OFF -DZMR_BUILD_GUI=OFF -DZMR_BUILD_BENCH=ON >&2
cmake --build "$build" -j2 --target zmrimage zmr_make_collection zmr_lzw_file >&2
# render plays with the default SoundFont, FluidR3_GM from fluid-soundfont-gm (scripts/setup.sh).
zmrimage="$build/zmrimage"
lzw="$build/bench/zmr_lzw_file"

work=${ZMR_SPEED_DIR:-$(mktemp -d /tmp/zmr-speed.XXXXXX)}
[[ -z ${ZMR_SPEED_DIR:-} ]] && trap 'rm -rf "$work"' EXIT
songsDir="$work/songs"
rm -rf "$songsDir" "$work/out"
"$build/bench/zmr_make_collection" "$songsDir" "$songs" >/dev/null
"$lzw" events "$songsDir" "$work/events" >/dev/null
eventBytes=$(stat -c %s "$work/events")

# The commands timed. Each reads the same files; all output is thrown away.
build_default() { "$zmrimage" build -q -o "$work/out" "$songsDir"; }
build_jobs1() { "$zmrimage" build -q --jobs 1 -o "$work/out" "$songsDir"; }
build_jobs2() { "$zmrimage" build -q --jobs 2 -o "$work/out" "$songsDir"; }
cat_all() { find "$songsDir" -type f -print0 | xargs -0 cat >/dev/null; }
midicsv_loop() { for f in "$songsDir"/*; do midicsv "$f" >/dev/null; done; }
coder() { "$lzw" compress "$work/events" "$work/coded.lzw"; }
ncompress() { compress -b12 -c "$work/events" >"$work/coded.Z"; }

nanoseconds() {
  local start end
  start=$(date +%s%N)
  "$@"
  end=$(date +%s%N)
  echo $((end - start))
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# pair NAME A B [ROUNDS]: the median of time(A) / time(B) over paired runs,
# and the median time of each, in seconds.
pair() {
  local name=$1 a=$2 b=$3 n=${4:-$rounds} i ta tb ratios="" timesA="" timesB=""
  for ((i = 0; i < n; i++)); do
    if ((i % 2 == 0)); then ta=$(nanoseconds "$a"); tb=$(nanoseconds "$b")
    else tb=$(nanoseconds "$b"); ta=$(nanoseconds "$a"); fi
    ratios+="$(awk -v a="$ta" -v b="$tb" 'BEGIN { print a / b }')"$'\n'
    timesA+="$ta"$'\n'
    timesB+="$tb"$'\n'
  done
  printf '%-24s %6.3f   (%s %.3f s, %s %.3f s; median of %d pairs)\n' "$name" \
    "$(printf '%s' "$ratios" | median)" "$a" "$(printf '%s' "$timesA" | median | awk '{ print $1 / 1e9 }')" \
    "$b" "$(printf '%s' "$timesB" | median | awk '{ print $1 / 1e9 }')" "$n"
}

peakKib() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }

echo "zmrimage speed: $songs generated songs ($(du -sm "$songsDir" | cut -f1) MB of MIDI, $((eventBytes / 1000000)) MB of event records)"
echo "machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo
cat_all  # the files in the page cache for every command alike
echo "ratio                     value"
pair "build / cat" build_default cat_all
pair "build / midicsv loop" build_default midicsv_loop 3
pair "compress -b12 / coder" ncompress coder
rates=$("$lzw" rates "$work/events" "$rounds")
printf '%-24s %6.3f   (%s; 20 KB sections, median of %d passes)\n' "decoder / coder" \
  "${rates##*decoder / coder }" "${rates%, decoder / coder*}" "$rounds"
pair "--jobs 1 / --jobs 2" build_jobs1 build_jobs2

# Ten times the songs: the folder named ten times puts its songs in ten times.
many=()
for ((i = 0; i < 10; i++)); do many+=("$songsDir"); done
few=$(peakKib "$zmrimage" build -q -o "$work/out" "$songsDir")
lots=$(peakKib "$zmrimage" build -q -o "$work/out" "${many[@]}")
echo
printf 'peak memory: %d KiB for %d songs, %d KiB for %d songs\n' "$few" "$songs" "$lots" $((songs * 10))
# Rendering: the longest of the first 20 generated songs (five to seven instruments and drums,
# about four minutes), pinned to one core, against the length of the sound it writes.
mkdir -p "$work/render-songs"
find "$songsDir" -type f | sort | head -20 | while IFS= read -r f; do cp "$f" "$work/render-songs/"; done
"$zmrimage" build -q -o "$work/render" "$work/render-songs"
renderSong=$("$zmrimage" list "$work/render/DADEDA00.DEZ" |
  awk 'NR > 1 { split($13, t, ":"); s = t[1] * 60 + t[2]; if (s > best) { best = s; n = $1 } } END { print n }')
render_song() { taskset -c 0 "$zmrimage" render "$work/render/DADEDA00.DEZ" "$renderSong" -o "$work/render/song.wav" >/dev/null; }
renderTimes=""
for ((i = 0; i < rounds; i++)); do renderTimes+="$(nanoseconds render_song)"$'\n'; done
renderSeconds=$(printf '%s' "$renderTimes" | median | awk '{ print $1 / 1e9 }')
soundSeconds=$(awk -v b="$(stat -c %s "$work/render/song.wav")" 'BEGIN { print (b - 44) / (44100 * 4) }')
echo
printf '%-24s %6.1f   (song %s: %.1f s of sound rendered in %.2f s on one core; median of %d runs)\n' \
  "render / real time" "$(awk -v a="$soundSeconds" -v b="$renderSeconds" 'BEGIN { print a / b }')" \
  "$renderSong" "$soundSeconds" "$renderSeconds" "$rounds"

echo
echo "targets: build / cat <= 2.5, build / midicsv loop <= 0.1, compress -b12 / coder >= 1.0,"
echo "         decoder / coder >= 2, --jobs 1 / --jobs 2 >= 1.7 (2 cores), peak memory flat,"
echo "         render / real time >= 20"
