#!/usr/bin/env bash
# The main window's idle handler (UpdateControlStates) with nothing changed, 10,000 passes
# over a listed folder of 100,000 files: median and 99th percentile, against the targets
# (median 0.1 ms, 99th 1 ms). And the View decision on a 1 GB file (it reads at most the
# first 1,000 bytes), against the target of 5 ms and against what a desktop's opener script
# asks per file (`xdg-mime query filetype` then `xdg-mime query default`).
# Ends with RATIO lines (below 1: better than the target or the peer) and the peak RSS.
set -euo pipefail
cd "$(dirname "$0")/.."
WINDOW=${WINDOW:-build/bench/bench_idle_window}
FILES=${FILES:-100000}
PASSES=${PASSES:-10000}
[ -x "$WINDOW" ] || { echo "build bench_idle_window first ($WINDOW)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/folvane-bench-idle.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/files" "$work/home/.config" "$work/home/.local/share" "$work/runtime"
chmod 700 "$work/runtime"
( cd "$work/files" && seq -f "%06g" 1 "$FILES" | awk '{ printf "doc_File%s.txt\n", $1 }' | xargs touch )
truncate -s 1G "$work/big.dat"

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_RUNTIME_DIR="$work/runtime" LC_ALL=C.UTF-8
out=$(QT_QPA_PLATFORM=offscreen "$WINDOW" "$work/settings.txt" "$work/files" "$work/big.dat" "$PASSES")
echo "$out"
median=$(echo "$out" | awk '$1 == "idle" { for (i = 1; i < NF; i++) if ($i == "median-us") print $(i + 1) }')
p99=$(echo "$out" | awk '$1 == "idle" { for (i = 1; i < NF; i++) if ($i == "p99-us") print $(i + 1) }')
decision=$(echo "$out" | awk '$1 == "view-decision" && $2 == "median-us" { print $3 }')

peer_us=0
if command -v xdg-mime > /dev/null; then
    start=$(date +%s%N)
    type=$(xdg-mime query filetype "$work/big.dat" 2> /dev/null || true)
    xdg-mime query default "${type:-application/octet-stream}" > /dev/null 2>&1 || true
    peer_us=$(( ($(date +%s%N) - start) / 1000 ))
    echo "peer xdg-mime filetype + default: $peer_us us"
fi
awk -v o="$median" 'BEGIN { printf "RATIO idle-median-vs-target-0.1ms %.3f\n", o / 100 }'
awk -v o="$p99" 'BEGIN { printf "RATIO idle-p99-vs-target-1ms %.3f\n", o / 1000 }'
awk -v o="$decision" 'BEGIN { printf "RATIO view-decision-vs-target-5ms %.4f\n", o / 5000 }'
if [ "$peer_us" -gt 0 ]; then
    awk -v o="$decision" -v p="$peer_us" 'BEGIN { printf "RATIO view-decision-vs-xdg-mime %.4f\n", o / p }'
fi
echo "$out" | grep peak-rss-kb
