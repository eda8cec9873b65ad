#!/usr/bin/env bash
# The file search engine (fvtool search, fvtool dupes) against peers on the same generated
# data in one run, warm cache:
#   name search     (case-insensitive glob, files only)  fdfind -u -i -t f -g   and find -iname
#   content search  (case-insensitive, every file)        rg -l -uuu -i -F       and grep -rlia
#   duplicates                                            jdupes -r              and fdupes -r
# Data (SCALE=1): 300,000 files in 3,000 folders; 1 GB of text and binary files with a word
# planted in a known number of them (some hidden, some binary); 1.6 GB of 27,000 files with
# about 2,400 groups of duplicates (no empty files). The hit sets and groups are compared
# with the peers'; each timing is the best of three; peak RSS is printed for every program.
# Ends with one `RATIO <job> <ours/peer>` line per comparison (below 1: ours is faster).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
fvtool=${FVTOOL:-$here/build/bin/fvtool}
SCALE=${SCALE:-1}
[[ -x $fvtool ]] || { echo "build fvtool first ($fvtool)" >&2; exit 1; }
for peer in fdfind rg jdupes fdupes; do
  command -v "$peer" > /dev/null || { echo "$peer is missing (scripts/packages/search.txt)" >&2; exit 1; }
done
work=$(mktemp -d "${BENCH_TMP:-/tmp}/fvbench-search.XXXXXX")
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

python3 - "$work" "$SCALE" <<'PY'
import os, sys, random
root, scale = sys.argv[1], float(sys.argv[2])
rnd = random.Random(16)
words = b"alpha beta gamma delta report folder window search engine byte value list tree".split()

# 1. Names: folders of 100 files each, mixed case, some hidden, some matching *report*.txt.
folders = int(3000 * scale)
for d in range(folders):
    folder = os.path.join(root, "names", "top%02d" % (d % 30), "d%04d" % d)
    os.makedirs(folder)
    for f in range(100):
        stem = ("Report" if f % 10 == 0 else "rePORT" if f % 10 == 1 else "file") + "_%d_%d" % (d, f)
        ext = ("txt", "TXT", "jpg", "bin", "c")[f % 5]
        name = ("." if f % 17 == 0 else "") + stem + "." + ext
        with open(os.path.join(folder, name), "wb") as out:
            out.write(b"x")

# 2. Contents: 1 GB of text and binary files; the word planted in every 37th file.
planted = 0
total, target, i = 0, int(1_000_000_000 * scale), 0
text_block = b" ".join(rnd.choice(words) for _ in range(200000)) + b"\n"
while total < target:
    folder = os.path.join(root, "contents", "c%03d" % (i % 100), "sub%d" % (i % 3))
    os.makedirs(folder, exist_ok=True)
    size = rnd.randint(1000, 200000)
    binary = i % 2 == 1
    if binary:
        data = bytearray(os.urandom(size))
    else:
        start = rnd.randint(0, len(text_block) - size - 1)
        data = bytearray(text_block[start:start + size])
    if i % 37 == 0:
        at = rnd.randint(0, size - 40)
        data[at:at + 19] = (b"QuorvelPlantedToken", b"quorvelplantedtoken", b"QUORVELPLANTEDTOKEN")[i % 3]
        planted += 1
    name = ("." if i % 11 == 0 else "") + "doc%06d.%s" % (i, "bin" if binary else "txt")
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)
    total += size
    i += 1
with open(os.path.join(root, "planted"), "w") as out:
    out.write(str(planted))

# 3. Duplicates: 27,000 files of 1.6 GB, about 2,400 groups; equal sizes with other bytes too.
count, groups = int(27000 * scale), int(2400 * scale)
made = 0
sizes = [rnd.randint(1, 118000) for _ in range(count)]
for g in range(groups):
    data = os.urandom(sizes[made])
    for copy in range(rnd.randint(2, 4)):
        if made >= count:
            break
        folder = os.path.join(root, "dupes", "g%03d" % (made % 300))
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "dup%06d.bin" % made), "wb") as out:
            out.write(data)
        made += 1
