#!/usr/bin/env bash
# Measures `kestrilane-cli compare --stat` against GNU diff on two files of LINES lines each
# (default 5,000,000), every line drawn at random from 1,000 distinct values: the shape where
# most lines of one file equal thousands of lines of the other. Both tools are timed in one
# hyperfine run; the ratio kestrilane / diff and the peak memory of each follow.
#
# usage: bench/stat.sh [BUILD_DIR]     (default: build/)
# Environment: LINES (default 5000000), RUNS (default 1) runs per tool.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/bench/common.sh"
lines=${LINES:-5000000}
runs=${RUNS:-1}
bench_setup stat.sh "${1:-$top/build}" hyperfine python3 diff
a=$work/a.txt
b=$work/b.txt
python3 - "$lines" "$a" "$b" <<'EOF'
import random, sys
count, a, b = int(sys.argv[1]), sys.argv[2], sys.argv[3]
rng = random.Random(5)
values = [f"value {v:04d}\n" for v in range(1000)]
for path in (a, b):
    with open(path, "w", encoding="ascii") as f:
        f.writelines(rng.choice(values) for _ in range(count))
EOF

hyperfine --ignore-failure --runs "$runs" --export-json "$work/result.json" \
  -n kestrilane "$cli compare --stat $a $b > /dev/null" \
  -n diff "diff $a $b > /dev/null"

kestrilane_kib=$(peak "$cli" compare --stat "$a" "$b")
diff_kib=$(peak diff "$a" "$b")

python3 - "$work/result.json" "$lines" "$kestrilane_kib" "$diff_kib" <<'EOF'
import json, sys
data = {r["command"]: r["mean"] for r in json.load(open(sys.argv[1]))["results"]}
k, d = data["kestrilane"], data["diff"]
print(f"{int(sys.argv[2]):,} lines from 1,000 values: kestrilane --stat {k:8.2f} s  diff {d:8.2f} s  ratio {k / d:5.2f}")
print(f"peak memory: kestrilane {int(sys.argv[3]) / 1024:7.1f} MiB  diff {int(sys.argv[4]) / 1024:7.1f} MiB")
EOF
