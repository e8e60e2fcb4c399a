#!/usr/bin/env bash
# How large the patches of `kestrilane-cli compare --unified` (minimal mode by default) are
# against `diff -u` on real and generated document pairs, and whether patch turns A into B:
# - consecutive versions of the text files in a git repository's history (REPO, default
#   this repository: the README, the manual, the sources and scripts);
# - generated documents with many repeated lines (code fences, blank lines, <script> lines)
#   and a few edits each.
# Prints the changed-line totals of both tools, their ratio (the goal is at most 1.00), the
# same figure for `--mode=normal`, and the number of pairs that patch did not reproduce.
#
# usage: bench/minimal_quality.sh [BUILD_DIR] [REPO]      Environment: PAIRS (default 600,
# of which 100 generated)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
repo=${2:-$top}
cli=$build/kestrilane-cli
for tool in python3 diff patch git; do
  command -v "$tool" >/dev/null || { echo "minimal_quality.sh: $tool is missing" >&2; exit 1; }
done
[ -x "$cli" ] || { echo "minimal_quality.sh: $cli not built" >&2; exit 1; }

python3 - "$cli" "$repo" "${PAIRS:-600}" <<'EOF2'
import os, random, subprocess, sys, tempfile
cli, repo, limit = sys.argv[1], sys.argv[2], int(sys.argv[3])
work = tempfile.mkdtemp()

def git(*args):
    return subprocess.run(["git", "-C", repo, *args], capture_output=True, check=True).stdout

pairs = []
files = [f for f in git("ls-files").decode().split("\n")
         if f.endswith((".md", ".html", ".txt", ".cpp", ".h", ".sh"))]
for f in files:
    revs = git("log", "--format=%H", "--", f).decode().split()
    for new, old in zip(revs, revs[1:]):
        try:
            a, b = git("show", f"{old}:{f}"), git("show", f"{new}:{f}")
        except subprocess.CalledProcessError:
            continue
        if a != b:
            pairs.append((f"{f}@{old[:7]}", a, b))

pairs = pairs[:max(limit - 100, 0)]
history = len(pairs)

rng = random.Random(25)
pieces = ["```\n", "\n", "<script>\n", "</script>\n", "}\n", "  return x;\n", "---\n"]
def document(n):
    lines = []
    for k in range(n):
        lines.append(rng.choice(pieces) if rng.random() < 0.5 else f"line {rng.randrange(n // 3)} text\n")
    return lines
for k in range(100):
    a = document(rng.randrange(20, 400))
    b = list(a)
    for _ in range(rng.randrange(1, 8)):
        at = rng.randrange(len(b) + 1)
        r = rng.random()
        if r < 0.4 and b:
            del b[min(at, len(b) - 1)]
        elif r < 0.7:
            b.insert(at, rng.choice(pieces))
        else:
            b[min(at, len(b) - 1)] = f"edited {k}\n"
    pairs.append((f"generated {k}", "".join(a).encode(), "".join(b).encode()))

def changed(diff):
    return sum(1 for line in diff.split(b"\n")
               if (line.startswith(b"+") and not line.startswith(b"+++ "))
               or (line.startswith(b"-") and not line.startswith(b"--- ")))

totals = {"diff": 0, "minimal": 0, "normal": 0}
failed = {"minimal": 0, "normal": 0}
worse = []
pa, pb, pw = (os.path.join(work, n) for n in ("a", "b", "w"))
for name, a, b in pairs:
    open(pa, "wb").write(a)
    open(pb, "wb").write(b)
    d = subprocess.run(["diff", "-u", pa, pb], capture_output=True).stdout
    totals["diff"] += changed(d)
    for mode, args in (("minimal", []), ("normal", ["--mode=normal"])):
        out = subprocess.run([cli, "compare", "--unified", *args, pa, pb], capture_output=True).stdout
        totals[mode] += changed(out)
        if mode == "minimal" and changed(out) > changed(d):
            worse.append(name)
        open(pw, "wb").write(a)
        p = subprocess.run(["patch", "-s", "-N", pw], input=out, capture_output=True)
        if p.returncode != 0 or open(pw, "rb").read() != b:
            failed[mode] += 1
print(f"pairs: {len(pairs)} ({history} from {repo} history, {len(pairs) - history} generated)")
print(f"changed lines: diff -u {totals['diff']}, compare --unified {totals['minimal']} "
      f"({totals['minimal'] / max(totals['diff'], 1):.3f}x), --mode=normal {totals['normal']} "
      f"({totals['normal'] / max(totals['diff'], 1):.3f}x)")
print(f"pairs with more changed lines than diff -u: {len(worse)} {worse[:5]}")
print(f"patch failures: minimal {failed['minimal']}, normal {failed['normal']}")
EOF2
