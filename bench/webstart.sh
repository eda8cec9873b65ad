#!/usr/bin/env bash
# Start-up with the web pane built in, and the web pane's own times:
#   start: the program (offscreen, file manager mode, a fresh home) until its instance
#          channel answers `folvane3-ctl ping`, against PEER, a build without the web pane
#          (default: the main tree's build); seven alternating runs each, medians.
#   web-entry: entering web mode with a local page until it has loaded, first in a new
#          profile and then again with the profile on disk (warm); then a later local page.
# Prints RATIO start (ours/peer), RATIO web-entry (warm/1500 ms), RATIO later-page (/300 ms)
# and peak RSS.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
ours=${OURS:-$here/build/bin/folvane3}
peer=${PEER:-/work/main/build/bin/folvane3}
entry=${ENTRY:-$here/build/bench/bench_web_entry}
runs=${RUNS:-7}
for p in "$ours" "$peer" "$entry"; do [[ -x $p ]] || { echo "missing $p" >&2; exit 1; }; done
work=$(mktemp -d "${BENCH_TMP:-/tmp}/fvbench-web.XXXXXX")
trap 'rm -rf "$work"' EXIT
# Root (CI) needs the engine's sandbox off.
export QTWEBENGINE_CHROMIUM_FLAGS=${QTWEBENGINE_CHROMIUM_FLAGS:---no-sandbox} QT_QPA_PLATFORM=offscreen

use_home() { # folder: a fresh home for one run
  rm -rf "$1"; mkdir -p "$1/.config" "$1/.local/share" "$1/.cache" "$1/run"; chmod 700 "$1/run"
  export HOME=$1 XDG_CONFIG_HOME=$1/.config XDG_DATA_HOME=$1/.local/share XDG_CACHE_HOME=$1/.cache XDG_RUNTIME_DIR=$1/run
}

start_ms() { # program: ms until the instance channel answers
  local program=$1 ctl t0 t1 pid
  ctl=$(dirname "$program")/folvane3-ctl
  use_home "$work/home"
  t0=$(date +%s%N)
  "$program" >/dev/null 2>&1 & pid=$!
  until "$ctl" ping >/dev/null 2>&1; do sleep 0.005; done
  t1=$(date +%s%N)
  "$ctl" quit >/dev/null 2>&1 || kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo $(( (t1 - t0) / 1000000 ))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

: > "$work/ours"; : > "$work/peer"
for _ in $(seq "$runs"); do
  start_ms "$ours" >> "$work/ours"
  start_ms "$peer" >> "$work/peer"
done
a=$(median < "$work/ours"); b=$(median < "$work/peer")
echo "start ours: ${a} ms (runs: $(tr '\n' ' ' < "$work/ours"))"
echo "start peer: ${b} ms (runs: $(tr '\n' ' ' < "$work/peer"))"

printf '<html><head><title>one</title></head><body><h1>One</h1></body></html>' > "$work/one.html"
printf '<html><head><title>two</title></head><body><h1>Two</h1></body></html>' > "$work/two.html"
use_home "$work/webhome"
cold=$("$entry" "$work/settings.txt" "$work/one.html" "$work/two.html" 2>/dev/null)
warm=$("$entry" "$work/settings.txt" "$work/one.html" "$work/two.html" 2>/dev/null)
echo "web entry, new profile: $(echo "$cold" | awk '$1 == "web-entry-ms" { print $2 }') ms"
echo "web entry, warm: $(echo "$warm" | awk '$1 == "web-entry-ms" { print $2 }') ms"
echo "later local page: $(echo "$warm" | awk '$1 == "later-page-ms" { print $2 }') ms"
echo "peak RSS with the web pane: $(echo "$warm" | awk '$1 == "peak-rss-kb" { print $2 }') KB"
awk -v a="$a" -v b="$b" 'BEGIN { printf "RATIO start %.3f\n", a / b }'
echo "$warm" | awk '$1 == "web-entry-ms" { printf "RATIO web-entry %.3f\n", $2 / 1500 } $1 == "later-page-ms" { printf "RATIO later-page %.3f\n", $2 / 300 }'
