#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60).
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]      targets: see fuzz/*_fuzzer.cpp
#
# Every target starts from its committed seeds (fuzz/corpus/<target>) and
# regression inputs (fuzz/regressions/<target>), and keeps what it finds in a
# scratch corpus in the build folder. A crash, a leak, a hang (one input over
# 10 s) or a run past 2 GB stops the target: its input is saved under
# <build>/crashes/<target>/ and the script fails. Replay such a file with the
# normal build's program: build/release/fuzz/zmr_replay_<target> FILE.
#
# Environment: ZMR_FUZZ_BUILD (build folder, default build/fuzz),
# ZMR_FUZZ_PARALLEL=1 (run the targets at the same time, not in turn),
# ZMR_FUZZ_JOBS (build jobs, default 2), ZMR_FUZZ_FLAGS (more libFuzzer
# flags, e.g. -max_len=8192 to mutate small inputs only).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build=${ZMR_FUZZ_BUILD:-$root/build/fuzz}
[[ "$build" = /* ]] || build="$root/$build"

if (($#)); then
  targets=("$@")
else
  targets=()
  for source in "$root"/fuzz/*_fuzzer.cpp; do
    name=$(basename "$source" _fuzzer.cpp)
    targets+=("$name")
  done
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZMR_FUZZ=ON -DZMR_BUILD_GUI=OFF -DZMR_BUILD_TESTS=OFF -DZMR_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "${ZMR_FUZZ_JOBS:-2}" --target "${targets[@]/#/zmr_fuzz_}"

run_target() {
  local name=$1
  local corpus="$build/corpus/$name" crashes="$build/crashes/$name" log="$build/logs/$name.log"
  mkdir -p "$corpus" "$crashes" "$(dirname "$log")"
  local seeds=("$root/fuzz/corpus/$name")
  [[ -d "$root/fuzz/regressions/$name" ]] && seeds+=("$root/fuzz/regressions/$name")
  # The first folder receives new inputs; the committed ones are only read.
  "$build/fuzz/zmr_fuzz_$name" "$corpus" "${seeds[@]}" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$crashes/" ${ZMR_FUZZ_FLAGS:-} >"$log" 2>&1
}

summarize() {
  local name=$1 status=$2 log="$build/logs/$1.log"
  local done_line runs
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1 || true)
  runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}' || true)
  if ((status == 0)); then
    echo "fuzz $name: ok, ${runs:-?} runs in ${seconds} s; ${done_line:-no final line}"
  else
    echo "fuzz $name: FAILED (status $status), see $log and $build/crashes/$name/"
    grep -E 'ERROR|broken promise|SUMMARY|Test unit written' "$log" | head -20 || true
  fi
}

failed=0
if [[ "${ZMR_FUZZ_PARALLEL:-0}" == 1 ]]; then
  declare -A pids
  for name in "${targets[@]}"; do run_target "$name" & pids[$name]=$!; done
  for name in "${targets[@]}"; do
    status=0; wait "${pids[$name]}" || status=$?
    summarize "$name" "$status"; ((status == 0)) || failed=1
  done
else
  for name in "${targets[@]}"; do
    status=0; run_target "$name" || status=$?
    summarize "$name" "$status"; ((status == 0)) || failed=1
  done
fi
exit "$failed"
