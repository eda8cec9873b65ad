#!/usr/bin/env bash
# Zip, unzip and repair through build/bin/fvtool against Info-ZIP zip/unzip and 7-Zip on one
# generated tree (~300 MB: many small text files, larger random binaries and already
# compressed files). Prints wall time and peak RSS of each run, the output sizes, the
# entries each repair recovers, and one RATIO line per comparison (ours/peer, time).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
fvtool=${FVTOOL:-$here/build/bin/fvtool}
work=$(mktemp -d "${TMPDIR:-/tmp}/fvbench-zip.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

echo "generating data in $work"
python3 - <<'PY'
import os, random, zlib
random.seed(1)
words = [''.join(random.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(random.randint(2, 10))) for _ in range(5000)]
os.makedirs('data/text', exist_ok=True); os.makedirs('data/bin', exist_ok=True); os.makedirs('data/packed', exist_ok=True)
for d in range(40):
    os.makedirs(f'data/text/d{d}', exist_ok=True)
    for f in range(400):
        n = random.randint(200, 12000)
        line = ' '.join(random.choices(words, k=n // 6))
        open(f'data/text/d{d}/f{f}.txt', 'w').write(line[:n])
for i in range(6):
    open(f'data/bin/r{i}.bin', 'wb').write(os.urandom(15 << 20))
for i in range(6):
    text = ' '.join(random.choices(words, k=(24 << 20) // 6)).encode()
    open(f'data/packed/p{i}.gz', 'wb').write(zlib.compress(text, 6))
for i in range(3):
    text = (' '.join(random.choices(words, k=(12 << 20) // 6)) + '\n').encode()
    open(f'data/bin/log{i}.txt', 'wb').write(text)
PY
du -sh data | sed 's/^/tree: /'

# run LABEL CMD...: prints "LABEL seconds rssKB" and leaves the time in $secs
run() {
  local label=$1; shift
  /usr/bin/time -f '%e %M' -o "$work/time.txt" "$@" > "$work/out.txt" 2>&1 || { cat "$work/out.txt"; exit 1; }
  read -r secs rss < "$work/time.txt"
  printf '%-22s %8.2f s %9d KB\n' "$label" "$secs" "$rss"
}
ratio() { python3 -c "import sys; print(f'RATIO $1 {float(sys.argv[1]) / max(float(sys.argv[2]), 0.01):.3f}')" "$2" "$3"; }
size() { stat -c %s "$1"; }

run "fvtool zip" "$fvtool" zip ours.zip data --recurse; ours=$secs
run "zip -r -6" zip -q -r -6 infozip.zip data; infozip=$secs
run "7z a -tzip" 7z a -tzip -bd -mx=5 seven.zip data; seven=$secs
echo "sizes: fvtool $(size ours.zip)  zip $(size infozip.zip)  7z $(size seven.zip)"
python3 -c "import sys; print(f'size ours/zip: {int(sys.argv[1]) / int(sys.argv[2]):.4f}')" "$(size ours.zip)" "$(size infozip.zip)"
ratio zip_vs_infozip "$ours" "$infozip"
ratio zip_vs_7z "$ours" "$seven"

run "fvtool unzip" "$fvtool" unzip infozip.zip x1; ours=$secs
run "unzip" unzip -q infozip.zip -d x2; infozip=$secs
run "7z x" 7z x -bd -ox3 infozip.zip; seven=$secs
diff -r x1 x2 > /dev/null && echo "unzip outputs identical"
ratio unzip_vs_infozip "$ours" "$infozip"
ratio unzip_vs_7z "$ours" "$seven"
rm -rf x1 x2 x3

# Two damaged archives: (1) the central directory cut off and three stretches of zeros
# inside; (2) cut at 70% of its length, as an interrupted download leaves it.
python3 - <<'PY'
b = bytearray(open('infozip.zip', 'rb').read())
cut = b[:b.find(b'PK\x01\x02')]
for at in (len(cut) // 5, len(cut) // 2, 4 * len(cut) // 5):
    cut[at:at + 4096] = bytes(4096)
open('damaged1.zip', 'wb').write(cut)
open('damaged2.zip', 'wb').write(b[:len(b) * 7 // 10])
PY
# Recovered: entries in the new archive; intact: those whose data passes unzip -t.
intact() { unzip -t "$1" 2>/dev/null | grep -c ' OK$' || true; }
entries() { unzip -Z1 "$1" 2>/dev/null | wc -l; }
for n in 1 2; do
  run "fvtool zipfix #$n" "$fvtool" zipfix damaged$n.zip fixed-ours$n.zip; ours=$secs
  echo "fvtool zipfix: $(tail -1 "$work/out.txt")"
  run "zip -FF #$n" sh -c "yes | zip -FF damaged$n.zip --out fixed-infozip$n.zip"; infozip=$secs
  echo "damaged archive $n, of $(entries infozip.zip) entries: zip -FF recovered $(entries fixed-infozip$n.zip)" \
       "($(intact fixed-infozip$n.zip) intact), fvtool zipfix recovered $(entries fixed-ours$n.zip) ($(intact fixed-ours$n.zip) intact)"
  ratio zipfix_vs_zipFF_$n "$ours" "$infozip"
done
