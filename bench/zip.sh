#!/usr/bin/env bash
# Zip, unzip and repair through build/bin/fvtool against Info-ZIP zip/unzip and 7-Zip on one
# generated tree of about 500 MB: 15,000 small text files, 3,000 small binary ones and three
# big files (100 MB random, 120 MB text log, 80 MB mixed disk image), so that a few big
# entries hold most of the bytes. SCALE shrinks every size and count (SCALE=0.1: ~50 MB);
# RUNS sets the paired runs per job (default 3), whose medians are reported.
# Prints wall time and peak RSS of each run, the output sizes, the entries each repair
# recovers, and one RATIO line per comparison (ours/peer, median time).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
fvtool=${FVTOOL:-$here/build/bin/fvtool}
scale=${SCALE:-1}
runs=${RUNS:-3}
work=$(mktemp -d "${TMPDIR:-/tmp}/fvbench-zip.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

echo "generating data in $work (scale $scale)"
python3 - "$scale" <<'PY'
import os, random, sys
scale = float(sys.argv[1])
random.seed(1)
words = [''.join(random.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(random.randint(2, 10))) for _ in range(5000)]
def text(n):
    return ' '.join(random.choices(words, k=n // 5 + 1))[:n]
for d in range(50):
    os.makedirs(f'data/docs/d{d}', exist_ok=True)
    os.makedirs(f'data/blobs/b{d}', exist_ok=True)
small_text = int(15000 * scale)
for i in range(small_text):
    open(f'data/docs/d{i % 50}/f{i}.txt', 'w').write(text(random.randint(200, 20000)))
# Small binaries: half random (already compressed media), half structured records.
for i in range(int(3000 * scale)):
    n = random.randint(1000, 32000)
    if i % 2:
        data = os.urandom(n)
    else:
        data = b''.join(random.randint(0, 400).to_bytes(4, 'little') + b'\0\0\x01\x00' for _ in range(n // 8))
    open(f'data/blobs/b{i % 50}/o{i}.bin', 'wb').write(data)
mb = lambda n: int(n * scale * (1 << 20))
open('data/random.bin', 'wb').write(os.urandom(mb(100)))
levels = ['INFO', 'INFO', 'INFO', 'DEBUG', 'WARN', 'ERROR']
with open('data/server.log', 'w') as log:
    written, t = 0, 1700000000
    while written < mb(120):
        t += random.randint(0, 3)
        line = (f'2026-11-{t // 86400 % 28 + 1:02d} {t // 3600 % 24:02d}:{t // 60 % 60:02d}:{t % 60:02d} '
                f'{random.choice(levels)} [worker-{random.randint(1, 16)}] {text(random.randint(20, 120))} '
                f'id={random.randint(0, 10**9)}\n')
        log.write(line)
        written += len(line)
# A disk image: runs of zeros, text, random and structured bytes in 64 KiB..1 MiB pieces.
with open('data/disk.img', 'wb') as img:
    written = 0
    while written < mb(80):
        n = random.randint(64, 1024) << 10
        kind = random.randrange(4)
        if kind == 0:
            piece = bytes(n)
        elif kind == 1:
            piece = text(n).encode()
        elif kind == 2:
            piece = os.urandom(n)
        else:
            piece = b''.join(i.to_bytes(4, 'little') * 2 for i in range(written, written + n // 8))
        img.write(piece)
        written += len(piece)
PY
du -sh data | sed 's/^/tree: /'

median() { python3 -c "import statistics, sys; print(statistics.median(float(x) for x in sys.argv[1:]))" "$@"; }
# run LABEL CMD...: prints "LABEL seconds rssKB" and leaves the time in $secs
run() {
  local label=$1; shift
  /usr/bin/time -f '%e %M' -o "$work/time.txt" "$@" > "$work/out.txt" 2>&1 || { cat "$work/out.txt"; exit 1; }
  read -r secs rss < "$work/time.txt"
  printf '%-22s %8.2f s %9d KB\n' "$label" "$secs" "$rss"
}
ratio() { python3 -c "import sys; print(f'RATIO $1 {float(sys.argv[1]) / max(float(sys.argv[2]), 0.01):.3f}')" "$2" "$3"; }
size() { stat -c %s "$1"; }

oursT=() peerT=()
for ((i = 0; i < runs; i++)); do
  rm -f ours.zip infozip.zip
  run "fvtool zip" "$fvtool" zip ours.zip data --recurse; oursT+=("$secs")
  run "zip -r -6" zip -q -r -6 infozip.zip data; peerT+=("$secs")
done
run "7z a -tzip" 7z a -tzip -bd -mx=5 seven.zip data; seven=$secs
echo "sizes: fvtool $(size ours.zip)  zip $(size infozip.zip)  7z $(size seven.zip)"
python3 -c "import sys; print(f'size ours/zip: {int(sys.argv[1]) / int(sys.argv[2]):.4f}')" "$(size ours.zip)" "$(size infozip.zip)"
unzip -tq ours.zip > /dev/null && echo "unzip -t: fvtool archive OK"
ratio zip_vs_infozip "$(median "${oursT[@]}")" "$(median "${peerT[@]}")"
ratio zip_vs_7z "${oursT[0]}" "$seven"
rm -f seven.zip

oursT=() peerT=()
# Each side starts with every dirty page written out (sync), so that neither pays for the
# other's writeback. The first extraction after the previous round's trees were deleted runs
# markedly slower here (seconds, whichever program it is), so the side that goes first
# alternates, the rounds are at least six and even (each side goes first as often), and the
# RATIO is the median of the rounds' ratios.
unzipOurs() { sync; run "fvtool unzip" "$fvtool" unzip infozip.zip x1; oursT+=("$secs"); }
unzipPeer() { sync; run "unzip" unzip -q infozip.zip -d x2; peerT+=("$secs"); }
unzipRatios=()
unzipRounds=$(( runs > 6 ? runs + runs % 2 : 6 ))
for ((i = 0; i < unzipRounds; i++)); do
  rm -rf x1 x2
  if ((i % 2 == 0)); then unzipOurs; unzipPeer; else unzipPeer; unzipOurs; fi
  unzipRatios+=("$(python3 -c "import sys; print(float(sys.argv[1]) / max(float(sys.argv[2]), 0.01))" "${oursT[-1]}" "${peerT[-1]}")")
done
run "7z x" 7z x -bd -ox3 infozip.zip; seven=$secs
diff -r x1 x2 > /dev/null && echo "unzip outputs identical"
printf 'unzip: median fvtool %.2f s, unzip %.2f s\n' "$(median "${oursT[@]}")" "$(median "${peerT[@]}")"
echo "RATIO unzip_vs_infozip $(python3 -c "import sys; print(f'{float(sys.argv[1]):.3f}')" "$(median "${unzipRatios[@]}")")"
ratio unzip_vs_7z "${oursT[0]}" "$seven"
rm -rf x1 x2 x3

# Three damaged archives: (1) cut at half with three 64-byte runs overwritten inside, (2) the
# central directory cut off and three stretches of zeros inside, (3) cut at 70% of its
# length, as an interrupted download leaves it.
python3 - <<'PY'
b = bytearray(open('infozip.zip', 'rb').read())
half = b[:len(b) // 2]
for at in (len(half) // 5, len(half) // 2, 4 * len(half) // 5):
    half[at:at + 64] = b'\xA5' * 64
open('damaged1.zip', 'wb').write(half)
# The central directory's offset from the end record: its signature can also occur inside
# stored random data, where a search for it would cut the archive short.
end = b.rfind(b'PK\x05\x06')
cut = b[:int.from_bytes(b[end + 16:end + 20], 'little')]
for at in (len(cut) // 5, len(cut) // 2, 4 * len(cut) // 5):
    cut[at:at + 4096] = bytes(4096)
open('damaged2.zip', 'wb').write(cut)
open('damaged3.zip', 'wb').write(b[:len(b) * 7 // 10])
PY
# Recovered: entries in the new archive; intact: those whose data passes unzip -t.
intact() { unzip -t "$1" 2>/dev/null | grep -c ' OK$' || true; }
entries() { unzip -Z1 "$1" 2>/dev/null | wc -l; }
for n in 1 2 3; do
  oursT=() peerT=()
  for ((i = 0; i < runs; i++)); do
    rm -f fixed-ours$n.zip fixed-infozip$n.zip
    run "fvtool zipfix #$n" "$fvtool" zipfix damaged$n.zip fixed-ours$n.zip; oursT+=("$secs")
    echo "fvtool zipfix: $(tail -1 "$work/out.txt")"
    run "zip -FF #$n" sh -c "yes | zip -FF damaged$n.zip --out fixed-infozip$n.zip"; peerT+=("$secs")
  done
  echo "damaged archive $n, of $(entries infozip.zip) entries: zip -FF recovered $(entries fixed-infozip$n.zip)" \
       "($(intact fixed-infozip$n.zip) intact), fvtool zipfix recovered $(entries fixed-ours$n.zip) ($(intact fixed-ours$n.zip) intact)"
  ratio zipfix_vs_zipFF_$n "$(median "${oursT[@]}")" "$(median "${peerT[@]}")"
done
