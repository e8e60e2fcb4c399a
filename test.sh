#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the comparison-run tests once
# under ThreadSanitizer, then the whole suite through CTest, then (with clang) the engine
# and CLI tests under AddressSanitizer and UndefinedBehaviorSanitizer and each fuzz harness
# for 20 seconds.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/tools/install-deps.sh"
"$top/tools/tsan-tests.sh" "$top/build-tsan"
"$top/tools/build.sh" "$top/build"
cd "$top/build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
if command -v clang++ >/dev/null 2>&1; then
  "$top/tools/sanitize.sh" "$top/build-sanitize" 20
fi
