#!/usr/bin/env bash
# Cross-compiles the engine, kestrilane-cli and the engine and CLI test programs for 64-bit
# Windows with mingw-w64 in build-windows/ (or the folder given as $1), then runs every test
# program and a few runs of kestrilane-cli.exe under Wine. Prints each program's GoogleTest
# summary; exits non-zero when anything fails. Needs x86_64-w64-mingw32-g++-posix
# (g++-mingw-w64-x86-64-posix) and Wine (wine64).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/generator.sh"
. "$top/tools/side_by_side.sh"
build=$(realpath -m "${1:-$top/build-windows}")
jobs=$(nproc)

wine=$(command -v wine64 || command -v wine || true)
[ -z "$wine" ] && [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 || [ -z "$wine" ]; then
  echo "windows-check: needs x86_64-w64-mingw32-g++-posix and wine64" >&2
  exit 1
fi

# Light optimisation without debug information: this build checks that the Windows code
# compiles and passes, and -O2 or debug information would only slow it. Wine
# shows this machine's root as drive Z:, which is how the test programs find the sources and
# the console program; with Wine as the emulator, ctest in the build folder runs them too.
cmake -S "$top" -B "$build" $(cmake_generator "$build") -DCMAKE_TOOLCHAIN_FILE="$top/tools/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG" -DKESTRILANE_BUILD_UI=OFF \
  -DKESTRILANE_TEST_ROOT=Z: "-DCMAKE_CROSSCOMPILING_EMULATOR=$wine" >/dev/null

tests=()
for folder in "$top"/tests/engine/*/ "$top"/tests/cli/; do
  if compgen -G "$folder*_test.cpp" >/dev/null; then
    tests+=("$(basename "$folder")_tests")
  fi
done
start=$SECONDS
cmake --build "$build" -j "$jobs" --target kestrilane-cli "${tests[@]}" >"$build/build.log" 2>&1 || {
  grep -E 'error|Error' "$build/build.log" | head -n 40 >&2
  echo "windows-check: the cross build failed (log in $build/build.log)" >&2
  exit 1
}

echo "Cross build for Windows: $((SECONDS - start)) s"
start=$SECONDS

# A Wine prefix of its own in the build folder, made once, without a display or questions.
export WINEPREFIX=$build/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
unset WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -i >/dev/null 2>&1 || true
fi
# The equivalence suites check logic that no platform changes; a tenth of their random cases
# is enough here (the native run has them all).
export KESTRILANE_TEST_SCALE=${KESTRILANE_TEST_SCALE:-0.1}
logs=$build/test-logs
mkdir -p "$logs"
failed=0
total_passed=0 total_failed=0 total_skipped=0
# The number on GoogleTest's closing line of the given kind ("  PASSED  " ...) in $log.
count() { sed -n -E "s/^\[$1\] ([0-9]+) tests?[ ,.].*/\1/p" "$log" | tail -n 1; }

# One test program, its output in $logs/NAME.log and its exit status in $logs/NAME.status.
run_program() {
  local name=$1 status=0
  (cd "$build/tests" && timeout 1200 "$wine" "./$name.exe") >"$logs/$name.log" 2>&1 || status=$?
  sed -i 's/\r$//' "$logs/$name.log"  # the programs' own text output ends lines in CR LF
  echo "$status" >"$logs/$name.status"
}

echo "Windows test programs under Wine ($("$wine" --version 2>/dev/null || echo wine)):"
# The programs run side by side, one per processor; the summaries follow in order.
side_by_side "$jobs" run_program "${tests[@]}"
for name in "${tests[@]}"; do
  log=$logs/$name.log
  status=$(cat "$logs/$name.status" 2>/dev/null || echo 1)
  ran=$(sed -n -E 's/^\[==========\] ([0-9]+) tests? from .* ran\. \(([0-9]+) ms total\)/\1 tests in \2 ms/p' "$log")
  passed=$(count '  PASSED  '); skipped=$(count '  SKIPPED '); failures=$(count '  FAILED  ')
  passed=${passed:-0} skipped=${skipped:-0} failures=${failures:-0}
  if [ -n "$ran" ]; then
    printf '  %-18s %s: %d passed, %d failed, %d skipped\n' "$name" "$ran" "$passed" "$failures" "$skipped"
  else
    printf '  %-18s no test summary (exit %d)\n' "$name" "$status"
  fi
  total_passed=$((total_passed + passed)) total_failed=$((total_failed + failures)) total_skipped=$((total_skipped + skipped))
  # Each skipped test with the reason it gives.
  awk '/: Skipped$/ { getline reason; next }
       /^\[  SKIPPED \] [A-Za-z].* \([0-9]+ ms\)/ {
         sub(/^\[  SKIPPED \] /, ""); sub(/ \([0-9]+ ms\).*/, ""); print "      skipped " $0 ": " reason; reason = "" }' "$log"
  if [ "$status" -ne 0 ]; then
    failed=1
    [ "$failures" -eq 0 ] && total_failed=$((total_failed + 1))  # a crash or a time-out
    echo "--- $name failed (exit $status); log in $log" >&2
    grep -a -E -B 2 -A 15 '^\[ RUN|Failure' "$log" | grep -a -v '^\[       OK' | tail -n 60 >&2 || true
  fi
done

# The console program itself, as a user would start it on the sample pair.
cli=$build/kestrilane-cli.exe
smoke() {  # smoke NAME EXPECTED_EXIT PATTERN ARGS...
  local name=$1 expected=$2 pattern=$3 out status=0
  shift 3
  out=$(cd "$top" && "$wine" "$cli" "$@" 2>&1) || status=$?
  if [ "$status" -eq "$expected" ] && grep -a -q -e "$pattern" <<<"$out"; then
    printf '  %-18s ok (exit %d)\n' "$name" "$status"
    total_passed=$((total_passed + 1))
  else
    failed=1 total_failed=$((total_failed + 1))
    printf '  %-18s FAILED: exit %d, expected %d and "%s"\n' "$name" "$status" "$expected" "$pattern" >&2
    head -n 20 <<<"$out" >&2
  fi
}
scratch=$build/smoke
rm -rf "$scratch" && mkdir -p "$scratch"
cp "$top/samples/after.txt" "$scratch/merged.txt"
echo "kestrilane-cli.exe under Wine:"
smoke "compare listing" 0 '^A: before.txt  総行数 = 35' compare samples/before.txt samples/after.txt
smoke "compare --brief" 1 ' differ$' compare --brief samples/before.txt samples/after.txt
smoke "compare --unified" 1 '^@@ -1,' compare --unified samples/before.txt samples/after.txt
smoke "merge -o" 0 '' merge samples/before.txt samples/after.txt -o "${scratch#"$top"/}/merged.txt"
if ! grep -a -q '^!DOC_B>>>' "$scratch/merged.txt"; then
  failed=1 total_failed=$((total_failed + 1))
  echo "  merge -o           FAILED: the merged file lacks the marked lines" >&2
fi
smoke "missing file" 1 'missing.txt' compare samples/before.txt samples/missing.txt

"${wine%64}server" -w 2>/dev/null || true
echo "Runs under Wine: $((SECONDS - start)) s"
echo "windows: $total_passed passed, $total_failed failed, $total_skipped skipped"
if [ "$failed" -ne 0 ]; then
  echo "windows-check: FAILED" >&2
  exit 1
fi
