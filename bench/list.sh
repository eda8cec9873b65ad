#!/usr/bin/env bash
# Lists a folder of 100,000 files, one of 10,000 folders and one of 1,000,000 empty files
# with `fvtool list` (read, filter, sort by name, format every row) and with `ls -l` (sorted
# by name) and `find DIR -maxdepth 1 -printf '%s %T@ %m %p\n'` (unsorted), all writing to
# /dev/null; prints wall time and peak RSS of each, the memory the listing adds over an
# empty folder, and one RATIO line per folder and peer (below 1: Folvane faster).
# FILES, FOLDERS and MILLION set the sizes (MILLION=0 leaves the big folder out).
set -euo pipefail
cd "$(dirname "$0")/.."
FVTOOL=${FVTOOL:-build/bin/fvtool}
FILES=${FILES:-100000}
FOLDERS=${FOLDERS:-10000}
MILLION=${MILLION:-1000000}
[ -x "$FVTOOL" ] || { echo "build fvtool first ($FVTOOL)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/folvane-bench-list.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/files" "$work/folders" "$work/empty" "$work/million"
# Names of mixed case and length with a few extensions, sizes from 0 to a few KB.
( cd "$work/files" && seq -f "%06g" 1 "$FILES" | awk '{ printf "%s_File%s.%s\n", ($1 % 7 ? "doc" : "Img"), $1, ($1 % 3 ? "txt" : "jpg") }' | xargs touch )
( cd "$work/folders" && seq -f "folder%05g" 1 "$FOLDERS" | xargs mkdir )
[ "$MILLION" -gt 0 ] && ( cd "$work/million" && seq -f "entry%07g.dat" 1 "$MILLION" | xargs touch )

measure() { # measure REPEAT COMMAND...: prints "seconds-per-run peak-kb", the best of three
             # timings of REPEAT runs in a row (small jobs repeat to rise above the
             # timer's 10 ms steps); the peak RSS is that of the largest run
    local repeat=$1 best="" line
    shift
    for _ in 1 2 3; do
        line=$( { /usr/bin/time -f '%e %M' sh -c 'n=$1; shift; while [ "$n" -gt 0 ]; do "$@" > /dev/null; n=$((n - 1)); done' \
                  sh "$repeat" "$@"; } 2>&1 | tail -1)
        if [ -z "$best" ] || awk -v a="${line% *}" -v b="${best% *}" 'BEGIN { exit !(a < b) }'; then best=$line; fi
    done
    awk -v t="${best% *}" -v m="${best#* }" -v n="$repeat" 'BEGIN { printf "%.3f %d\n", t / n, m }'
}

export LC_ALL=C.UTF-8
empty=$(measure 1 "$FVTOOL" list "$work/empty")
jobs="files folders"
[ "$MILLION" -gt 0 ] && jobs="$jobs million"
for job in $jobs; do
    repeat=$([ "$job" = folders ] && echo 10 || echo 1)
    ours=$(measure "$repeat" "$FVTOOL" list "$work/$job" --sort name)
    peer=$(measure "$repeat" ls -l "$work/$job")
    found=$(measure "$repeat" find "$work/$job" -maxdepth 1 -printf '%s %T@ %m %p\n')
    echo "list $job: fvtool ${ours% *} s ${ours#* } KB; ls -l ${peer% *} s ${peer#* } KB;" \
         "find ${found% *} s ${found#* } KB; fvtool over an empty folder: $(( ${ours#* } - ${empty#* } )) KB"
    awk -v o="${ours% *}" -v p="${peer% *}" -v f="${found% *}" -v j="$job" 'BEGIN {
        if (p < 0.001) p = 0.001; if (f < 0.001) f = 0.001; if (o < 0.001) o = 0.001
        printf "RATIO list-%s %.2f\nRATIO list-%s-vs-find %.2f\n", j, o / p, j, o / f }'
done
