#!/usr/bin/env bash
# Photographs the confirmation dialog (three actions) and the progress windows during a long
# copy: runs build/tests/fileops_dialog_shots under Xvfb with a temporary HOME and writes the
# PNG files into OUTDIR.
#
#   scripts/fileops-dialogs.sh OUTDIR
set -euo pipefail
out=${1:?usage: scripts/fileops-dialogs.sh OUTDIR}
here=$(cd "$(dirname "$0")/.." && pwd)
program="$here/build/tests/fileops_dialog_shots"
[[ -x "$program" ]] || { echo "fileops-dialogs: $program is not built" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "fileops-dialogs: Xvfb is missing (bash scripts/install-deps.sh)" >&2; exit 1; }
mkdir -p "$out"
out=$(cd "$out" && pwd)

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"

exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb
"$program" "$out"
