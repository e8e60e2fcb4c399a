#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test, in stages:
#   build     the program, the console program, every test program and the benchmarks
#   tests     the whole suite through CTest
#   tsan      the tests that start threads, under ThreadSanitizer (tests/thread_tests.txt)
#   sanitize  (with clang) the engine and CLI tests under AddressSanitizer and
#             UndefinedBehaviorSanitizer, then each fuzz harness for 12 seconds
#   windows   (with mingw-w64 and Wine) the engine and CLI tests built for Windows
#   package   (with lintian) the Debian package built and checked
# and prints the time of each stage at the end. A stage whose tools are missing after the
# installation says so and is left out.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)

stage_names=()
stage_times=()
print_times() {
  local i
  echo
  echo "Stage times:"
  for i in "${!stage_names[@]}"; do
    printf '  %-10s %4d:%02d\n' "${stage_names[$i]}" $((stage_times[i] / 60)) $((stage_times[i] % 60))
  done
}
trap print_times EXIT

stage() {
  local name=$1 start=$SECONDS
  shift
  echo "=== $name"
  "$@"
  stage_names+=("$name")
  stage_times+=($((SECONDS - start)))
}

skip() {
  echo "=== $1 left out: $2"
}

run_ctest() {
  ctest --test-dir "$top/build" --output-on-failure -j "$(nproc)" --timeout 600
}

stage deps "$top/tools/install-deps.sh"
stage build "$top/tools/build.sh" "$top/build"
stage tests run_ctest
stage tsan "$top/tools/tsan-tests.sh" "$top/build-tsan"
if command -v clang++ >/dev/null 2>&1; then
  stage sanitize "$top/tools/sanitize.sh" "$top/build-sanitize" 12
else
  skip sanitize "clang++ is not installed"
fi
if command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 \
   && { command -v wine64 || command -v wine || [ -x /usr/lib/wine/wine64 ]; } >/dev/null 2>&1; then
  stage windows "$top/tools/windows-check.sh" "$top/build-windows"
else
  skip windows "mingw-w64 or Wine is not installed"
fi
if command -v lintian >/dev/null 2>&1; then
  stage package "$top/tools/check-package.sh" "$top/build"
else
  skip package "lintian is not installed"
fi
