#!/usr/bin/env bash
# The file list window (built offscreen by bench_list_window) on a folder of 100,000 files,
# warm cache: the time to the first screen of rows (final order, the rows on screen with
# their details) for the name, size and date sorts, the time to the whole folder in the
# list, and the longest time its event loop did not answer. Beside it: `fvtool list` of the
# same folder (read, sort by name, format every row: the engine alone) and `ls -l | head -40`
# (a terminal's first screen of the same sorted listing). Ends with one RATIO line per
# comparison (below 1: the window is faster). Also the window's peak RSS, and what the
# listing adds to that of an empty folder.
set -euo pipefail
cd "$(dirname "$0")/.."
FVTOOL=${FVTOOL:-build/bin/fvtool}
WINDOW=${WINDOW:-build/bench/bench_list_window}
FILES=${FILES:-100000}
[ -x "$FVTOOL" ] || { echo "build fvtool first ($FVTOOL)" >&2; exit 1; }
[ -x "$WINDOW" ] || { echo "build bench_list_window first ($WINDOW)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/folvane-bench-window.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/files"
# The same names and sizes as bench/list.sh.
( cd "$work/files" && seq -f "%06g" 1 "$FILES" | awk '{ printf "%s_File%s.%s\n", ($1 % 7 ? "doc" : "Img"), $1, ($1 % 3 ? "txt" : "jpg") }' | xargs touch )

best_ms() { # best_ms COMMAND...: the best wall time of three runs in milliseconds
    local best="" start end ms
    for _ in 1 2 3; do
        start=$(date +%s%N)
        "$@" > /dev/null
        end=$(date +%s%N)
        ms=$(( (end - start) / 1000000 ))
        if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
    done
    echo "$best"
}

export LC_ALL=C.UTF-8
fvtool_ms=$(best_ms "$FVTOOL" list "$work/files" --sort name)
ls_ms=$(best_ms sh -c 'ls -l "$1" | head -40' sh "$work/files")
window=$(QT_QPA_PLATFORM=offscreen /usr/bin/time -f %M -o "$work/window.rss" "$WINDOW" "$work/files" 3)
mkdir "$work/empty"
QT_QPA_PLATFORM=offscreen /usr/bin/time -f %M -o "$work/empty.rss" "$WINDOW" "$work/empty" 1 > /dev/null
echo "$window"
field() { echo "$window" | awk -v s="$1" -v f="$2" '$2 == s { for (i = 3; i < NF; i += 2) if ($i == f) print $(i + 1) }'; }
echo "list-window: first screen name $(field name first-screen) ms, size $(field size first-screen) ms," \
     "date $(field date first-screen) ms; whole folder by name $(field name whole) ms" \
     "(fvtool list $fvtool_ms ms); ls -l | head $ls_ms ms;" \
     "longest event-loop gap $(field name longest-gap) ms;" \
     "peak RSS $(cat "$work/window.rss") KB, $(( $(cat "$work/window.rss") - $(cat "$work/empty.rss") )) KB over an empty folder"
awk -v o="$(field name first-screen)" -v p="$ls_ms" 'BEGIN { if (p < 1) p = 1; printf "RATIO list-window-first-screen %.2f\n", o / p }'
awk -v o="$(field name whole)" -v p="$fvtool_ms" 'BEGIN { if (p < 1) p = 1; printf "RATIO list-window-whole %.2f\n", o / p }'
