#!/usr/bin/env bash
# Reads the information of 2,000 generated MP3 files (tagged ID3v2.3 and ID3v2.4, CBR and
# VBR) with `fvtool audioinfo` in one run, against ffprobe run once per file (as a user
# would script it) and against mediainfo given all files in one run.
# Prints wall time (s) and peak RSS (KiB) of each, then one RATIO line per peer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fvtool=${FVTOOL:-$root/build/bin/fvtool}
count=${COUNT:-2000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A few encodings, then copies of them with their own tags.
sox -n -r 44100 -c 2 -b 16 "$work/src.wav" synth 20 sine 200-4000 pinknoise vol 0.4 remix 1 2
lame --quiet -b 128 "$work/src.wav" "$work/base0.mp3"
lame --quiet -V 4 "$work/src.wav" "$work/base1.mp3"
lame --quiet -m m -b 64 --resample 22.05 "$work/src.wav" "$work/base2.mp3"
lame --quiet -V 2 --resample 48 "$work/src.wav" "$work/base3.mp3"
mkdir "$work/set"
/usr/bin/python3 - "$work" "$count" <<'PY'
import shutil, sys
from mutagen.id3 import ID3, TIT2, TPE1, TALB, TYER, TDRC, TRCK, TCON
work, count = sys.argv[1], int(sys.argv[2])
for i in range(count):
    path = f"{work}/set/song{i:04d}.mp3"
    shutil.copyfile(f"{work}/base{i % 4}.mp3", path)
    version = 3 if i % 2 else 4
    tags = ID3()
    tags.add(TIT2(encoding=1 if version == 3 else 3, text=f"Song number {i} ÄÖÜ"))
    tags.add(TPE1(encoding=1 if version == 3 else 3, text=f"Artist {i % 37}"))
    tags.add(TALB(encoding=0, text=f"Album {i % 101}"))
    tags.add((TYER if version == 3 else TDRC)(encoding=0, text=str(1960 + i % 60)))
    tags.add(TRCK(encoding=0, text=f"{i % 20 + 1}/20"))
    tags.add(TCON(encoding=0, text="Rock"))
    tags.save(path, v2_version=version)
PY

measure() { # label command...: prints "label seconds peak-KiB"
  local label=$1
  shift
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" > "$work/$label.out" 2> "$work/$label.err"
  read -r seconds rss < "$work/time"
  echo "$label $seconds s, $rss KiB" >&2
  echo "$seconds"
}

cd "$work/set"
ours=$(measure fvtool "$fvtool" audioinfo song*.mp3)
lines=$(wc -l < "$work/fvtool.out")
[[ $lines -eq $count ]] || { echo "fvtool printed $lines lines for $count files" >&2; exit 1; }
ffprobe_time=$(measure ffprobe bash -c 'for f in song*.mp3; do ffprobe -v error -show_format -show_streams "$f"; done')
mediainfo_time=$(measure mediainfo mediainfo song*.mp3)

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) b = 0.001; printf "%.4f\n", a / b }'; }
echo "RATIO audioinfo-vs-ffprobe $(ratio "$ours" "$ffprobe_time")"
echo "RATIO audioinfo-vs-mediainfo $(ratio "$ours" "$mediainfo_time")"
