#!/usr/bin/env bash
# Sets up, builds and runs every test twice: in a normal build and in a build
# with AddressSanitizer and UndefinedBehaviorSanitizer that halts on the first error;
# then the core's tests under ThreadSanitizer, so that a data race in the song
# pipeline fails the build; then runs each fuzz target for a short while (ZMR_FUZZ_SMOKE_SECONDS, default 20);
# then cross-compiles the Windows programs and tests them under Wine; then builds
# the web page and tests it in Node and headless Chromium; then makes
# the release's downloads and installs and uninstalls each as a user would
# (scripts/release.sh --check, which reuses the Windows build; skipped outside
# a git checkout, such as the unpacked source tarball).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/build-options.sh"
"$root/scripts/setup.sh"

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

run_suite() {
  local dir=$1; shift
  cmake -S "$root" -B "$dir" "$@"
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 600
}

phase_start=$SECONDS
phase_done() { echo "== $1: $((SECONDS - phase_start)) s =="; phase_start=$SECONDS; }

echo "== normal build =="
run_suite "$root/build/release" "${ZMR_RELEASE_OPTIONS[@]}"
phase_done "normal build and tests"
echo "== sanitizer build (ASan + UBSan) =="
# Warnings stay warnings here: GCC's flow analysis reports false positives in
# instrumented standard-library code (std::regex, std::function). -O1 with line
# tables only (-g1) is what the sanitizers need for their reports and builds in
# about half the time of -O2 -g. The benchmark programs are built here too
# (not run): nothing else builds them, and a change to the core can break them.
run_suite "$root/build/sanitize" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" -DZMR_SANITIZE=ON -DZMR_WERROR=OFF -DZMR_BUILD_BENCH=ON
phase_done "sanitizer build and tests"
echo "== ThreadSanitizer build (the core's tests) =="
# Only the core and its tests (ZMR_TSAN): the threads are all the core's.
run_suite "$root/build/tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" -DZMR_TSAN=ON -DZMR_WERROR=OFF
phase_done "ThreadSanitizer build and tests"
echo "== fuzz smoke test (libFuzzer, ${ZMR_FUZZ_SMOKE_SECONDS:-20} s per target) =="
ZMR_FUZZ_BUILD="$root/build/fuzz" ZMR_FUZZ_JOBS="$jobs" "$root/scripts/fuzz.sh" "${ZMR_FUZZ_SMOKE_SECONDS:-20}"
phase_done "fuzz smoke test"
echo "== Windows programs under Wine (MinGW-w64 build, tests, same bytes as Linux) =="
"$root/scripts/test-windows.sh"
phase_done "Windows build and tests under Wine"
echo "== web page (WebAssembly core in Node against the native bytes, the page in headless Chromium) =="
"$root/scripts/test-web.sh"
phase_done "web page"
echo "== releases: the downloads made, installed and uninstalled (Debian package, Windows installer under Wine, zip) =="
# A release is made from a commit (its date, its git archive): from the
# source tarball, which is no git checkout, the phase is skipped.
if git -C "$root" rev-parse --verify -q HEAD >/dev/null 2>&1; then
  "$root/scripts/release.sh" --check --allow-dirty
  phase_done "releases: made, installed and uninstalled"
else
  echo "releases: skipped, $root is not a git checkout (a release is made from one)"
fi
