#!/usr/bin/env bash
# Builds the engine and the program's worker tests with ThreadSanitizer in build-tsan/ and
# runs the tests that start and stop worker threads (comparison runs and line comparisons).
# Qt itself is not instrumented, so the memory calls Qt's libraries make (for instance when
# a queued call crosses threads through Qt's futex-based queue) are not checked.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build-tsan}
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1 suppressions=$top/tests/ui/app/tsan_qt.supp"
export QT_QPA_PLATFORM=offscreen
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRILANE_TSAN=ON -DKESTRILANE_BUILD_UI=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target compare_tests linedetail_tests app_uitests linedetail_uitests
"$build/tests/compare_tests" --gtest_brief=1
"$build/tests/linedetail_tests" --gtest_brief=1
"$build/tests/app_uitests" --gtest_brief=1 --gtest_filter='CompareRunUi.*'
"$build/tests/linedetail_uitests" --gtest_brief=1 --gtest_filter='LineWindows.*'
