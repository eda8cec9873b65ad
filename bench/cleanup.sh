#!/usr/bin/env bash
# The clean-up's two long steps against their peers, on the same data in one run:
#   temp-100000: emptying a temporary folder of 100,000 owned files (fvtool cleanup temp DIR)
#                against `find DIR -mindepth 1 -user $USER -delete`;
#   trash-100000: emptying a Trash of 100,000 items (fvtool cleanup trash) against
#                `trash-empty` (trash-cli), each in a HOME of its own.
# Each side runs three times alternately and the median counts; prints wall time, peak RSS
# and one RATIO line per job (ours/peer; below 1 means ours is faster).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
fvtool=${FVTOOL:-$here/build/bin/fvtool}
work=$(mktemp -d "${BENCH_TMP:-/tmp}/fvbench-cleanup.XXXXXX")
trap 'rm -rf "$work"' EXIT
[[ -x $fvtool ]] || { echo "build fvtool first ($fvtool)" >&2; exit 1; }
command -v trash-empty >/dev/null || { echo "trash-cli is needed (trash-empty)" >&2; exit 1; }
count=${COUNT:-100000}
user=$(id -un)

make_files() { # folder: $count small files in 100 folders
  python3 - "$1" "$count" <<'PY'
import os, sys
root, count = sys.argv[1], int(sys.argv[2])
per = count // 100
for d in range(100):
    folder = os.path.join(root, "d%02d" % d)
    os.makedirs(folder)
    for f in range(per):
        open(os.path.join(folder, "f%05d" % f), "wb").close()
PY
}

make_trash() { # home: a home trash with $count items and their info files
  python3 - "$1/.local/share/Trash" "$count" <<'PY'
import os, sys
trash, count = sys.argv[1], int(sys.argv[2])
os.makedirs(trash + "/files"); os.makedirs(trash + "/info")
for i in range(count):
    open("%s/files/item%06d" % (trash, i), "wb").close()
    with open("%s/info/item%06d.trashinfo" % (trash, i), "w") as info:
        info.write("[Trash Info]\nPath=/tmp/item%06d\nDeletionDate=2024-01-01T00:00:00\n" % i)
PY
}

measure() { # command...: "wall rss"
  /usr/bin/time -o "$work/time" -f '%e %M' "$@" >/dev/null 2>&1 || true
  tail -1 "$work/time"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

run_job() { # job prepare-function ours-command peer-command
  local job=$1 prepare=$2 ours=$3 peer=$4
  : > "$work/ours"; : > "$work/peer"
  for round in 1 2 3; do
    rm -rf "$work/t"; mkdir -p "$work/t"; $prepare "$work/t"; sync
    measure env HOME="$work/t" XDG_DATA_HOME="$work/t/.local/share" bash -c "$ours" >> "$work/ours"
    rm -rf "$work/t"; mkdir -p "$work/t"; $prepare "$work/t"; sync
    measure env HOME="$work/t" XDG_DATA_HOME="$work/t/.local/share" bash -c "$peer" >> "$work/peer"
  done
  local a b
  a=$(cut -d' ' -f1 "$work/ours" | median); b=$(cut -d' ' -f1 "$work/peer" | median)
  echo "$job ours: ${a}s $(cut -d' ' -f2 "$work/ours" | sort -n | tail -1)KB peak RSS"
  echo "$job peer: ${b}s $(cut -d' ' -f2 "$work/peer" | sort -n | tail -1)KB peak RSS"
  awk -v j="$job" -v a="$a" -v b="$b" 'BEGIN { if (b < 0.01) b = 0.01; if (a < 0.01) a = 0.01; printf "RATIO %s %.3f\n", j, a / b }' >> "$work/ratios"
}

prepare_temp() { mkdir -p "$1/tmp"; make_files "$1/tmp"; }
prepare_trash() { make_trash "$1"; }

run_job "temp-$count" prepare_temp "'$fvtool' cleanup temp '$work/t/tmp'" "find '$work/t/tmp' -mindepth 1 -user $user -delete"
# Ours empties the job's home trash alone; trash-empty (which has no such choice) empties
# the volumes' trash folders too, which are empty or nearly so.
run_job "trash-$count" prepare_trash "'$fvtool' cleanup trash '$work/t/.local/share/Trash'" "trash-empty"
cat "$work/ratios"
