#!/usr/bin/env bash
# The playlist build: 1,000 tagged MP3 files added with `fvtool playlist` (the panel's build
# job: collect, order, read every file's tags and stream facts), warm, against a mutagen
# script that reads the same facts of the same files (bench/playlist-mutagen-peer.py);
# the re-check of 2,000 entries that follows every refresh of the file list; and a 2 GiB
# WAV named .MP3, which the MPEG reader must refuse quickly.
# Prints wall time (s) and peak RSS (KiB) of each run, then RATIO lines.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fvtool=${FVTOOL:-$root/build/bin/fvtool}
count=${COUNT:-1000}
runs=${RUNS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sox -n -r 44100 -c 2 -b 16 "$work/src.wav" synth 20 sine 200-4000 vol 0.4
lame --quiet -b 128 "$work/src.wav" "$work/base0.mp3"
lame --quiet -V 4 "$work/src.wav" "$work/base1.mp3"
mkdir "$work/set" "$work/big"
/usr/bin/python3 - "$work" 2000 <<'PY'
import shutil, sys
from mutagen.id3 import ID3, TIT2, TPE1, TALB, TDRC, TRCK, TCON
work, count = sys.argv[1], int(sys.argv[2])
for i in range(count):
    path = f"{work}/set/song{i:04d}.mp3"
    shutil.copyfile(f"{work}/base{i % 2}.mp3", path)
    tags = ID3()
    tags.add(TIT2(encoding=3, text=f"Song number {i}"))
    tags.add(TPE1(encoding=3, text=f"Artist {i % 37}"))
    tags.add(TALB(encoding=3, text=f"Album {i % 101}"))
    tags.add(TDRC(encoding=3, text=str(1960 + i % 60)))
    tags.add(TRCK(encoding=3, text=f"{i % 20 + 1}"))
    tags.add(TCON(encoding=3, text="Rock"))
    tags.save(path, v2_version=4)
PY
# A WAV header over 2 GiB of (sparse) silence, named as an MP3.
head -c 44 "$work/src.wav" > "$work/big/huge.MP3"
truncate -s 2G "$work/big/huge.MP3"

measure() { # label command...: prints the median seconds of $runs runs; logs each run
  local label=$1 times=()
  shift
  for _ in $(seq "$runs"); do
    local start end seconds rss
    start=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$work/time" "$@" > "$work/$label.out" 2> "$work/$label.err" || true
    end=$(date +%s%N)
    # (a command that fails gets a first line saying so: the figure is on the last)
    rss=$(tail -n1 "$work/time")
    # wall time in milliseconds' resolution (time's %e has only hundredths)
    seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')
    echo "$label $seconds s, $rss KiB" >&2
    times+=("$seconds")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}

cd "$work/set"
all=(song*.mp3)
files=("${all[@]:0:$count}")
ours=$(measure fvtool "$fvtool" playlist "${files[@]}")
lines=$(wc -l < "$work/fvtool.out")
[[ $lines -eq $count ]] || { echo "fvtool listed $lines entries for $count files" >&2; exit 1; }
peer=$(measure mutagen /usr/bin/python3 "$root/bench/playlist-mutagen-peer.py" "${files[@]}")
peer_lines=$(wc -l < "$work/mutagen.out")
[[ $peer_lines -eq $count ]] || { echo "the peer listed $peer_lines entries" >&2; exit 1; }

# The re-check of 2,000 entries, timed inside fvtool (one stat per entry, nothing read).
recheck=()
for _ in $(seq "$runs"); do
  "$fvtool" playlist --recheck song*.mp3 2>&1 >/dev/null | sed -n 's/^recheck: .*, \([0-9.]*\) ms$/\1/p' > "$work/recheck"
  recheck+=("$(cat "$work/recheck")")
done
recheck_ms=$(printf '%s\n' "${recheck[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
echo "recheck of 2000 entries: $recheck_ms ms (median)" >&2

# The 2 GiB WAV named .MP3: the panel's own refusal, timed inside fvtool (as the panel meets
# it, in a running program), and the whole process for reference.
big=$(measure huge "$fvtool" playlist --timed "$work/big/huge.MP3")
grep -q "No files added to playlist" "$work/huge.err" || { echo "the 2 GiB WAV named .MP3 was not refused" >&2; exit 1; }
refusal=()
for _ in $(seq "$runs"); do
  refusal+=("$("$fvtool" playlist --timed "$work/big/huge.MP3" 2>&1 >/dev/null | sed -n 's/^build: .*, \([0-9.]*\) ms$/\1/p' || true)")
done
refusal_ms=$(printf '%s\n' "${refusal[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
echo "refusal of the 2 GiB WAV: $refusal_ms ms inside fvtool (median), whole process $big s" >&2

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) b = 0.001; printf "%.4f\n", a / b }'; }
echo "RATIO playlist-add-$count-vs-mutagen $(ratio "$ours" "$peer")"
echo "RATIO playlist-recheck-2000-vs-20ms $(ratio "$recheck_ms" 20)"
echo "RATIO playlist-reject-2GiB-wav-vs-50ms $(ratio "$refusal_ms" 50)"
echo "RATIO playlist-reject-2GiB-wav-process-vs-50ms $(ratio "$(awk -v s="$big" 'BEGIN { print s * 1000 }')" 50)"
