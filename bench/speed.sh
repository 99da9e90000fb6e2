#!/usr/bin/env bash
# Speed of zmrimage on a generated collection, as ratios measured in one run
# on the same files, each the median of paired runs (the two commands of a
# pair run back to back, in alternating order), with the spread of the pairs
# (the lowest and highest ratio) beside it:
#
#   build / cat             whole `zmrimage build` against `cat` reading the same files
#   build / midicsv loop    against a shell loop running `midicsv` over them
#   compress -b12 / coder   `compress -b12` against lzwCompress, whole processes on one file of event streams
#   decoder / coder         the LZW decoder's speed against the coder's, inside one process, on the same streams
#   merge                   the tracks' merge into event records alone, inside one process (ms per pass over the songs)
#   --jobs 1 / --jobs 2     the build on one core against two
#   scan / build            `zmrimage scan` of the songs against their build
#   peak memory             of builds of SONGS and of ten times as many songs
#   render / real time      `zmrimage render` of a song of about four minutes on one core, against its length
#   web / --jobs 1          the web page's WebAssembly core in Node on one thread against `build --jobs 1`
#                           (when scripts/build-web.sh has built it), and the page's weight compressed
#
# Usage: bench/speed.sh [SONGS]   (default 2000; ZMR_SPEED_ROUNDS pairs per ratio, default 5)
# midicsv, ncompress and time are installed by scripts/setup.sh when this
# script asks for them (ZMR_SETUP_BENCH=1): only this script uses them. The collection and the images go to ZMR_SPEED_DIR
# (default: a folder under /tmp, removed at the end).
#
# Figures for publishing come from an idle machine. Before the pairs of each
# ratio the files its commands read are read once and each command runs once
# untimed, so that no pair pays for a cold page cache or for loading programs
# and their libraries; the collection is synced to disk first, so that its
# writeback does not run during the pairs. The load average before and after
# and the spread of the pairs show a busy or unsteady run; the script says so.
set -euo pipefail
export LC_ALL=C  # a decimal point in printf and awk, whatever the user's locale

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
# Just written: on disk now, not written back while commands are timed (each
# build's fsync would wait for it).
sync "$songsDir"/* "$work/events"

# The commands timed. Each reads the same files; all output is thrown away.
webCore="$top/build/web/core/zmrcore.js"
build_web() { node "$top/bench/web_build.mjs" "$webCore" "$songsDir" >/dev/null; }
build_default() { "$zmrimage" build -q -o "$work/out" "$songsDir"; }
build_jobs1() { "$zmrimage" build -q --jobs 1 -o "$work/out" "$songsDir"; }
build_jobs2() { "$zmrimage" build -q --jobs 2 -o "$work/out" "$songsDir"; }
scan_all() { "$zmrimage" scan "$songsDir" >/dev/null; }
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
lowest() { sort -g | head -1; }
highest() { sort -g | tail -1; }

# Every file a timed command reads, read once: the page cache holds them all.
warm_files() { cat "$songsDir"/* "$work/events" >/dev/null; }

unsteady=()

# pair NAME A B [ROUNDS]: the median of time(A) / time(B) over paired runs,
# the lowest and highest of those ratios, and the median time of each, in
# seconds. The files and both commands are warmed first.
pair() {
  local name=$1 a=$2 b=$3 n=${4:-$rounds} i ta tb ratios="" timesA="" timesB="" mid low high
  warm_files
  "$a" && "$b"
  for ((i = 0; i < n; i++)); do
    if ((i % 2 == 0)); then ta=$(nanoseconds "$a"); tb=$(nanoseconds "$b")
    else tb=$(nanoseconds "$b"); ta=$(nanoseconds "$a"); fi
    ratios+="$(awk -v a="$ta" -v b="$tb" 'BEGIN { print a / b }')"$'\n'
    timesA+="$ta"$'\n'
    timesB+="$tb"$'\n'
  done
  mid=$(printf '%s' "$ratios" | median)
  low=$(printf '%s' "$ratios" | lowest)
  high=$(printf '%s' "$ratios" | highest)
  printf '%-24s %7.3f  %7.3f .. %-7.3f  (%s %.3f s, %s %.3f s; %d pairs)\n' "$name" "$mid" "$low" "$high" \
    "$a" "$(printf '%s' "$timesA" | median | awk '{ print $1 / 1e9 }')" \
    "$b" "$(printf '%s' "$timesB" | median | awk '{ print $1 / 1e9 }')" "$n"
  spreadCheck "$name" "$mid" "$low" "$high"
}

# A spread wider than a tenth of the median marks the ratio as unsteady.
spreadCheck() {
  if awk -v m="$2" -v l="$3" -v h="$4" 'BEGIN { exit !((h - l) > 0.1 * m) }'; then unsteady+=("$1"); fi
}

peakKib() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }

startLoad=$(cut -d' ' -f1-3 /proc/loadavg)
echo "zmrimage speed: $songs generated songs ($(du -sm "$songsDir" | cut -f1) MB of MIDI, $((eventBytes / 1000000)) MB of event records)"
echo "machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores; load average $startLoad at the start"
echo
echo "ratio                     median  lowest .. highest pair"
pair "build / cat" build_default cat_all
pair "build / midicsv loop" build_default midicsv_loop 3
pair "compress -b12 / coder" ncompress coder
# "coder C MB/s, decoder D MB/s, decoder / coder R (passes L .. H)"
warm_files
rates=$("$lzw" rates "$work/events" "$rounds")
read -r coderRate decoderRate ratesMid ratesLow ratesHigh < <(
  sed -E 's/^coder ([0-9.]+) MB\/s, decoder ([0-9.]+) MB\/s, decoder \/ coder ([0-9.]+) \(passes ([0-9.]+) \.\. ([0-9.]+)\)$/\1 \2 \3 \4 \5/' <<<"$rates")
printf '%-24s %7.3f  %7.3f .. %-7.3f  (coder %s MB/s, decoder %s MB/s; 20 KB sections, %d passes)\n' "decoder / coder" \
  "$ratesMid" "$ratesLow" "$ratesHigh" "$coderRate" "$decoderRate" "$rounds"
spreadCheck "decoder / coder" "$ratesMid" "$ratesLow" "$ratesHigh"
# "merge M ms per pass of N songs (L .. H; P passes), B bytes of event records"
read -r mergeMs mergeLow mergeHigh < <("$lzw" merge "$songsDir" "$rounds" |
  sed -E 's/^merge ([0-9.]+) ms per pass of [0-9]+ songs \(([0-9.]+) \.\. ([0-9.]+);.*$/\1 \2 \3/')
printf '%-24s %7.1f ms  (%s .. %s ms; the parse and merge of every song, %d passes)\n' "merge" "$mergeMs" "$mergeLow" \
  "$mergeHigh" "$rounds"
spreadCheck "merge" "$mergeMs" "$mergeLow" "$mergeHigh"
pair "--jobs 1 / --jobs 2" build_jobs1 build_jobs2
pair "scan / build" scan_all build_default
# The web page's core: WebAssembly in Node on one thread, as one of the page's workers.
if [[ -f $webCore ]]; then
  pair "web / --jobs 1" build_web build_jobs1
fi

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
# All names read first: `head` closing the pipe early would stop the script (pipefail).
mapfile -t generated < <(find "$songsDir" -type f | sort)
cp "${generated[@]:0:20}" "$work/render-songs/"
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

# The page's weight: every file of the site as a browser fetches it gzip-compressed.
if [[ -d $top/build/web/site ]]; then
  siteBytes=0 siteGzip=0
  for f in "$top"/build/web/site/*; do
    siteBytes=$((siteBytes + $(stat -c %s "$f")))
    siteGzip=$((siteGzip + $(gzip -9 -c "$f" | wc -c)))
  done
  printf '%-24s %7.3f MB  (%.3f MB uncompressed, gzip -9 per file)\n' "web page weight" \
    "$(awk -v b="$siteGzip" 'BEGIN { print b / 1e6 }')" "$(awk -v b="$siteBytes" 'BEGIN { print b / 1e6 }')"
fi

echo
echo "targets: build / cat <= 2.5, build / midicsv loop <= 0.1, compress -b12 / coder >= 1.5,"
echo "         decoder / coder >= 2, --jobs 1 / --jobs 2 >= 1.8 (2 cores), scan / build <= 1.3, peak memory flat,"
echo "         render / real time >= 20, web / --jobs 1 <= 2.0, web page weight <= 1.5 MB"
endLoad=$(cut -d' ' -f1-3 /proc/loadavg)
echo "load average $endLoad at the end"
# One runnable task per core would already share the cores with the pairs.
if awk -v s="${startLoad%% *}" -v e="${endLoad%% *}" -v c="$(nproc)" 'BEGIN { exit !(s > 0.5 * c || e > 1.25 * c) }'; then
  echo "note: the machine was busy (load average $startLoad at the start, $endLoad at the end): not figures to publish"
fi
if ((${#unsteady[@]})); then
  echo "note: pairs more than 10% apart for: $(IFS=,; echo "${unsteady[*]}" | sed 's/,/, /g'): a slow or disturbed run; run again"
fi
