# What the benchmark scripts share; sourced after `set -euo pipefail`.
#   bench_setup NAME BUILD_DIR TOOL...   checks the tools and the built console program, sets
#                                        $cli and makes the work folder $work (removed at exit)
#   peak COMMAND...                      the peak resident memory of COMMAND in KiB
bench_setup() {
  local name=$1 build=$2 tool
  shift 2
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "$name: $tool is missing" >&2; exit 1; }
  done
  [ -x /usr/bin/time ] || { echo "$name: /usr/bin/time is missing (package time)" >&2; exit 1; }
  cli=$build/kestrilane-cli
  [ -x "$cli" ] || { echo "$name: $cli not built" >&2; exit 1; }
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
}

peak() { { /usr/bin/time -v "$@" 2>&1 >/dev/null || true; } | awk -F': ' '/Maximum resident set size/ {print $2}'; }
