#!/usr/bin/env bash
# Folder synchronisation (fvtool sync, the dialog's engine) against the usual tools, on one
# generated tree of about 500 MB in 20,000 files, in one run:
#   sync-first        a full first sync into an empty folder, against `cp -a`
#   sync-incremental  after 1% of the files changed on each side, against `rsync -a --update`
#                     run both ways and `cp -a --update` run both ways (RATIO against each
#                     and against the faster of the two)
#   sync-nothing      a run with nothing to do, against `rsync -a --update` both ways
# Each job runs three times alternately after a sync, the best wall time counts; peak RSS is
# that of the best run. Prints `RATIO <job> <ours/peer>` lines (below 1: ours is faster).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
fvtool=${FVTOOL:-$here/build/bin/fvtool}
work=$(mktemp -d "${BENCH_TMP:-/tmp}/fvbench-sync.XXXXXX")
trap 'rm -rf "$work"' EXIT
[[ -x $fvtool ]] || { echo "build fvtool first ($fvtool)" >&2; exit 1; }
command -v rsync >/dev/null || { echo "rsync is missing (bash scripts/install-deps.sh)" >&2; exit 1; }

python3 - "$work/src" <<'PY'
import os, sys, random
root = sys.argv[1]
rnd = random.Random(17)
for d in range(200):
    folder = os.path.join(root, "d%03d" % d, "sub") if d % 4 == 0 else os.path.join(root, "d%03d" % d)
    os.makedirs(folder)
    for f in range(100):
        with open(os.path.join(folder, "f%03d.bin" % f), "wb") as out:
            out.write(os.urandom(rnd.randint(0, 51200)))
PY
echo "tree: $(find "$work/src" -type f | wc -l) files, $(du -sm "$work/src" | cut -f1) MB"

measure() { # command...: prints "wall rss"
  sync
  /usr/bin/time -o "$work/time" -f '%e %M' "$@" >/dev/null 2>"$work/stderr" || { cat "$work/stderr" >&2; exit 1; }
  tail -1 "$work/time"
}

# Changes 1% of the files on each side (different files on each), newer than before.
change() { # left right round
  python3 - "$1" "$2" "$3" <<'PY'
import os, sys, random, time
left, right, round_ = sys.argv[1], sys.argv[2], int(sys.argv[3])
rnd = random.Random(round_)
files = sorted(os.path.relpath(os.path.join(d, f), left) for d, _, fs in os.walk(left) for f in fs)
picked = rnd.sample(files, len(files) // 50)
now = time.time() + round_ * 10
for i, rel in enumerate(picked):
    side = left if i % 2 == 0 else right
    path = os.path.join(side, rel)
    with open(path + ".new", "wb") as out:
        out.write(os.urandom(rnd.randint(0, 51200)))
    os.replace(path + ".new", path)
    os.utime(path, (now, now))
PY
}

same() { # left right: both sides hold the same files
  diff -r "$1" "$2" >/dev/null || { echo "the two sides differ after $3" >&2; exit 1; }
}

record() { # job ours_wall ours_rss peer_name peer_wall peer_rss
  echo "$1 ours: ${2}s ${3}KB peak RSS"
  echo "$1 $4: ${5}s ${6}KB peak RSS"
}

ratio() { awk -v j="$1" -v a="$2" -v b="$3" 'BEGIN { if (b < 0.01) b = 0.01; if (a < 0.01) a = 0.01; printf "RATIO %s %.3f\n", j, a / b }' >> "$work/ratios"; }
better() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(b == "" || a < b) }'; }

# First sync: into an empty folder.
first_ours="" first_peer=""
for round in 1 2 3; do
  rm -rf "$work/out"; mkdir "$work/out"
  read -r wall rss < <(measure "$fvtool" sync "$work/src" "$work/out" --recurse)
  [[ $round != 1 ]] || same "$work/src" "$work/out" "fvtool sync"
  if better "$wall" "$first_ours"; then first_ours=$wall; first_ours_rss=$rss; fi
  rm -rf "$work/out"; mkdir "$work/out"
  read -r wall rss < <(measure cp -a "$work/src/." "$work/out")
  if better "$wall" "$first_peer"; then first_peer=$wall; first_peer_rss=$rss; fi
done
record sync-first "$first_ours" "$first_ours_rss" "cp -a" "$first_peer" "$first_peer_rss"
ratio sync-first-vs-cp "$first_ours" "$first_peer"

# Incremental and nothing-to-do runs, on two equal sides.
rm -rf "$work/out"; cp -a "$work/src/." "$work/out"
rsync_both() { rsync -a --update "$1/" "$2/" && rsync -a --update "$2/" "$1/"; }
cp_both() { cp -a --update "$1/." "$2" && cp -a --update "$2/." "$1"; }
export -f rsync_both cp_both
inc_ours="" inc_rsync="" inc_cp="" none_ours="" none_rsync=""
step=0
for round in 1 2 3; do
  step=$((step + 1)); change "$work/src" "$work/out" $step
  read -r wall rss < <(measure "$fvtool" sync "$work/src" "$work/out" --recurse)
  same "$work/src" "$work/out" "fvtool sync"
  if better "$wall" "$inc_ours"; then inc_ours=$wall; inc_ours_rss=$rss; fi
  step=$((step + 1)); change "$work/src" "$work/out" $step
  read -r wall rss < <(measure bash -c 'rsync_both "$0" "$1"' "$work/src" "$work/out")
  same "$work/src" "$work/out" "rsync"
  if better "$wall" "$inc_rsync"; then inc_rsync=$wall; inc_rsync_rss=$rss; fi
  step=$((step + 1)); change "$work/src" "$work/out" $step
  read -r wall rss < <(measure bash -c 'cp_both "$0" "$1"' "$work/src" "$work/out")
  same "$work/src" "$work/out" "cp --update"
  if better "$wall" "$inc_cp"; then inc_cp=$wall; inc_cp_rss=$rss; fi

  read -r wall rss < <(measure "$fvtool" sync "$work/src" "$work/out" --recurse)
  if better "$wall" "$none_ours"; then none_ours=$wall; none_ours_rss=$rss; fi
  read -r wall rss < <(measure bash -c 'rsync_both "$0" "$1"' "$work/src" "$work/out")
  if better "$wall" "$none_rsync"; then none_rsync=$wall; none_rsync_rss=$rss; fi
done
record sync-incremental "$inc_ours" "$inc_ours_rss" "rsync -a --update both ways" "$inc_rsync" "$inc_rsync_rss"
record sync-incremental "$inc_ours" "$inc_ours_rss" "cp -a --update both ways" "$inc_cp" "$inc_cp_rss"
record sync-nothing "$none_ours" "$none_ours_rss" "rsync -a --update both ways" "$none_rsync" "$none_rsync_rss"
ratio sync-incremental-vs-rsync "$inc_ours" "$inc_rsync"
ratio sync-incremental-vs-cp "$inc_ours" "$inc_cp"
fastest=$(awk -v a="$inc_rsync" -v b="$inc_cp" 'BEGIN { print (a < b ? a : b) }')
ratio sync-incremental-vs-faster "$inc_ours" "$fastest"
ratio sync-nothing-vs-rsync "$none_ours" "$none_rsync"
cat "$work/ratios"
