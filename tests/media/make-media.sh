#!/usr/bin/env bash
# Makes the audio files the reader tests compare with ffprobe: MP3 files from lame and
# ffmpeg (CBR, VBR with a Xing header, MPEG 1, 2 and 2.5 sample rates, mono and stereo)
# tagged as ID3v2.3 and ID3v2.4 in Latin-1, UTF-16 and UTF-8; WAV files from sox and
# ffmpeg; WMA files from ffmpeg (wmav2). Usage: make-media.sh OUTDIR
set -euo pipefail
out=${1:?usage: make-media.sh OUTDIR}
mkdir -p "$out"
cd "$out"
quiet=(-hide_banner -loglevel error -nostdin -y)

# tag FILE VERSION ENCODING TITLE ARTIST ALBUM YEAR TRACK GENRE: writes an ID3v2 tag with
# mutagen in the given version (3 or 4) and text encoding (0 Latin-1, 1 UTF-16 with BOM,
# 2 UTF-16BE, 3 UTF-8).
tag() {
  /usr/bin/python3 - "$@" <<'PY'
import sys
from mutagen.id3 import ID3, TIT2, TPE1, TALB, TYER, TDRC, TRCK, TCON, COMM
path, version, enc, title, artist, album, year, track, genre = sys.argv[1:]
version, enc = int(version), int(enc)
tags = ID3()
tags.add(TIT2(encoding=enc, text=title))
tags.add(TPE1(encoding=enc, text=artist))
tags.add(TALB(encoding=enc, text=album))
tags.add((TYER if version == 3 else TDRC)(encoding=enc, text=year))
tags.add(TRCK(encoding=enc, text=track))
tags.add(TCON(encoding=enc, text=genre))
tags.add(COMM(encoding=enc, lang="eng", desc="note", text="A comment"))
tags.save(path, v2_version=version, v1=0)
PY
}

# A sweep with noise: enough change for a VBR encoder to vary its frame sizes.
sox -n -r 44100 -c 2 -b 16 src44.wav synth 12 sine 200-4000 pinknoise vol 0.4 remix 1 2
sox -n -r 44100 -c 1 -b 16 src44m.wav synth 12 sine 200-4000 pinknoise vol 0.4

# MPEG 1 Layer III, CBR 128 kbit/s, joint stereo; ID3v2.3 Latin-1 and ID3v1.1 by id3v2.
lame --quiet -b 128 src44.wav cbr128.mp3
id3v2 -t "Café del Mar" -a "Ölund Quartet" -A "Näher am Meer" -y 2019 -T 3/12 -g 17 cbr128.mp3

# MPEG 1 Layer III, VBR with a Xing header; ID3v2.4 UTF-8 by mutagen.
lame --quiet -V 4 src44.wav vbr44.mp3
mid3v2 -t "Ünïcödé 日本語 title" -a "Артист" -A "Альбом ☃" -y 2021 -T 7 -g Jazz vbr44.mp3

# MPEG 2 Layer III, 22.05 kHz mono CBR; ID3v2.3 UTF-16 by mutagen.
lame --quiet -m m -b 64 --resample 22.05 src44m.wav mpeg2mono.mp3
tag mpeg2mono.mp3 3 1 "Ελληνικά" "Ümlaut Ünit" "Album Ω" 2003 11/20 "(13)"

# MPEG 2 Layer III, 24 kHz VBR stereo; ID3v2.3 by ffmpeg (UTF-16 for its non-Latin text).
ffmpeg "${quiet[@]}" -i src44.wav -ar 24000 -c:a libmp3lame -q:a 5 -id3v2_version 3 \
  -metadata title="Straße 24k" -metadata artist="Fünf" -metadata album="Null" \
  -metadata date=1999 -metadata track=5 mpeg2vbr.mp3

# MPEG 2.5 Layer III, 8 kHz and 11.025 kHz, CBR; ID3v2.4 by ffmpeg (UTF-8).
ffmpeg "${quiet[@]}" -i src44m.wav -ar 8000 -c:a libmp3lame -b:a 16k -id3v2_version 4 \
  -metadata title="Eight kHz" -metadata artist="Low Rate" -metadata album="Phone" \
  -metadata date=2010 -metadata track=2 mpeg25_8k.mp3
ffmpeg "${quiet[@]}" -i src44.wav -ar 11025 -c:a libmp3lame -b:a 32k -id3v2_version 4 \
  -metadata title="Eleven" -metadata artist="Mid Rate" -metadata album="Radio" \
  -metadata date=2011 -metadata track=9 mpeg25_11k.mp3

# MPEG 1 Layer III at 32 kHz, 320 kbit/s stereo, ID3v2.4 UTF-16BE; 48 kHz mono VBR,
# ID3v2.4 UTF-16 with byte-order mark.
lame --quiet -m s -b 320 --resample 32 src44.wav mpeg1_32k.mp3
tag mpeg1_32k.mp3 4 2 "Big Endian ✓" "Wide Artist" "Wide Album" 2015 1 Rock
lame --quiet -m m -V 2 --resample 48 src44m.wav vbr48mono.mp3
tag vbr48mono.mp3 4 1 "Mono Forty-Eight" "Ärtist" "Ålbum" 2016 8 Blues

# MPEG 1 Layer II by ffmpeg.
ffmpeg "${quiet[@]}" -i src44.wav -c:a mp2 -b:a 192k -f mp2 layer2.mp3
id3v2 -t "Layer Two" -a "Musicam" layer2.mp3

# WAV: sox's canonical 44-byte header; ffmpeg's LIST chunk ahead of the data; 24-bit
# WAVE_FORMAT_EXTENSIBLE from sox.
sox -n -r 44100 -c 2 -b 16 stereo16.wav synth 5 sine 440
sox -n -r 8000 -c 1 -b 8 mono8.wav synth 3.5 sine 440
sox -n -r 48000 -c 2 -b 24 stereo24.wav synth 2 sine 440
ffmpeg "${quiet[@]}" -i stereo16.wav -ar 22050 -metadata title="With List" listchunk.wav

# WMA (wmav2): stereo 128 kbit/s and mono 48 kbit/s with title, author, album, track, year.
ffmpeg "${quiet[@]}" -i src44.wav -c:a wmav2 -b:a 128k -metadata title="Windows Título" \
  -metadata artist="Autor Ñ" -metadata album="Álbum" -metadata track=4 -metadata WM/Year=2005 -metadata genre=Tango \
  stereo128.wma
ffmpeg "${quiet[@]}" -i src44m.wav -ar 22050 -c:a wmav2 -b:a 48k -metadata title="Mono WMA" \
  -metadata artist="Solo" -metadata album="One" -metadata track=12 -metadata WM/Year=2001 \
  mono48.wma

rm -f src44.wav src44m.wav
