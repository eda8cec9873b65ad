#!/usr/bin/env bash
# The image viewer's JPEG decoding and the graphics conversions against peer tools, on a
# 6000 x 4000 photograph-like JPEG written by cjpeg, baseline and progressive:
#   - full decode: `fvtool image FILE` against `djpeg` (to /dev/null; djpeg streams rows and
#     never holds the picture) and `djpeg -bmp` (which holds the whole picture, as a viewer
#     must);
#   - 1:8 decode: `fvtool image FILE --scale 8` against `djpeg -scale 1/8`;
#   - the pane's decode plus first paint of the 1:8 picture (bench_image_pane; target 150 ms);
#   - the start of fvtool itself (a 16 x 16 JPEG): the fixed cost in every fvtool timing;
#   - 100 BMP files (640 x 480) to JPG: `fvtool convert bmp2jpg` against ImageMagick's
#     `convert` run per file, as a shell loop converts a folder.
# Each timing is the median of RUNS (default 5) runs after one untimed run; peak RSS is
# printed for each. Ends with one RATIO line per comparison.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fvtool=${FVTOOL:-$root/build/bin/fvtool}
pane=${BENCH_IMAGE_PANE:-$root/build/bench/bench_image_pane}
runs=${RUNS:-5}
work=$(mktemp -d "${BENCH_TMP:-/tmp}/image-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work

measure() { # label command...: prints the median seconds; peak RSS to stderr
  local label=$1
  shift
  "$@" > /dev/null 2>&1
  local times=() start end rss=0
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$work/rss" "$@" > "$work/$label.out" 2> "$work/$label.err"
    end=$(date +%s%N)
    times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", (b - a) / 1e9 }')")
    rss=$(awk -v a="$rss" -v b="$(tail -1 "$work/rss")" 'BEGIN { print (b > a ? b : a) }')
  done
  local median
  median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
  echo "$label median $median s, peak RSS $rss KiB" >&2
  echo "$median"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) b = 0.0001; printf "%.4f\n", a / b }'; }

# A photograph-like picture: a plasma fractal grown to 6000 x 4000 with grain on it.
convert -size 1500x1000 -seed 7 plasma:fractal -resize 6000x4000! -seed 7 -attenuate 0.4 +noise Gaussian "$work/big.ppm"
cjpeg -quality 90 -outfile "$work/baseline.jpg" "$work/big.ppm"
cjpeg -quality 90 -progressive -outfile "$work/progressive.jpg" "$work/big.ppm"
rm "$work/big.ppm"

declare -A result
for kind in baseline progressive; do
  file=$work/$kind.jpg
  [[ $("$fvtool" image "$file") == "6000x4000 jpeg" ]] || { echo "fvtool image: wrong size for $kind" >&2; exit 1; }
  [[ $("$fvtool" image "$file" --scale 8) == "750x500 jpeg" ]] || { echo "fvtool image: wrong 1:8 size for $kind" >&2; exit 1; }
  result[full-$kind-ours]=$(measure "full-$kind" "$fvtool" image "$file")
  result[full-$kind-djpeg]=$(measure "djpeg-full-$kind" djpeg -outfile /dev/null "$file")
  result[full-$kind-djpeg-bmp]=$(measure "djpeg-bmp-full-$kind" djpeg -bmp -outfile /dev/null "$file")
  result[eighth-$kind-ours]=$(measure "eighth-$kind" "$fvtool" image "$file" --scale 8)
  result[eighth-$kind-djpeg]=$(measure "djpeg-eighth-$kind" djpeg -scale 1/8 -outfile /dev/null "$file")
done
convert -size 16x16 xc:gray "$work/tiny.jpg"
start_ours=$(measure start-fvtool "$fvtool" image "$work/tiny.jpg")
start_djpeg=$(measure start-djpeg djpeg -outfile /dev/null "$work/tiny.jpg")
pane_line=$("$pane" "$work/baseline.jpg" 3 "$runs")
echo "$pane_line" >&2

# 100 bitmaps of 640 x 480, each a different crop of a plasma picture.
mkdir -p "$work/bmp" "$work/ours" "$work/theirs"
convert -size 1280x960 -seed 3 plasma:fractal "$work/plasma.png"
for i in $(seq 1 100); do
  convert "$work/plasma.png" -crop "640x480+$(( (i * 37) % 640 ))+$(( (i * 53) % 480 ))" +repage "$work/bmp/p$i.bmp"
done
[[ $(ls "$work/bmp" | wc -l) -eq 100 ]] || { echo "the bitmaps were not made" >&2; exit 1; }
convert_ours() { "$fvtool" convert bmp2jpg "$work/ours" "$work"/bmp/*.bmp --replace; }
convert_theirs() { for f in "$work"/bmp/*.bmp; do b=${f##*/}; convert "$f" "$work/theirs/${b%.bmp}.jpg"; done; }
export -f convert_ours convert_theirs
export fvtool work
result[convert-ours]=$(measure convert-ours bash -c convert_ours)
result[convert-theirs]=$(measure convert-imagemagick bash -c convert_theirs)
[[ $(ls "$work/ours" | wc -l) -eq 100 ]] || { echo "fvtool convert did not write 100 files" >&2; exit 1; }
compare -metric AE -fuzz 10% "$work/ours/p1.jpg" "$work/theirs/p1.jpg" null: 2> "$work/ae" || true
echo "p1.jpg differs from ImageMagick's in $(cat "$work/ae") pixels beyond 10 %" >&2

for kind in baseline progressive; do
  echo "RATIO jpeg-full-decode-$kind-vs-djpeg $(ratio "${result[full-$kind-ours]}" "${result[full-$kind-djpeg]}")"
  echo "RATIO jpeg-full-decode-$kind-vs-djpeg-bmp $(ratio "${result[full-$kind-ours]}" "${result[full-$kind-djpeg-bmp]}")"
  echo "RATIO jpeg-eighth-decode-$kind-vs-djpeg $(ratio "${result[eighth-$kind-ours]}" "${result[eighth-$kind-djpeg]}")"
done
echo "RATIO bmp2jpg-100-files-vs-imagemagick-convert $(ratio "${result[convert-ours]}" "${result[convert-theirs]}")"
echo "RATIO process-start-vs-djpeg $(ratio "$start_ours" "$start_djpeg")"
echo "PANE ${pane_line}"
