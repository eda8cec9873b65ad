#!/usr/bin/python3
# The peer of bench/playlist.sh: reads what the playlist shows of each MP3 file (title,
# artist, album, year, genre, track, length, bit rate, size) with mutagen, one tab-separated
# line per file, as a script a user would write.
import os
import sys

from mutagen.mp3 import MP3


def text(tags, key):
    frame = tags.get(key) if tags else None
    return str(frame.text[0]) if frame and frame.text else ""


for path in sys.argv[1:]:
    try:
        audio = MP3(path)
    except Exception:
        continue
    tags = audio.tags
    seconds = int(audio.info.length)
    fields = [text(tags, "TIT2") or os.path.splitext(os.path.basename(path))[0], text(tags, "TPE1"),
              text(tags, "TALB"), text(tags, "TDRC"), text(tags, "TCON"), text(tags, "TRCK"),
              f"{seconds // 60}:{seconds % 60:02d}", str(audio.info.bitrate // 1000),
              str(os.path.getsize(path)), path, str(seconds)]
    print("\t".join(fields))
