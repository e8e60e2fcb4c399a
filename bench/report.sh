#!/usr/bin/env bash
# Measures the HTML report on a 100,000-line pair with about 1% of its lines edited:
# - time of `kestrilane-cli compare --html` (all rows) against `compare --json` and GNU diff
#   on the same pair, all in one hyperfine run, output to /dev/null;
# - peak memory (/usr/bin/time -v) of the two;
# - the differences-only report (--context 3) loaded by headless Chromium up to its
#   screenshot, against Chromium doing the same for an empty page (its own start-up).
#
# usage: bench/report.sh [BUILD_DIR]     (default: build/)
# Environment: RUNS (default 10) runs per case.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
cli=$build/kestrilane-cli
runs=${RUNS:-10}

for tool in hyperfine python3; do
  command -v "$tool" >/dev/null || { echo "report.sh: $tool is missing" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "report.sh: /usr/bin/time is missing (package time)" >&2; exit 1; }
[ -x "$cli" ] || { echo "report.sh: $cli not built" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'EOF2'
import random, sys
work = sys.argv[1]
rng = random.Random(26)
words = "alpha beta gamma delta epsilon 議事録 確認 担当 予定 完了 未着手 報告".split()
a, b = [], []
for k in range(100000):
    text = f"x{k:07d} " + " ".join(rng.choice(words) for _ in range(8)) + "\r\n"
    a.append(text)
    r = rng.random()
    if r < 0.01 / 3:
        b.append("changed " + text)
    elif r < 0.02 / 3:
        continue
    elif r < 0.01:
        b.extend([text, f"inserted {k}\r\n"])
    else:
        b.append(text)
for side, lines in (("a", a), ("b", b)):
    with open(f"{work}/{side}.txt", "w", encoding="utf-8", newline="") as f:
        f.writelines(lines)
EOF2
a=$work/a.txt
b=$work/b.txt

hyperfine --ignore-failure --warmup 2 --runs "$runs" --export-json "$work/time.json" \
  -n json "$cli compare --json $a $b > /dev/null" \
  -n html "$cli compare --html $a $b > /dev/null" \
  -n diff "diff $a $b > /dev/null" >/dev/null
time_line=$(python3 - "$work/time.json" <<'EOF2'
import json, sys
r = {x["command"]: x["mean"] for x in json.load(open(sys.argv[1]))["results"]}
print(f"compare --html (all rows) {r['html'] * 1000:.1f} ms, compare --json {r['json'] * 1000:.1f} ms, "
      f"ratio {r['html'] / r['json']:.2f} (goal <= 2); GNU diff {r['diff'] * 1000:.1f} ms, "
      f"--html / diff {r['html'] / r['diff']:.2f}")
EOF2
)

peak() {
  /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ {print $2}'
}
json_kib=$(peak "$cli" compare --json "$a" "$b")
html_kib=$(peak "$cli" compare --html "$a" "$b")
memory_line=$(python3 -c "print(f'peak memory: --html {$html_kib / 1024:.1f} MiB, --json {$json_kib / 1024:.1f} MiB, ratio {$html_kib / $json_kib:.2f} (goal <= 1.2)')")

"$cli" compare --html --context 3 "$a" "$b" -o "$work/report.html"
printf '<!DOCTYPE html><title>empty</title>\n' > "$work/empty.html"
browser_line="headless Chromium: not installed"
if command -v chromium >/dev/null; then
  shot() {
    echo "chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --user-data-dir=$work/profile" \
         "--window-size=1400,1000 --screenshot=$work/shot.png file://$1 >/dev/null 2>&1"
  }
  hyperfine --warmup 1 --runs "$(( runs < 5 ? runs : 5 ))" --export-json "$work/browser.json" \
    -n report "$(shot "$work/report.html")" -n empty "$(shot "$work/empty.html")" >/dev/null
  size=$(stat -c %s "$work/report.html")
  browser_line=$(python3 - "$work/browser.json" "$size" <<'EOF2'
import json, sys
r = {x["command"]: x["mean"] for x in json.load(open(sys.argv[1]))["results"]}
print(f"differences-only report ({int(sys.argv[2]) / 1024:.0f} KiB) to screenshot: {r['report']:.2f} s "
      f"(goal <= 3 s); an empty page {r['empty']:.2f} s")
EOF2
)
fi

echo "$time_line"
echo "$memory_line"
echo "$browser_line"
