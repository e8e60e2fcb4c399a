#!/usr/bin/env bash
# Measures `kestrilane-cli find --count` (the window's search) against grep -c on a pair of
# LINES-line Japanese-and-ASCII documents (default 1,000,000 lines each): words that are in
# neither file, the engine's search alone (build/bench/search_repeat, without the reading),
# and regular expressions against grep -cE. Each pair of commands is timed in
# one hyperfine run; the ratios and the peak memory follow.
#
# usage: bench/find.sh [BUILD_DIR]     (default: build/)
# Environment: LINES (default 1000000), RUNS (default 5) runs per tool.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/bench/common.sh"
lines=${LINES:-1000000}
runs=${RUNS:-5}
bench_setup find.sh "${1:-$top/build}" hyperfine python3 grep
a=$work/a.txt
b=$work/b.txt
python3 - "$lines" "$a" "$b" <<'EOF'
import random, sys
count, a, b = int(sys.argv[1]), sys.argv[2], sys.argv[3]
rng = random.Random(7)
words = ["設定", "比較", "ファイル", "表示", "行", "文字", "config", "value", "Error", "の", "を", "は", "2026年"]
for path in (a, b):
    with open(path, "w", encoding="utf-8") as f:
        for i in range(count):
            f.write(" ".join(rng.choice(words) for _ in range(rng.randint(3, 12))) + "\n")
EOF

run() {  # name, kestrilane arguments, grep arguments
  hyperfine --ignore-failure --warmup 1 --runs "$runs" --export-json "$work/result.json" \
    -n kestrilane "$cli find --count $2 $a $b > $work/out" \
    -n grep "grep -c $3 $a $b > $work/out" >/dev/null
  python3 - "$work/result.json" "$1" <<'EOF'
import json, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
k, g = results["kestrilane"], results["grep"]
# The processor time (user and system, all threads) beside the elapsed time: on a busy
# machine the elapsed time of a program with two threads depends on the other load.
cpu = lambda r: (r["user"] + r["system"]) * 1000
print(f"{sys.argv[2]:28s} kestrilane {k['mean'] * 1000:8.1f} ms  grep {g['mean'] * 1000:8.1f} ms  "
      f"ratio {k['mean'] / g['mean']:5.2f}   (processor time {cpu(k):6.1f} / {cpu(g):6.1f} ms)")
EOF
}
echo "$lines lines per file:"
run "absent word" "'検索語'" "'検索語'"
run "absent word, no case" "--ignore-case 'Missing'" "-i 'Missing'"
run "regular expression" "--regex '設定[0-9]+年'" "-E '設定[0-9]+年'"
run "regular expression, common" "--regex 'value [a-z]+'" "-E 'value [a-z]+'"

# The engine's search alone: the texts read once, then searched 1 and 11 times; the
# difference over ten is one search of both texts, beside grep -c in the same run.
repeat=$(dirname "$cli")/bench/search_repeat
if [ -x "$repeat" ]; then
  hyperfine --ignore-failure --warmup 1 --runs "$runs" --export-json "$work/result.json" \
    -n once "$repeat 1 '検索語' $a $b > $work/out" \
    -n eleven "$repeat 11 '検索語' $a $b > $work/out" \
    -n grep "grep -c '検索語' $a $b > $work/out" >/dev/null
  python3 - "$work/result.json" <<'EOF'
import json, sys
t = {r["command"]: r["mean"] for r in json.load(open(sys.argv[1]))["results"]}
search = (t["eleven"] - t["once"]) / 10
print(f"{'absent word, search alone':28s} kestrilane {search * 1000:8.1f} ms  grep {t['grep'] * 1000:8.1f} ms  "
      f"ratio {search / t['grep']:5.2f}   (reading both files {t['once'] * 1000 - search * 1000:6.1f} ms)")
EOF
fi

echo "peak memory (absent word): kestrilane $(( $(peak "$cli" find --count 検索語 "$a" "$b") / 1024 )) MiB," \
     "grep $(( $(peak grep -c 検索語 "$a" "$b") / 1024 )) MiB"
