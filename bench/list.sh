#!/usr/bin/env bash
# Lists a folder of 100,000 files, one of 10,000 folders and one of 1,000,000 empty files
# with `fvtool list` (read, filter, sort by name, format every row) and with `ls -l` (sorted
# by name) and `find DIR -maxdepth 1 -printf '%s %T@ %m %p\n'` (unsorted), all writing to
# /dev/null. The three run one after another in each of RUNS rounds (paired, so the load of
# the moment falls on all of them); prints the median wall time and the peak RSS of each,
# the memory the listing adds over an empty folder, and one RATIO line per folder and peer:
# the median of the rounds' ratios (below 1: Folvane faster).
# FILES, FOLDERS and MILLION set the sizes (MILLION=0 leaves the big folder out); RUNS the
# rounds (5).
set -euo pipefail
cd "$(dirname "$0")/.."
FVTOOL=${FVTOOL:-build/bin/fvtool}
FILES=${FILES:-100000}
FOLDERS=${FOLDERS:-10000}
MILLION=${MILLION:-1000000}
RUNS=${RUNS:-5}
[ -x "$FVTOOL" ] || { echo "build fvtool first ($FVTOOL)" >&2; exit 1; }
FVTOOL=$(realpath "$FVTOOL")

work=$(mktemp -d "${TMPDIR:-/tmp}/folvane-bench-list.XXXXXX")
trap 'rm -rf "$work"' EXIT
# shellcheck source=bench/lib/common.sh
source bench/lib/common.sh
mkdir "$work/files" "$work/folders" "$work/empty" "$work/million"
# Names of mixed case and length with a few extensions, sizes from 0 to a few KB.
( cd "$work/files" && seq -f "%06g" 1 "$FILES" | awk '{ printf "%s_File%s.%s\n", ($1 % 7 ? "doc" : "Img"), $1, ($1 % 3 ? "txt" : "jpg") }' | xargs touch )
( cd "$work/folders" && seq -f "folder%05g" 1 "$FOLDERS" | xargs mkdir )
[ "$MILLION" -gt 0 ] && ( cd "$work/million" && seq -f "entry%07g.dat" 1 "$MILLION" | xargs touch )

# run LABEL REPEAT COMMAND...: the seconds of one run, averaged over REPEAT runs in a row
# (small jobs repeat to rise above the timer's 10 ms steps), output to /dev/null; the peak
# RSS (KiB) of the runs is added to $work/LABEL.rss; peak LABEL gives the highest.
run() {
    local label=$1 repeat=$2 seconds
    shift 2
    seconds=$(measure "$label" sh -c 'n=$1; shift; while [ "$n" -gt 0 ]; do "$@" > /dev/null; n=$((n - 1)); done' \
              sh "$repeat" "$@")
    cut -d' ' -f2 "$work/time" >> "$work/$label.rss"
    awk -v t="$seconds" -v n="$repeat" 'BEGIN { t /= n; printf "%.4f\n", (t < 0.001 ? 0.001 : t) }'
}

peak() { sort -n "$work/$1.rss" | tail -1; }

export LC_ALL=C.UTF-8
run empty 1 "$FVTOOL" list "$work/empty" > /dev/null 2>&1
emptyRss=$(peak empty)
jobs="files folders"
[ "$MILLION" -gt 0 ] && jobs="$jobs million"
for job in $jobs; do
    repeat=$([ "$job" = folders ] && echo 10 || echo 1)
    ours=() peer=() found=() toPeer=() toFind=()
    rm -f "$work/fvtool.rss" "$work/ls.rss" "$work/find.rss"
    for ((round = 0; round < RUNS; round++)); do
        ours+=("$(run fvtool "$repeat" "$FVTOOL" list "$work/$job" --sort name 2>/dev/null)")
        peer+=("$(run ls "$repeat" ls -l "$work/$job" 2>/dev/null)")
        found+=("$(run find "$repeat" find "$work/$job" -maxdepth 1 -printf '%s %T@ %m %p\n' 2>/dev/null)")
        toPeer+=("$(awk -v o="${ours[-1]}" -v p="${peer[-1]}" 'BEGIN { printf "%.3f\n", o / p }')")
        toFind+=("$(awk -v o="${ours[-1]}" -v f="${found[-1]}" 'BEGIN { printf "%.3f\n", o / f }')")
    done
    echo "list $job (median of $RUNS): fvtool $(median "${ours[@]}") s $(peak fvtool) KB;" \
         "ls -l $(median "${peer[@]}") s $(peak ls) KB; find $(median "${found[@]}") s $(peak find) KB;" \
         "fvtool over an empty folder: $(( $(peak fvtool) - emptyRss )) KB"
    echo "RATIO list-$job $(median "${toPeer[@]}")"
    echo "RATIO list-$job-vs-find $(median "${toFind[@]}")"
done
