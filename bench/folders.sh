#!/usr/bin/env bash
# Measures `kestrilane-cli compare-dirs --brief` against `diff -rq` and `cmp`, each pair of
# tools in one hyperfine run with a warm cache:
#   1. two trees of FILES files (default 20,000) in 200 folders, 1% of the files changed
#      and 1% only on one side;
#   2. one file of BIG_MIB MiB (default 1024) on each side that differs in its last byte,
#      against `cmp` on that file;
#   3. the peak memory of the console and of the window (offscreen, until it has shown the
#      result) on MANY files (default 100,000), with diff -rq's beside them.
#
# usage: bench/folders.sh [BUILD_DIR]     (default: build/)
# Environment: FILES, BIG_MIB, MANY, RUNS (default 5) runs per tool.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
cli=$build/kestrilane-cli
files=${FILES:-20000}
big_mib=${BIG_MIB:-1024}
many=${MANY:-100000}
runs=${RUNS:-5}

for tool in hyperfine python3 diff cmp; do
  command -v "$tool" >/dev/null || { echo "folders.sh: $tool is missing" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "folders.sh: /usr/bin/time is missing (package time)" >&2; exit 1; }
[ -x "$cli" ] || { echo "folders.sh: $cli not built" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Two trees: B is A with every 100th file changed (every other one in size), every 100th
# file (offset 50) only in A and as many other files only in B.
make_trees() {
  python3 - "$1" "$2/a" "$2/b" <<'PY'
import os, random, sys
count, a, b = int(sys.argv[1]), sys.argv[2], sys.argv[3]
rng = random.Random(24)
folders = max(1, count // 100)
for k in range(count):
    rel = f"d{k % folders:03d}/file{k:06d}.txt"
    data = "".join(f"行 {rng.randrange(10**6)} 文書の本文 line\n" for _ in range(rng.randrange(5, 60))).encode()
    for side in (a, b):
        os.makedirs(os.path.join(side, os.path.dirname(rel)), exist_ok=True)
    if k % 100 == 50:
        open(os.path.join(a, rel), "wb").write(data)
        open(os.path.join(b, rel.replace("file", "new")), "wb").write(data)
        continue
    open(os.path.join(a, rel), "wb").write(data)
    if k % 100 == 0:
        data = data[:-2] + b"X\n" if k % 200 == 0 else data + b"added\n"
    open(os.path.join(b, rel), "wb").write(data)
PY
}

peak() { { /usr/bin/time -v "$@" 2>&1 >/dev/null || true; } | awk -F': ' '/Maximum resident set size/ {print $2}'; }

make_trees "$files" "$work/trees"
a=$work/trees/a
b=$work/trees/b
hyperfine --ignore-failure --warmup 2 --runs "$runs" --export-json "$work/trees.json" \
  -n kestrilane "$cli compare-dirs --brief $a $b > /dev/null" \
  -n "diff -rq" "diff -rq $a $b > /dev/null"

# The large file in folders of its own, so that both tools read the same bytes.
mkdir -p "$work/big/a" "$work/big/b"
head -c "$((big_mib * 1024 * 1024))" /dev/urandom > "$work/big/a/big.bin"
cp "$work/big/a/big.bin" "$work/big/b/big.bin"
printf 'Z' | dd of="$work/big/b/big.bin" bs=1 seek="$((big_mib * 1024 * 1024 - 1))" conv=notrunc status=none
hyperfine --ignore-failure --warmup 1 --runs "$runs" --export-json "$work/big.json" \
  -n kestrilane "$cli compare-dirs --brief $work/big/a $work/big/b > /dev/null" \
  -n cmp "cmp $work/big/a/big.bin $work/big/b/big.bin > /dev/null"
rm -rf "$work/big"

rm -rf "$work/trees"
make_trees "$many" "$work/many"
cli_kib=$(peak "$cli" compare-dirs --brief "$work/many/a" "$work/many/b")
diff_kib=$(peak diff -rq "$work/many/a" "$work/many/b")
window_kib=
if [ -x "$build/kestrilane" ]; then
  # The window compares, shows the tree and is closed once the result has stood a while.
  window_kib=$( { QT_QPA_PLATFORM=offscreen /usr/bin/time -v timeout -s INT 40 \
    "$build/kestrilane" "$work/many/a" "$work/many/b" 2>&1 >/dev/null || true; } |
    awk -F': ' '/Maximum resident set size/ {print $2}')
fi

python3 - "$work/trees.json" "$work/big.json" "$files" "$big_mib" "$many" "$cli_kib" "$diff_kib" "$window_kib" <<'PY'
import json, sys
def means(path):
    return {r["command"]: r["mean"] for r in json.load(open(path))["results"]}
t, g = means(sys.argv[1]), means(sys.argv[2])
files, big, many = int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
k, d = t["kestrilane"], t["diff -rq"]
print(f"{files:,} files, 1% changed, 1% one-sided: kestrilane {k * 1000:8.1f} ms  diff -rq {d * 1000:8.1f} ms  ratio {k / d:5.2f}")
k, c = g["kestrilane"], g["cmp"]
print(f"{big:,} MiB file changed in its last byte:   kestrilane {k * 1000:8.1f} ms  cmp      {c * 1000:8.1f} ms  ratio {k / c:5.2f}")
line = f"peak memory on {many:,} files: kestrilane-cli {int(sys.argv[6]) / 1024:6.1f} MiB  diff -rq {int(sys.argv[7]) / 1024:6.1f} MiB"
if sys.argv[8]:
    line += f"  window {int(sys.argv[8]) / 1024:6.1f} MiB"
print(line)
PY
