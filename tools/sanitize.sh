#!/usr/bin/env bash
# Builds the engine, its tests, the CLI and the fuzz harnesses with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/ (or the folder given as
# $1), runs the engine and CLI tests (the equivalence suites with a tenth of their random
# cases, see KESTRILANE_TEST_SCALE), then runs each harness for $2 seconds (60 by default)
# on a scratch copy of its seed inputs and prints its executions and findings. Inputs that
# break a harness are kept in <build>/fuzz-findings/<harness>/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/generator.sh"
. "$top/tools/side_by_side.sh"
build=${1:-$top/build-sanitize}
seconds=${2:-60}
jobs=$(nproc)

# -O1 with line tables: reports keep their file and line, and the build is quicker.
cmake -S "$top" -B "$build" $(cmake_generator "$build") -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG" \
  -DKESTRILANE_BUILD_UI=OFF -DKESTRILANE_FUZZ=ON \
  "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined" >/dev/null

# Only what CTest runs (one test program per folder with tests), the CLI those tests start,
# and the harnesses.
targets=(kestrilane-cli fuzz_harnesses)
for folder in "$top"/tests/engine/*/ "$top"/tests/cli/; do
  if compgen -G "$folder*_test.cpp" >/dev/null; then
    targets+=("$(basename "$folder")_tests")
  fi
done
cmake --build "$build" -j "$jobs" --target "${targets[@]}"

export ASAN_OPTIONS="detect_leaks=1"
# The equivalence suites compare with slow reference versions; a tenth of their random
# cases finds what the sanitizers can find (the plain build runs them all).
export KESTRILANE_TEST_SCALE=${KESTRILANE_TEST_SCALE:-0.1}
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 900

# The harnesses work in a scratch folder (in memory where there is one: the settings
# harness writes its file with fsync); the seed corpora in the tree never grow.
scratch=$(mktemp -d /dev/shm/kestrilane-fuzz.XXXXXX 2>/dev/null || mktemp -d "${TMPDIR:-/tmp}/kestrilane-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
# One harness: runs it and leaves its executions, findings and exit status in its folder.
run_harness() {
  local exe=$1 name work status=0
  name=$(basename "$exe" _fuzz)
  work=$scratch/$name
  mkdir -p "$work/corpus" "$work/findings" "$work/tmp"
  cp "$top/fuzz/corpus/$name"/* "$work/corpus/"
  local extra=()
  # The settings store keeps parsed files for later reads, which libFuzzer's leak check
  # after each input takes for a leak (and spends most of the time on); leaks are still
  # reported when the run ends.
  [ "$name" = profile ] && extra=(-detect_leaks=0)
  TMPDIR=$work/tmp "$exe" -max_total_time="$seconds" -max_len=4096 -timeout=30 -print_final_stats=1 \
    "${extra[@]}" -artifact_prefix="$work/findings/" "$work/corpus" >"$work/log" 2>&1 || status=$?
  echo "$status" >"$work/status"
}

# The harnesses run side by side, one per processor.
side_by_side "$jobs" run_harness "$build"/fuzz/*_fuzz

failed=0
printf '%-16s %14s  %s\n' harness executions findings
for exe in "$build"/fuzz/*_fuzz; do
  name=$(basename "$exe" _fuzz)
  work=$scratch/$name
  status=$(cat "$work/status" 2>/dev/null || echo 1)
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)
  findings=$(find "$work/findings" -type f | wc -l)
  printf '%-16s %14s  %s\n' "$name" "${executions:-?}" "$findings"
  if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
    failed=1
    kept=$build/fuzz-findings/$name
    mkdir -p "$kept"
    cp "$work/findings"/* "$kept/" 2>/dev/null || true
    echo "--- $name failed (exit $status); inputs kept in $kept" >&2
    grep -E -A 30 'invariant broken|ERROR: |runtime error' "$work/log" | head -n 60 >&2 || tail -n 40 "$work/log" >&2
  fi
done
exit "$failed"
