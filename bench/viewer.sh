#!/usr/bin/env bash
# The text/hex viewer and the editor's engines against peer tools on the same files, page
# cache warm for both (each command runs once before it is timed):
#   - first hex page of a 4 GiB file: `fvtool hexview FILE 0 40` against `xxd -l 640` and
#     `hexdump -C | head -40` (peak RSS shows the memory stays flat);
#   - the viewer's line index of a 1 GiB text file: `fvtool lines` against `wc -l`;
#   - Find of a text near the end of that file: `fvtool textfind` against `grep -c -F`, and
#     ignoring case against `grep -c -F -i`;
#   - the editor's open, Replace All of 100,000 occurrences and save of 10 MB of text:
#     `fvtool textreplace` against `sed -i` (sed's output is also the correctness oracle).
# Prints wall time and peak RSS of each, then one RATIO line per comparison.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fvtool=${FVTOOL:-$root/build/bin/fvtool}
work=$(mktemp -d "${BENCH_TMP:-/tmp}/viewer-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

measure() { # label command...: prints seconds (nanosecond clock); RSS to stderr
  local label=$1
  shift
  "$@" > /dev/null 2>&1 || true
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f "%M" -o "$work/rss" "$@" > "$work/$label.out" 2> "$work/$label.err" || true
  end=$(date +%s%N)
  local seconds
  seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", (b - a) / 1e9 }')
  echo "$label $seconds s, $(tail -1 "$work/rss") KiB" >&2
  echo "$seconds"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) b = 0.0001; printf "%.4f\n", a / b }'; }

# 4 GiB: 16 MiB of varied bytes at the start, the rest a hole.
head -c $((16 << 20)) /dev/urandom > "$work/big.bin"
truncate -s 4G "$work/big.bin"
hex_ours=$(measure hexview "$fvtool" hexview "$work/big.bin" 0 40)
hex_xxd=$(measure xxd xxd -l 640 "$work/big.bin")
hex_hexdump=$(measure hexdump bash -c "hexdump -C '$work/big.bin' | head -40")
cmp <(head -40 "$work/hexdump.out") "$work/hexview.out" > /dev/null || { echo "hex rows differ from hexdump -C" >&2; exit 1; }

# 1 GiB of text lines with the needle on the last line.
python3 - "$work/text.txt" <<'PY'
import sys
line = b"The quick brown fox jumps over the lazy dog; pack my box with five dozen liquor jugs.\n"
block = line * 12000
with open(sys.argv[1], "wb") as out:
    for _ in range((1 << 30) // len(block)):
        out.write(block)
    out.write(b"and here the Needle-In-The-Haystack line\n")
PY
lines_ours=$(measure lines "$fvtool" lines "$work/text.txt")
lines_wc=$(measure wc wc -l "$work/text.txt")
[[ $(cat "$work/lines.out") == $(awk '{print $1}' "$work/wc.out") ]] || { echo "line counts differ" >&2; exit 1; }
find_ours=$(measure textfind "$fvtool" textfind "$work/text.txt" "Needle-In-The-Haystack")
find_grep=$(measure grep grep -c -F "Needle-In-The-Haystack" "$work/text.txt")
findi_ours=$(measure textfind-i "$fvtool" textfind "$work/text.txt" "needle-in-the-haystack" -i)
findi_grep=$(measure grep-i grep -c -F -i "needle-in-the-haystack" "$work/text.txt")

# 10 MB of text with 100,000 occurrences.
python3 - "$work/edit.txt" <<'PY'
import sys
with open(sys.argv[1], "w") as out:
    for i in range(100000):
        out.write(f"line {i:06d} has one target word and some more text to fill it up to a hundred bytes...\n")
PY
cp "$work/edit.txt" "$work/edit-sed.txt"
replace_ours=$(measure textreplace "$fvtool" textreplace "$work/edit.txt" target TARGET)
replace_sed=$(measure sed sed -i s/target/TARGET/g "$work/edit-sed.txt")
# measure ran each once untimed first: the second run found nothing more to replace, so
# compare the files, not the counts.
cmp "$work/edit.txt" "$work/edit-sed.txt" || { echo "Replace All differs from sed" >&2; exit 1; }

echo "RATIO hexview-first-page-vs-xxd $(ratio "$hex_ours" "$hex_xxd")"
echo "RATIO hexview-first-page-vs-hexdump $(ratio "$hex_ours" "$hex_hexdump")"
echo "RATIO line-index-vs-wc $(ratio "$lines_ours" "$lines_wc")"
echo "RATIO find-vs-grep $(ratio "$find_ours" "$find_grep")"
echo "RATIO find-ignore-case-vs-grep-i $(ratio "$findi_ours" "$findi_grep")"
echo "RATIO replace-all-10mb-vs-sed $(ratio "$replace_ours" "$replace_sed")"
