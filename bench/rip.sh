#!/usr/bin/env bash
# The ripper's downloads (fvtool rip, the dialog's engine) against wget on a local HTTP/1.1
# server started here: 1,000 files of 50 KB walked by a counter, and one 1 GiB file whose
# peak RSS shows that a download streams to disk. Each side runs three times alternately and
# the best time counts. Prints wall time and peak RSS of each side and one RATIO line per job
# (ours/peer; below 1 means ours is faster).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
fvtool=${FVTOOL:-$here/build/bin/fvtool}
work=$(mktemp -d "${BENCH_TMP:-/tmp}/fvbench-rip.XXXXXX")
server_pid=""
trap '[[ -z $server_pid ]] || kill "$server_pid" 2>/dev/null; rm -rf "$work"' EXIT
[[ -x $fvtool ]] || { echo "build fvtool first ($fvtool)" >&2; exit 1; }

mkdir -p "$work/served"
python3 - "$work/served" <<'PY'
import os, sys
root = sys.argv[1]
for i in range(1000):
    with open(os.path.join(root, "%04d.bin" % i), "wb") as out:
        out.write(os.urandom(50 * 1024))
PY
head -c $((1 << 30)) /dev/zero > "$work/served/big.bin"

python3 "$here/tests/internet/rip_server.py" "$work/served" > "$work/port" &
server_pid=$!
for _ in $(seq 50); do [[ -s $work/port ]] && break; sleep 0.1; done
port=$(awk '{print $2}' "$work/port")
base="http://127.0.0.1:$port/files"
for i in $(seq 0 999); do printf '%s/%04d.bin\n' "$base" "$i"; done > "$work/list"

measure() { # command...: prints "wall rss" of the run
  /usr/bin/time -o "$work/time" -f '%e %M' "$@" >/dev/null 2>&1 || true
  tail -1 "$work/time"
}

best() { # job ours-command... -- peer-command...
  local job=$1; shift
  local ours=() peer=() side=ours
  for arg in "$@"; do
    if [[ $arg == -- ]]; then side=peer; continue; fi
    if [[ $side == ours ]]; then ours+=("$arg"); else peer+=("$arg"); fi
  done
  local ours_best="" peer_best="" ours_rss=0 peer_rss=0
  for round in 1 2 3; do
    rm -rf "$work/out"; mkdir "$work/out"
    read -r wall rss < <(cd "$work/out" && measure "${ours[@]}")
    if [[ -z $ours_best ]] || awk "BEGIN{exit !($wall < $ours_best)}"; then ours_best=$wall; ours_rss=$rss; fi
    rm -rf "$work/out"; mkdir "$work/out"
    read -r wall rss < <(cd "$work/out" && measure "${peer[@]}")
    if [[ -z $peer_best ]] || awk "BEGIN{exit !($wall < $peer_best)}"; then peer_best=$wall; peer_rss=$rss; fi
  done
  rm -rf "$work/out"
  echo "$job ours: ${ours_best}s ${ours_rss}KB peak RSS"
  echo "$job ${peer[0]}: ${peer_best}s ${peer_rss}KB peak RSS"
  awk -v j="$job" -v a="$ours_best" -v b="$peer_best" 'BEGIN { if (b < 0.01) b = 0.01; if (a < 0.01) a = 0.01; printf "RATIO %s %.3f\n", j, a / b }' >> "$work/ratios"
}

# The counter walks 0000 to 0999 at the four digits before ".bin".
example="$base/0000.bin"
index=$(( ${#example} - 7 ))
best rip-1000x50k "$fvtool" rip "$example" "$work/out" --counter "$index:4:0:999" --ext bin \
  -- wget -q -i "$work/list" -P "$work/out"
best rip-1gib "$fvtool" rip --one "$base/big.bin" "$work/out" --ext bin \
  -- wget -q "$base/big.bin" -P "$work/out"
cat "$work/ratios"
