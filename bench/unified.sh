#!/usr/bin/env bash
# The script-facing outputs of `kestrilane-cli compare` against GNU diff, each pair timed in
# one hyperfine run:
# - `compare --unified` against `diff -u` and `git diff --no-index` on a 100,000-line pair
#   with 1% of the lines edited;
# - `compare --brief` against `diff -q` on two identical 1,000,000-line files (separate
#   copies, so that neither tool can answer from the file identity).
# Peak memory of --unified and diff -u comes from /usr/bin/time -v.
#
# usage: bench/unified.sh [BUILD_DIR]     (default: build/)   Environment: RUNS (default 10)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
cli=$build/kestrilane-cli
runs=${RUNS:-10}
for tool in hyperfine python3 diff git; do
  command -v "$tool" >/dev/null || { echo "unified.sh: $tool is missing" >&2; exit 1; }
done
[ -x "$cli" ] || { echo "unified.sh: $cli not built" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'EOF2'
import random, sys
work = sys.argv[1]
words = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu".split()
rng = random.Random(1)
def line(n):
    return f"x{n:07d} " + " ".join(rng.choice(words) for _ in range(9)) + "\n"
def write(path, lines):
    with open(path, "w", encoding="ascii", newline="") as f:
        f.writelines(lines)
base = [line(n) for n in range(100_000)]
edited = []
for k, text in enumerate(base):
    r = rng.random()
    if r < 0.01 / 3:
        edited.append("changed " + text)
    elif r < 0.02 / 3:
        continue
    elif r < 0.01:
        edited += [text, f"inserted {k}\n"]
    else:
        edited.append(text)
write(f"{work}/edits_a.txt", base)
write(f"{work}/edits_b.txt", edited)
big = [line(n) for n in range(1_000_000)]
write(f"{work}/same_a.txt", big)
write(f"{work}/same_b.txt", big)
EOF2

ratio() {
  python3 - "$1" "$2" <<'EOF2'
import json, sys
data = {r["command"]: r["mean"] for r in json.load(open(sys.argv[1]))["results"]}
k, d = data["kestrilane"], data["diff"]
line = f"{sys.argv[2]:<40} kestrilane {k * 1000:8.1f} ms  diff {d * 1000:8.1f} ms  ratio {k / d:5.2f}"
if "git" in data:
    line += f"  git {data['git'] * 1000:8.1f} ms  ratio {k / data['git']:5.2f}"
print(line)
EOF2
}

a=$work/edits_a.txt b=$work/edits_b.txt
hyperfine --ignore-failure --warmup 2 --runs "$runs" --export-json "$work/u.json" \
  -n kestrilane "$cli compare --unified $a $b > /dev/null" -n diff "diff -u $a $b > /dev/null" \
  -n git "git diff --no-index --no-color $a $b > /dev/null"
a=$work/same_a.txt b=$work/same_b.txt
hyperfine --ignore-failure --warmup 2 --runs "$runs" --export-json "$work/q.json" \
  -n kestrilane "$cli compare --brief $a $b > /dev/null" -n diff "diff -q $a $b > /dev/null"

peak() { { /usr/bin/time -v "$@" 2>&1 >/dev/null || true; } | awk -F': ' '/Maximum resident set size/ {print $2}'; }
echo
echo "Summary (mean times):"
ratio "$work/u.json" "--unified, 100k lines, 1% edits"
ratio "$work/q.json" "--brief, identical 1M-line files"
a=$work/edits_a.txt b=$work/edits_b.txt
echo "peak memory --unified: kestrilane $(peak "$cli" compare --unified "$a" "$b") KiB, diff -u $(peak diff -u "$a" "$b") KiB"
