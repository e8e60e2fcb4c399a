#!/usr/bin/env bash
# Saving a 60 MB text against cp of the same file, in one hyperfine run per encoding:
# - `save_text_bench save` reads the file as the window does and saves its text to another
#   file (atomically: a temporary file, flushed to disk, renamed over the target);
# - `save_text_bench load` only reads it, so that the save's own share shows;
# - `cp` copies the file, and `cp` + `sync` also flushes it to disk.
# Then the peak memory (/usr/bin/time -v) of the save and of cp.
# Cases: Shift_JIS (written back as read) and UTF-16LE (held as UTF-8, encoded on saving).
#
# usage: bench/save.sh [BUILD_DIR]     (default: build/)
# Environment: RUNS (default 10) runs per case; MB (default 60) the size of the text.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
runs=${RUNS:-10}
mb=${MB:-60}
source "$top/bench/common.sh"
bench_setup save.sh "$build" hyperfine python3
bench=$build/bench/save_text_bench
[ -x "$bench" ] || { echo "save.sh: $bench not built" >&2; exit 1; }

python3 - "$work" "$mb" <<'EOF2'
import random, sys
work, mb = sys.argv[1], int(sys.argv[2])
rng = random.Random(60)
words = "alpha beta gamma delta 議事録 確認 担当 予定 完了 未着手 報告 ｶﾅ".split()
lines, size = [], 0
k = 0
while size < mb * 1000 * 1000:
    line = f"{k:08d} " + " ".join(rng.choice(words) for _ in range(10)) + ("\r\n" if k % 7 else "\n")
    lines.append(line)
    size += len(line.encode("cp932"))
    k += 1
text = "".join(lines)
open(f"{work}/sjis.txt", "wb").write(text.encode("cp932"))
open(f"{work}/utf16.txt", "wb").write(b"\xff\xfe" + text.encode("utf-16-le"))
EOF2

for case in sjis utf16; do
  in=$work/$case.txt
  echo "== $case: $(stat -c %s "$in") bytes"
  hyperfine --warmup 1 --runs "$runs" -N \
    -n "save" "$bench save $in $work/saved.txt" \
    -n "load" "$bench load $in" \
    -n "cp" "cp $in $work/copy.txt" \
    -n "cp+sync" "sh -c 'cp $in $work/copy.txt && sync $work/copy.txt'"
  cmp -s "$in" "$work/saved.txt" && echo "saved file is byte for byte the input"
  echo "peak KiB: save $(peak "$bench" save "$in" "$work/saved.txt"), cp $(peak cp "$in" "$work/copy.txt")"
done
