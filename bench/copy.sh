#!/usr/bin/env bash
# Copies a 1 GiB file and a tree of 20,000 small files with the program's engine (fvtool copy)
# and with `cp -a`, on the same data in one run; prints wall time and peak RSS of each and
# one RATIO line per job (ours/peer; below 1 means ours is faster). Each side runs three times
# alternately after a sync and the best time counts, so that a neighbour's burst on a shared
# machine or the write-back of the previous run does not decide the figure.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
fvtool=${FVTOOL:-$here/build/bin/fvtool}
work=$(mktemp -d "${BENCH_TMP:-/tmp}/fvbench-copy.XXXXXX")
trap 'rm -rf "$work"' EXIT
[[ -x $fvtool ]] || { echo "build fvtool first ($fvtool)" >&2; exit 1; }

mkdir -p "$work/big" "$work/small"
head -c $((1 << 30)) /dev/urandom > "$work/big/one.bin"
python3 - "$work/small/tree" <<'PY'
import os, sys, random
root = sys.argv[1]
rnd = random.Random(1)
for d in range(200):
    folder = os.path.join(root, "d%03d" % d)
    os.makedirs(folder)
    for f in range(100):
        with open(os.path.join(folder, "f%03d.txt" % f), "wb") as out:
            out.write(rnd.randbytes(rnd.randint(0, 8192)))
PY
sync

measure() { # command...: prints "wall rss" of the run, after the last run's writes are out
  sync
  /usr/bin/time -o "$work/time" -f '%e %M' "$@" >/dev/null 2>&1
  tail -1 "$work/time"
}

best() { # job source: three alternating runs each, best wall time and its RSS
  local job=$1 src=$2 ours_best="" peer_best="" ours_rss=0 peer_rss=0
  for round in 1 2 3; do
    rm -rf "$work/out"; mkdir "$work/out"
    read -r wall rss < <(measure "$fvtool" copy "$src" "$work/out/")
    [[ $round != 1 ]] || cmp -s <(cd "$src" && find . -type f -exec md5sum {} + | sort) <(cd "$work/out/$(basename "$src")" && find . -type f -exec md5sum {} + | sort) \
      || { echo "copy by fvtool differs from the source" >&2; exit 1; }
    if [[ -z $ours_best ]] || awk "BEGIN{exit !($wall < $ours_best)}"; then ours_best=$wall; ours_rss=$rss; fi
    rm -rf "$work/out"; mkdir "$work/out"
    read -r wall rss < <(measure cp -a "$src" "$work/out/")
    if [[ -z $peer_best ]] || awk "BEGIN{exit !($wall < $peer_best)}"; then peer_best=$wall; peer_rss=$rss; fi
  done
  rm -rf "$work/out"
  echo "$job ours: ${ours_best}s ${ours_rss}KB peak RSS"
  echo "$job cp -a: ${peer_best}s ${peer_rss}KB peak RSS"
  awk -v j="$job" -v a="$ours_best" -v b="$peer_best" 'BEGIN { if (b < 0.01) b = 0.01; if (a < 0.01) a = 0.01; printf "RATIO %s %.3f\n", j, a / b }' >> "$work/ratios"
}

best copy-1gib-file "$work/big"
best copy-20000-files "$work/small/tree"
cat "$work/ratios"
