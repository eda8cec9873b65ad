#!/usr/bin/env bash
# The File Tools' batch engine against peers on the same generated data in one run:
# - Change Extension on 10,000 files in one folder (fvtool filetool ext) against rename(1),
#   the perl rename tool, run over a copy of the same folder with the same change;
# - collecting the work list of 100,000 files in nested folders (fvtool worklist) against
#   `find DIR -type f | wc -l`;
# - opening the File Tools menu with 100,000 list rows selected (build/bench/bench_filetools_menu,
#   no peer: the figure is its time in milliseconds, to be under 100).
# Prints wall time and peak RSS of each side and a RATIO line per job (ours/peer; below 1
# means ours is faster). Each side runs three times alternately and the best time counts.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
fvtool=${FVTOOL:-$here/build/bin/fvtool}
work=$(mktemp -d "${BENCH_TMP:-/tmp}/fvbench-filetools.XXXXXX")
trap 'rm -rf "$work"' EXIT
[[ -x $fvtool ]] || { echo "build fvtool first ($fvtool)" >&2; exit 1; }
command -v rename >/dev/null || { echo "rename(1) is needed (package rename)" >&2; exit 1; }

python3 - "$work" <<'PY'
import os, sys
root = sys.argv[1]
flat = os.path.join(root, "flat")
os.makedirs(flat)
for i in range(10000):
    with open(os.path.join(flat, "photo_%05d.txt" % i), "wb") as out:
        out.write(b"x")
tree = os.path.join(root, "tree")
for a in range(100):
    for b in range(10):
        folder = os.path.join(tree, "a%02d" % a, "b%d" % b)
        os.makedirs(folder)
        for f in range(100):
            open(os.path.join(folder, "f%03d.dat" % f), "wb").close()
PY
sync

measure() { # command...: prints "wall rss"
  /usr/bin/time -o "$work/time" -f '%e %M' "$@" >/dev/null 2>&1
  tail -1 "$work/time"
}

report() { # job ours_wall ours_rss peer_name peer_wall peer_rss
  echo "$1 ours: ${2}s ${3}KB peak RSS"
  echo "$1 $4: ${5}s ${6}KB peak RSS"
  awk -v j="$1" -v a="$2" -v b="$5" 'BEGIN { if (b < 0.01) b = 0.01; if (a < 0.01) a = 0.01; printf "RATIO %s %.3f\n", j, a / b }' >> "$work/ratios"
}

better() { [[ -z $1 ]] || awk "BEGIN{exit !($2 < $1)}"; }

ours_best="" peer_best="" ours_rss=0 peer_rss=0
for round in 1 2 3; do
  rm -rf "$work/ours" "$work/peer"
  cp -a "$work/flat" "$work/ours"; cp -a "$work/flat" "$work/peer"; sync
  read -r wall rss < <(measure "$fvtool" filetool ext --target "$work/ours" --ext bak "$work/ours")
  if better "$ours_best" "$wall"; then ours_best=$wall; ours_rss=$rss; fi
  read -r wall rss < <(measure sh -c 'cd "$1" && rename "s/\\.txt\$/.bak/" *' sh "$work/peer")
  if better "$peer_best" "$wall"; then peer_best=$wall; peer_rss=$rss; fi
  [[ $round != 1 ]] || diff <(ls "$work/ours") <(ls "$work/peer") >/dev/null \
    || { echo "the two sides gave different names" >&2; exit 1; }
done
report change-extension-10000 "$ours_best" "$ours_rss" rename "$peer_best" "$peer_rss"

ours_best="" peer_best=""
for round in 1 2 3; do
  read -r wall rss < <(measure "$fvtool" worklist "$work/tree")
  if better "$ours_best" "$wall"; then ours_best=$wall; ours_rss=$rss; fi
  read -r wall rss < <(measure sh -c 'find "$1" -type f | wc -l' sh "$work/tree")
  if better "$peer_best" "$wall"; then peer_best=$wall; peer_rss=$rss; fi
done
[[ $("$fvtool" worklist "$work/tree" | wc -l) == $(find "$work/tree" -type f | wc -l) ]] \
  || { echo "the work list misses files" >&2; exit 1; }
report collect-100000 "$ours_best" "$ours_rss" "find|wc" "$peer_best" "$peer_rss"
# What every fvtool run pays before its engine starts (loading the program's libraries).
start_best=""
for round in 1 2 3; do
  read -r wall rss < <(measure "$fvtool" version)
  if better "$start_best" "$wall"; then start_best=$wall; fi
done
echo "fvtool start-up alone: ${start_best}s"
menu_bench=$here/build/bench/bench_filetools_menu
if [[ -x $menu_bench ]]; then
  python3 -c 'import os,sys
for i in range(100000): open(os.path.join(sys.argv[1], "f%06d.txt" % i), "wb").close()' "$(mkdir -p "$work/many" && echo "$work/many")"
  "$menu_bench" "$work/many" 3 2>/dev/null | tail -1
fi
cat "$work/ratios"
