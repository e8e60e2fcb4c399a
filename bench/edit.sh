#!/usr/bin/env bash
# Editing figures beside the tools they compare with:
# - build/bench/edit_bench (in process): one keystroke in a 1,000,000-line text, the same with
#   the shown rows following it, an edit of a 100,000-line pair up to the rows of its new
#   comparison, and the memory 1,000 one-character edits of a 60 MB text leave behind;
# - in one hyperfine run: GNU diff on a 100,000-line pair (the re-comparison's yardstick)
#   and `cp` of a 60 MB file (what copying the bytes of a keystroke's new version costs);
# - peak memory (/usr/bin/time -v) of one edit and of 1,000 edits of the 60 MB text.
#
# usage: bench/edit.sh [BUILD_DIR]     (default: build/)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
source "$top/bench/common.sh"
bench_setup edit.sh "$build" hyperfine python3 diff cp
bench=$build/bench/edit_bench
[ -x "$bench" ] || { echo "edit.sh: $bench not built" >&2; exit 1; }

python3 - "$work" <<'PY'
import random, sys
work = sys.argv[1]
words = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu".split()
rng = random.Random(23)
def line(n):
    return f"x{n:07d} " + " ".join(rng.choice(words) for _ in range(9)) + "\r\n"
a = [line(n) for n in range(100_000)]
b = [("changed " + t) if rng.random() < 0.01 else t for t in a]
open(f"{work}/a.txt", "w", newline="").writelines(a)
open(f"{work}/b.txt", "w", newline="").writelines(b)
open(f"{work}/big.txt", "w", newline="").writelines(line(n) for n in range(1_000_000))
PY

"$bench" --benchmark_filter='Keystroke|EditToComparedRows'
hyperfine --runs 10 --ignore-failure "diff $work/a.txt $work/b.txt" "cp $work/big.txt $work/copy.txt"
for filter in OneEditMemory ThousandEditsMemory; do
  echo "$filter: peak $(peak "$bench" --benchmark_filter=$filter) KiB"
done
