#!/usr/bin/env bash
# Times `kestrilane-cli compare --json` against `diff` on generated file pairs, in normal
# and detailed mode, with hyperfine, and prints the time ratio (kestrilane / diff) per case.
#
# usage: bench/compare.sh [BUILD_DIR]     (default: build/)
# Environment: RUNS (default 5) runs per normal-mode case; DETAILED_TIMEOUT (default 300)
# seconds after which one detailed run of an adversarial case is cut off.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
cli=$build/kestrilane-cli
runs=${RUNS:-5}
detailed_timeout=${DETAILED_TIMEOUT:-300}

for tool in hyperfine python3 diff timeout; do
  command -v "$tool" >/dev/null || { echo "compare.sh: $tool is missing" >&2; exit 1; }
done
[ -x "$cli" ] || { echo "compare.sh: $cli not built" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Writes NAME_a.txt and NAME_b.txt into the work folder.
python3 - "$work" <<'EOF'
import random, sys
work = sys.argv[1]
words = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu".split()

def line(rng, n, tag="x"):
    return f"{tag}{n:07d} " + " ".join(rng.choice(words) for _ in range(6)) + "\r\n"

def edited(rng, lines, rate):
    # Scattered edits: about rate of the lines changed, deleted or followed by a new line.
    out = []
    for k, text in enumerate(lines):
        r = rng.random()
        if r < rate / 3:
            out.append("changed " + text)
        elif r < 2 * rate / 3:
            continue
        elif r < rate:
            out.append(text)
            out.append(f"inserted {k}\r\n")
        else:
            out.append(text)
    return out

def write(name, a, b):
    for side, lines in (("a", a), ("b", b)):
        with open(f"{work}/{name}_{side}.txt", "w", encoding="ascii", newline="") as f:
            f.writelines(lines)

rng = random.Random(1)
base = [line(rng, n) for n in range(100_000)]
write("edits_100k", base, edited(rng, base, 0.01))
base = [line(rng, n) for n in range(1_000_000)]
write("edits_1m", base, edited(rng, base, 0.01))
values = [f"value {v}\r\n" for v in range(10)]
base = [rng.choice(values) for _ in range(100_000)]
write("ten_values_100k", base, edited(rng, base, 0.01))
write("different_100k", [line(rng, n, "a") for n in range(100_000)],
      [line(rng, n, "b") for n in range(100_000)])
EOF

results=()

# bench CASE MODE_OPTION RUNS WRAPPER
bench() {
  local name=$1 option=$2 count=$3 wrap=$4
  local a=$work/${name}_a.txt b=$work/${name}_b.txt
  local label="$name ${option:---normal}"
  local json=$work/result.json
  echo "== $label"
  local warmup=1
  [ "$count" -gt 1 ] || warmup=0
  hyperfine --ignore-failure --warmup "$warmup" --runs "$count" --export-json "$json" \
    -n kestrilane "$wrap $cli compare --json $option $a $b > /dev/null" \
    -n diff "diff $a $b > /dev/null"
  results+=("$(python3 - "$json" "$label" <<'EOF'
import json, sys
data = {r["command"]: r["mean"] for r in json.load(open(sys.argv[1]))["results"]}
k, d = data["kestrilane"], data["diff"]
print(f"{sys.argv[2]:<36} kestrilane {k:9.3f} s   diff {d:7.3f} s   ratio {k / d:8.1f}")
EOF
)")
}

for name in edits_100k edits_1m ten_values_100k different_100k; do
  bench "$name" "" "$runs" ""
done
bench edits_100k --detailed "$runs" ""
bench edits_1m --detailed 2 ""
# Adversarial inputs in detailed mode: one run each, cut off after the timeout.
bench ten_values_100k --detailed 1 "timeout $detailed_timeout"
bench different_100k --detailed 1 "timeout $detailed_timeout"

echo
echo "Summary (mean times; ratio = kestrilane / diff; a run cut off by the timeout counts as its limit):"
printf '%s\n' "${results[@]}"
