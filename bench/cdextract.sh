#!/usr/bin/env bash
# Extracts a 10-minute audio track from a BIN/CUE disc image (made with sox) through
# `fvtool cd IMAGE 1 OUT` - the CD player's digital playback: libcdio-paranoia reads, the
# buffer, the per-channel gains - against libcdio's own raw sector reader `cd-read --mode
# audio` on the same sectors (no error correction). Both outputs are checked against the
# sox source. MINUTES sets the track length; RUNS the paired runs (medians).
# Prints wall time (s) and peak RSS (KiB) of each, then one RATIO line.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fvtool=${FVTOOL:-$root/build/bin/fvtool}
minutes=${MINUTES:-10}
runs=${RUNS:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sox -n -r 44100 -c 2 -b 16 -e signed-integer -L -t raw "$work/disc.bin" synth $((minutes * 60)) sine 200-4000 pinknoise vol 0.4 remix 1 2
printf 'FILE "disc.bin" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n' > "$work/disc.cue"
sectors=$(( $(stat -c %s "$work/disc.bin") / 2352 ))

# shellcheck source=bench/lib/common.sh
source "$root/bench/lib/common.sh"

ours=()
peer=()
for ((i = 0; i < runs; i++)); do
  ours+=("$(measure fvtool "$fvtool" cd "$work/disc.cue" 1 "$work/ours.raw")")
  peer+=("$(measure cd-read cd-read --no-header --mode=audio --cue-file="$work/disc.cue" --start=0 --number="$sectors" --output-file="$work/peer.raw")")
done
cmp "$work/ours.raw" "$work/disc.bin"
cmp "$work/peer.raw" "$work/disc.bin"

o=$(median "${ours[@]}")
p=$(median "${peer[@]}")
echo "median: fvtool cd $o s, cd-read $p s ($minutes min of audio)"
awk -v o="$o" -v p="$p" 'BEGIN { printf "RATIO cdextract %.2f\n", (p > 0 ? o / p : 0) }'
