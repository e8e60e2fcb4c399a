#!/usr/bin/env bash
# Measures the comparison against GNU diff and `git diff --no-index` on generated file pairs:
# - time of `kestrilane-cli compare --json`, all three tools timed in one hyperfine run per
#   case, output to /dev/null, with the ratios kestrilane / diff and kestrilane / git;
# - peak memory (/usr/bin/time -v) of the three tools on the 1,000,000-line pair, against the
#   size of the two inputs;
# - peak memory of the program window after it has compared a 200,000-line pair;
# - loading 1,000,000 lines (build/bench/load_bench, in process) against `wc -l` on the same file.
#
# usage: bench/compare.sh [BUILD_DIR]     (default: build/)
# Environment: RUNS (default 10) runs per case; DETAILED=1 adds detailed-mode cases, each cut
# off after DETAILED_TIMEOUT (default 300) seconds; MINIMAL=1 adds the minimal mode on the
# 100k pairs and the detailed mode on ten values (all must stay within 1.5x GNU diff).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
cli=$build/kestrilane-cli
program=$build/kestrilane
runs=${RUNS:-10}
detailed_timeout=${DETAILED_TIMEOUT:-300}

for tool in hyperfine python3 diff git timeout wc; do
  command -v "$tool" >/dev/null || { echo "compare.sh: $tool is missing" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "compare.sh: /usr/bin/time is missing (package time)" >&2; exit 1; }
[ -x "$cli" ] || { echo "compare.sh: $cli not built" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Writes NAME_a.txt and NAME_b.txt into the work folder.
python3 - "$work" <<'EOF'
import random, sys
work = sys.argv[1]
words = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu".split()

def line(rng, n, tag="x"):
    # About 62 bytes a line, so that 1,000,000 lines make a file of about 62 MB.
    return f"{tag}{n:07d} " + " ".join(rng.choice(words) for _ in range(9)) + "\r\n"

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
base = [line(rng, n) for n in range(200_000)]
write("edits_200k", base, edited(rng, base, 0.01))
base = [line(rng, n) for n in range(1_000_000)]
write("edits_1m", base, edited(rng, base, 0.01))
values = [f"value {v}\r\n" for v in range(10)]
write("ten_values_random_100k", [rng.choice(values) for _ in range(100_000)],
      [rng.choice(values) for _ in range(100_000)])
base = [rng.choice(values) for _ in range(100_000)]
write("ten_values_edited_100k", base, edited(rng, base, 0.01))
write("different_100k", [line(rng, n, "a") for n in range(100_000)],
      [line(rng, n, "b") for n in range(100_000)])
EOF

results=()
mib() { python3 -c "print(f'{($1) / 1048576:.1f}')"; }

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
    -n diff "diff $a $b > /dev/null" \
    -n git "git diff --no-index --no-color $a $b > /dev/null"
  results+=("$(python3 - "$json" "$label" <<'EOF'
import json, sys
data = {r["command"]: r["mean"] for r in json.load(open(sys.argv[1]))["results"]}
k, d, g = data["kestrilane"], data["diff"], data["git"]
print(f"{sys.argv[2]:<34} kestrilane {k:8.3f} s  diff {d:7.3f} s  git {g:7.3f} s"
      f"  ratio to diff {k / d:6.2f}  to git {k / g:6.2f}")
EOF
)")
}

for name in edits_100k edits_1m ten_values_random_100k ten_values_edited_100k different_100k; do
  bench "$name" "" "$runs" ""
done
if [ "${DETAILED:-0}" = 1 ]; then
  bench edits_100k --detailed "$runs" ""
  bench edits_1m --detailed 2 ""
  # Adversarial inputs in detailed mode: one run each, cut off after the timeout.
  bench ten_values_edited_100k --detailed 1 "timeout $detailed_timeout"
  bench different_100k --detailed 1 "timeout $detailed_timeout"
fi

if [ "${MINIMAL:-0}" = 1 ]; then
  bench edits_100k --minimal "$runs" ""
  bench ten_values_random_100k --minimal "$runs" ""
  bench ten_values_edited_100k --minimal "$runs" ""
  bench ten_values_random_100k --detailed "$runs" ""
  bench ten_values_edited_100k --detailed "$runs" ""
fi

# Peak resident memory (KiB) of one command.
# (diff and git exit with 1 when the files differ.)
peak() { { /usr/bin/time -v "$@" 2>&1 >/dev/null || true; } | awk -F': ' '/Maximum resident set size/ {print $2}'; }

echo
echo "== peak memory, edits_1m"
a=$work/edits_1m_a.txt b=$work/edits_1m_b.txt
inputs=$(( $(stat -c %s "$a") + $(stat -c %s "$b") ))
memory=()
for tool in kestrilane diff git; do
  case $tool in
    kestrilane) kib=$(peak "$cli" compare --json "$a" "$b") ;;
    diff) kib=$(peak diff "$a" "$b") ;;
    git) kib=$(peak git diff --no-index --no-color "$a" "$b") ;;
  esac
  memory+=("$(printf '%-10s peak %8s MiB  %5.2f x the inputs (%s MiB)' "$tool" "$(mib "$kib * 1024")" \
    "$(python3 -c "print($kib * 1024 / $inputs)")" "$(mib "$inputs")")")
done

# The program window: compares the 200k pair on start (offscreen); once its CPU time stops
# growing the run is over and the high-water mark is read.
window=""
if [ -x "$program" ]; then
  a=$work/edits_200k_a.txt b=$work/edits_200k_b.txt
  inputs=$(( $(stat -c %s "$a") + $(stat -c %s "$b") ))
  home=$work/home
  mkdir -p "$home"
  HOME=$home QT_QPA_PLATFORM=offscreen "$program" "$a" "$b" >/dev/null 2>&1 &
  pid=$!
  last=-1
  for _ in $(seq 1 120); do
    sleep 1
    ticks=$(awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null || echo gone)
    [ "$ticks" = gone ] && break
    [ "$ticks" = "$last" ] && break
    last=$ticks
  done
  hwm=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  window=$(printf 'program window, edits_200k: peak %s MiB; goal 2 x inputs + 60 MiB = %s MiB' \
    "$(mib "$hwm * 1024")" "$(mib "2 * $inputs + 60 * 1048576")")
fi

# Loading: the in-process load of 1,000,000 lines against `wc -l` as a whole process.
load=""
if [ -x "$build/bench/load_bench" ]; then
  ms=$("$build/bench/load_bench" --benchmark_filter=BM_LoadIntoDocument --benchmark_format=json \
        | python3 -c "import json,sys; print(json.load(sys.stdin)['benchmarks'][0]['real_time'])")
  file=${TMPDIR:-/tmp}/kestrilane-load-bench-1m.txt
  hyperfine -N --warmup 2 --runs "$runs" --export-json "$work/wc.json" "wc -l $file" >/dev/null
  wc_ms=$(python3 -c "import json; print(json.load(open('$work/wc.json'))['results'][0]['mean'] * 1000)")
  load=$(python3 -c "print(f'loading 1M lines: load_bench {$ms:.1f} ms, wc -l {$wc_ms:.1f} ms, ratio {$ms / $wc_ms:.2f}')")
fi

echo
echo "Summary (mean times; a run cut off by the timeout counts as its limit):"
printf '%s\n' "${results[@]}"
printf '%s\n' "${memory[@]}"
[ -z "$window" ] || echo "$window"
[ -z "$load" ] || echo "$load"