while made < count:
    folder = os.path.join(root, "dupes", "u%03d" % (made % 300))
    os.makedirs(folder, exist_ok=True)
    # Every tenth unique file copies an earlier size but not its bytes.
    size = sizes[made // 10] if made % 10 == 0 else sizes[made]
    with open(os.path.join(folder, "uniq%06d.bin" % made), "wb") as out:
        out.write(os.urandom(size))
    made += 1
PY
echo "data: $(du -sh "$work/names" | cut -f1) names ($(find "$work/names" -type f | wc -l) files)," \
     "$(du -sh "$work/contents" | cut -f1) contents, $(du -sh "$work/dupes" | cut -f1) duplicates;" \
     "word planted in $(cat "$work/planted") files"

measure() { # command...: prints "best-seconds peak-kb" of three runs after one warm-up run
  local best="" line
  "$@" > /dev/null 2>&1 || true
  for _ in 1 2 3; do
    line=$( { /usr/bin/time -f '%e %M' sh -c '"$@" > /dev/null 2>&1' sh "$@"; } 2>&1 | tail -1)
    if [[ -z $best ]] || awk -v a="${line% *}" -v b="${best% *}" 'BEGIN { exit !(a < b) }'; then best=$line; fi
  done
  echo "$best"
}

same() { # label ours-file peer-file: the two sorted outputs must agree
  if ! cmp -s "$2" "$3"; then
    echo "MISMATCH $1: $(wc -l < "$2") lines ours, $(wc -l < "$3") lines peer" >&2
    diff "$2" "$3" | head -5 >&2
    exit 1
  fi
}

groups() { # reads groups separated by blank lines; prints each group sorted on one line, sorted
  python3 -c 'import sys
for g in sorted("|".join(sorted(b.strip().split("\n"))) for b in sys.stdin.read().split("\n\n") if b.strip()): print(g)'
}

compare() { # job ours-command... -- peer-name peer-command...
  local job=$1; shift
  local ours=() peer=()
  while [[ $1 != -- ]]; do ours+=("$1"); shift; done
  shift
  local peer_name=$1; shift
  peer=("$@")
  local o p
  o=$(measure "${ours[@]}")
  p=$(measure "${peer[@]}")
  echo "$job: fvtool ${o% *} s ${o#* } KB peak; $peer_name ${p% *} s ${p#* } KB peak"
  awk -v o="${o% *}" -v p="${p% *}" -v j="$job" 'BEGIN { if (o < 0.01) o = 0.01; if (p < 0.01) p = 0.01; printf "RATIO %s %.2f\n", j, o / p }' >> "$work/ratios"
}

n=$work/names c=$work/contents d=$work/dupes
"$fvtool" search "$n" --name '*report*.txt' | sort > "$work/o1"
fdfind -u -i -t f -g '*report*.txt' "$n" | sort > "$work/p1"
find "$n" -type f -iname '*report*.txt' | sort > "$work/q1"
same name-fdfind "$work/o1" "$work/p1"; same name-find "$work/o1" "$work/q1"
"$fvtool" search "$c" --text quorvelplantedtoken | sort > "$work/o2"
rg -l -uuu -i -F quorvelplantedtoken "$c" | sort > "$work/p2"
grep -rlia quorvelplantedtoken "$c" | sort > "$work/q2"
same content-rg "$work/o2" "$work/p2"; same content-grep "$work/o2" "$work/q2"
[[ $(wc -l < "$work/o2") -eq $(cat "$work/planted") ]] || { echo "content: not every planted file found" >&2; exit 1; }
"$fvtool" dupes "$d" | groups > "$work/o3"
jdupes -r -q "$d" | groups > "$work/p3"
fdupes -r -q "$d" | groups > "$work/q3"
same dupes-jdupes "$work/o3" "$work/p3"; same dupes-fdupes "$work/o3" "$work/q3"
echo "hits: $(wc -l < "$work/o1") names, $(wc -l < "$work/o2") contents, $(wc -l < "$work/o3") duplicate groups (same as every peer)"

: > "$work/ratios"
compare search-name "$fvtool" search "$n" --name '*report*.txt' -- fdfind fdfind -u -i -t f -g '*report*.txt' "$n"
compare search-name-find "$fvtool" search "$n" --name '*report*.txt' -- find find "$n" -type f -iname '*report*.txt'
compare search-content "$fvtool" search "$c" --text quorvelplantedtoken -- rg rg -l -uuu -i -F quorvelplantedtoken "$c"
compare search-content-grep "$fvtool" search "$c" --text quorvelplantedtoken -- grep grep -rlia quorvelplantedtoken "$c"
compare dupes "$fvtool" dupes "$d" -- jdupes jdupes -r -q "$d"
compare dupes-fdupes "$fvtool" dupes "$d" -- fdupes fdupes -r -q "$d"
cat "$work/ratios"
