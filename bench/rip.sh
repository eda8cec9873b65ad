#!/usr/bin/env bash
# The ripper's downloads (fvtool rip, the dialog's engine) against wget on a local HTTP/1.1
# server started here: 1,000 files of 50 KB walked by a counter, and one 1 GiB file whose
# peak RSS shows that a download streams to disk. The two sides run in pairs, ROUNDS times
# (default 5, the order alternating), so that the machine's load weighs on both; the RATIO
# line of a job (ours/peer; below 1 means ours is faster) is the median of the pairs'
# ratios, beside the median wall times and the highest peak RSS of each side. ONLY=rip-1000x50k
# runs that job alone.
set -euo pipefail
rounds=${ROUNDS:-5}
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
[[ ${ONLY:-} == rip-1000x50k ]] || head -c $((1 << 30)) /dev/zero > "$work/served/big.bin"

python3 "$here/tests/internet/rip_server.py" "$work/served" > "$work/port" &
server_pid=$!
for _ in $(seq 50); do [[ -s $work/port ]] && break; sleep 0.1; done
port=$(awk '{print $2}' "$work/port")
base="http://127.0.0.1:$port/files"
for i in $(seq 0 999); do printf '%s/%04d.bin\n' "$base" "$i"; done > "$work/list"

source "$here/bench/lib/common.sh"

# One side of a round in a fresh output folder; prints "wall rss".
run_side() { # label command...
  local label=$1; shift
  rm -rf "$work/out"; mkdir "$work/out"
  local wall
  wall=$(cd "$work/out" && measure "$label" "$@" 2>/dev/null) || true
  echo "$wall $(awk '{print $2}' "$work/time")"
}

paired() { # job ours-command... -- peer-command...
  local job=$1; shift
  local ours=() peer=() side=ours
  for arg in "$@"; do
    if [[ $arg == -- ]]; then side=peer; continue; fi
    if [[ $side == ours ]]; then ours+=("$arg"); else peer+=("$arg"); fi
  done
  local ours_walls=() peer_walls=() ratios=() ours_rss=0 peer_rss=0 a b ra rb
  for ((round = 1; round <= rounds; ++round)); do
    # The order alternates, so that neither side always runs on the warmer machine.
    if ((round % 2)); then
      read -r a ra < <(run_side ours "${ours[@]}"); read -r b rb < <(run_side peer "${peer[@]}")
    else
      read -r b rb < <(run_side peer "${peer[@]}"); read -r a ra < <(run_side ours "${ours[@]}")
    fi
    ours_walls+=("$a"); peer_walls+=("$b")
    ratios+=("$(awk -v a="$a" -v b="$b" 'BEGIN { if (b < 0.01) b = 0.01; if (a < 0.01) a = 0.01; printf "%.3f", a / b }')")
    ((ra > ours_rss)) && ours_rss=$ra
    ((rb > peer_rss)) && peer_rss=$rb
    echo "$job round $round: ours ${a}s, ${peer[0]} ${b}s, ratio ${ratios[-1]}" >&2
  done
  rm -rf "$work/out"
  echo "$job ours: median $(median "${ours_walls[@]}")s, ${ours_rss}KB peak RSS"
  echo "$job ${peer[0]}: median $(median "${peer_walls[@]}")s, ${peer_rss}KB peak RSS"
  echo "RATIO $job $(median "${ratios[@]}")" >> "$work/ratios"
}

# The counter walks 0000 to 0999 at the four digits before ".bin".
example="$base/0000.bin"
index=$(( ${#example} - 7 ))
paired rip-1000x50k "$fvtool" rip "$example" "$work/out" --counter "$index:4:0:999" --ext bin \
  -- wget -q -i "$work/list" -P "$work/out"
[[ ${ONLY:-} == rip-1000x50k ]] || paired rip-1gib "$fvtool" rip --one "$base/big.bin" "$work/out" --ext bin \
  -- wget -q "$base/big.bin" -P "$work/out"
cat "$work/ratios"
