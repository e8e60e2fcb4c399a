#!/usr/bin/env bash
# Builds, with ThreadSanitizer in build-tsan/ (or the folder given as $1), the test programs
# named in tests/thread_tests.txt and runs there only the tests it names: those that start
# worker threads. Every other test has no second thread for the sanitizer to check.
# Qt itself is not instrumented, so the memory calls Qt's libraries make (for instance when
# a queued call crosses threads through Qt's futex-based queue) are not checked.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/generator.sh"
build=${1:-$top/build-tsan}
list=$top/tests/thread_tests.txt
# Tests that start the console program fork a process that has threads; the child only
# executes the program, which the sanitizer cannot know (die_after_fork=0).
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 die_after_fork=0 ignore_noninstrumented_modules=1 suppressions=$top/tests/ui/app/tsan_qt.supp"
export QT_QPA_PLATFORM=offscreen

programs=()
filters=()
while read -r program filter; do
  [[ -z "$program" || "$program" == \#* ]] && continue
  programs+=("$program")
  filters+=("$filter")
done <"$list"

# -O1 with line tables: the sanitizer's reports keep their file and line, and the build
# takes half the time of an optimised build with full debug information.
cmake -S "$top" -B "$build" $(cmake_generator "$build") -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" \
  -DKESTRILANE_TSAN=ON -DKESTRILANE_BUILD_UI=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${programs[@]}"
for i in "${!programs[@]}"; do
  echo "${programs[$i]}: ${filters[$i]}"
  "$build/tests/${programs[$i]}" --gtest_brief=1 "--gtest_filter=${filters[$i]}"
done
