#!/usr/bin/env bash
# Reads the information of 5,000 generated MP3 files (tagged ID3v2.3 and ID3v2.4, CBR and
# VBR) with `fvtool audioinfo` in one run, against TagLib's reader (tags and audio
# properties, one process for all files; built here from a few lines of C++ against
# libtag1-dev), against mediainfo given all files in one run, and against ffprobe run once
# per file (as a user would script it) on the first FFPROBE_COUNT files, compared per file.
# COUNT sets the number of files; RUNS the paired runs of fvtool and TagLib (medians).
# Prints wall time (s) and peak RSS (KiB) of each, then one RATIO line per peer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fvtool=${FVTOOL:-$root/build/bin/fvtool}
count=${COUNT:-5000}
runs=${RUNS:-5}
ffprobe_count=${FFPROBE_COUNT:-200}
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
    path = f"{work}/set/song{i:05d}.mp3"
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

# shellcheck source=bench/lib/common.sh
source "$root/bench/lib/common.sh"

cat > "$work/taglib_info.cpp" <<'CPP'
// Prints the tags and audio properties of every file named, as fvtool audioinfo does.
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <cstdio>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        TagLib::FileRef file(argv[i], true, TagLib::AudioProperties::Average);
        if (file.isNull() || !file.tag() || !file.audioProperties()) {
            std::fprintf(stderr, "%s: unreadable\n", argv[i]);
            continue;
        }
        const TagLib::Tag* tag = file.tag();
        const TagLib::AudioProperties* audio = file.audioProperties();
        std::printf("%s\t%s\t%s\t%s\t%u\t%s\t%u\t%d\t%d\t%d\t%d\n", argv[i], tag->title().toCString(true),
                    tag->artist().toCString(true), tag->album().toCString(true), tag->year(),
                    tag->genre().toCString(true), tag->track(), audio->bitrate(), audio->sampleRate(),
                    audio->channels(), audio->lengthInSeconds());
    }
    return 0;
}
CPP
g++ -O2 -o "$work/taglib_info" "$work/taglib_info.cpp" $(pkg-config --cflags --libs taglib)

cd "$work/set"
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
oursT=() taglibT=()
for ((i = 0; i < runs; i++)); do
    oursT+=("$(measure fvtool "$fvtool" audioinfo song*.mp3)")
    taglibT+=("$(measure taglib "$work/taglib_info" song*.mp3)")
done
ours=$(median "${oursT[@]}")
taglib_time=$(median "${taglibT[@]}")
lines=$(wc -l < "$work/fvtool.out")
[[ $lines -eq $count ]] || { echo "fvtool printed $lines lines for $count files" >&2; exit 1; }
[[ $(wc -l < "$work/taglib.out") -eq $count ]] || { echo "TagLib did not read every file" >&2; exit 1; }
mediainfo_time=$(measure mediainfo mediainfo song*.mp3)
# (a slice, not printf | head: under pipefail head's early exit would end the script)
songs=(song*.mp3)
few="${songs[*]:0:$ffprobe_count}"
ffprobe_time=$(measure ffprobe bash -c 'for f in $0; do ffprobe -v error -show_format -show_streams "$f"; done' "$few")
ffprobe_files=$(wc -w <<< "$few")

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) b = 0.001; printf "%.4f\n", a / b }'; }
echo "fvtool runs: ${oursT[*]}; TagLib runs: ${taglibT[*]}" >&2
echo "RATIO audioinfo-vs-taglib $(ratio "$ours" "$taglib_time")"
echo "RATIO audioinfo-vs-mediainfo $(ratio "$ours" "$mediainfo_time")"
echo "RATIO audioinfo-vs-ffprobe $(ratio "$ours" "$(awk -v t="$ffprobe_time" -v n="$ffprobe_files" -v c="$count" 'BEGIN { print t * c / n }')")"
