#!/usr/bin/env bash
# Change watching: a file made by another process until it is in the window's list (target
# 500 ms), beside the same wait through GIO's file monitor (`gio monitor`, what GTK file
# managers build on); `tar x` of 20,000 files into the shown folder (target: at most 20 list
# reloads, the window answering within 200 ms); the CPU used with 1,000 folders watched and
# nothing changing (target about 0). Ends with RATIO lines (below 1: better than the target or
# the peer) and the peak RSS.
set -euo pipefail
cd "$(dirname "$0")/.."
WINDOW=${WINDOW:-build/bench/bench_watch_window}
FVTOOL=${FVTOOL:-build/bin/fvtool}
FILES=${FILES:-20000}
[ -x "$WINDOW" ] || { echo "build bench_watch_window first ($WINDOW)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/folvane-bench-watch.XXXXXX")
trap 'kill $(jobs -p) 2> /dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/shown" "$work/src" "$work/idle" "$work/home/.config" "$work/home/.local/share" "$work/runtime"
chmod 700 "$work/runtime"
( cd "$work/src" && seq -f "%06g" 1 "$FILES" | awk '{ printf "unpacked_%s.txt\n", $1 }' | xargs touch )
tar cf "$work/burst.tar" -C "$work/src" .
( cd "$work/idle" && seq 1 1000 | xargs mkdir )

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_RUNTIME_DIR="$work/runtime" LC_ALL=C.UTF-8
out=$(QT_QPA_PLATFORM=offscreen "$WINDOW" "$work/settings.txt" "$work/shown" "$work/burst.tar" "$work/idle")
echo "$out"
median=$(echo "$out" | awk '$1 == "latency" { print $5 }')
reloads=$(echo "$out" | awk '$1 == "burst" { print $5 }')
gap=$(echo "$out" | awk '$1 == "burst" { print $7 }')
cpu=$(echo "$out" | awk '$1 == "idle" { print $5 }')

# Time from a file made to the watcher's line about it, for a watcher that prints lines.
first_line_ms() {
    local dir="$1"; shift
    python3 - "$dir" "$@" <<'PY'
import os, subprocess, sys, time
folder, cmd = sys.argv[1], sys.argv[2:]
runs = []
proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, bufsize=0)
time.sleep(1.0)
os.set_blocking(proc.stdout.fileno(), False)
for i in range(7):
    name = f"peer{i}-{time.time_ns()}"
    start = time.monotonic()
    subprocess.run(["touch", os.path.join(folder, name)])
    buf = b""
    while name.encode() not in buf and time.monotonic() - start < 5:
        try:
            buf += proc.stdout.read() or b""
        except BlockingIOError:
            pass
        time.sleep(0.001)
    runs.append((time.monotonic() - start) * 1000)
    time.sleep(0.3)
proc.kill()
runs.sort()
print(f"{runs[len(runs) // 2]:.1f}")
PY
}
mkdir -p "$work/peer"
ours_watch=$(first_line_ms "$work/peer" "$FVTOOL" watch "$work/peer")
echo "fvtool watch: median ${ours_watch} ms from a file made to its line"
peer=""
if command -v gio > /dev/null; then
    peer=$(first_line_ms "$work/peer" gio monitor "$work/peer")
    echo "peer gio monitor: median ${peer} ms from a file made to its line"
fi
awk -v o="$median" 'BEGIN { printf "RATIO created-to-listed-vs-target-500ms %.3f\n", o / 500 }'
[ -n "$peer" ] && awk -v o="$ours_watch" -v p="$peer" 'BEGIN { printf "RATIO watch-line-vs-gio-monitor %.3f\n", o / p }'
awk -v o="$reloads" 'BEGIN { printf "RATIO tar-reloads-vs-target-20 %.3f\n", o / 20 }'
awk -v o="$gap" 'BEGIN { printf "RATIO tar-worst-answer-vs-target-200ms %.3f\n", o / 200 }'
echo "idle CPU with 1000 folders watched: ${cpu} ms in 5 s"
echo "$out" | awk '$1 == "peak-rss-kb" { print "peak RSS " $2 " KB" }'
