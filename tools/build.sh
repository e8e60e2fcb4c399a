#!/usr/bin/env bash
# Configures and builds the project in build/ (or the folder given as $1).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/generator.sh"
build=${1:-$top/build}
# Optimised, without debug information: the tests and the program need none, and it costs a
# fifth of the build time (a debugger build is a folder of its own).
cmake -S "$top" -B "$build" $(cmake_generator "$build") -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG" >/dev/null
cmake --build "$build" -j "$(nproc)"
