#!/usr/bin/env bash
# Drags a file from another file manager's window onto the program's drive tab under Xvfb, with
# real X drag and drop (XDND, text/uri-list from the other program), and checks that the
# file was moved into the folder of the tab it was dropped on (a plain drop moves).
#
#   scripts/drag-from-other-program.sh [SHOT_DIR]
#
# Needs build/bin/folvane3, Xvfb, xdotool and pcmanfm-qt (not in the CI package lists: it
# pulls a desktop's worth of libraries); without pcmanfm-qt it says so and ends with 77
# (skipped). SHOT_DIR keeps photographs of the screen before and after the drop.
set -euo pipefail
# A session bus of its own: the other program is a single instance per bus.
if [[ -z "${DRAG_OWN_BUS:-}" ]]; then
  DRAG_OWN_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
here=$(cd "$(dirname "$0")/.." && pwd)
program="$here/build/bin/folvane3"
shots=${1:-}
[[ -x "$program" ]] || { echo "drag: $program is not built" >&2; exit 1; }
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "drag: $tool is missing" >&2; exit 1; }
done
command -v pcmanfm-qt >/dev/null || { echo "drag: skipped, pcmanfm-qt is not installed (apt-get install pcmanfm-qt)"; exit 77; }

work=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME/from" "$HOME/to" "$XDG_CONFIG_HOME/QuorVel/Folvane3" "$XDG_CACHE_HOME"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
printf 'dragged between programs\n' >"$HOME/from/dragged.txt"
# The program starts showing the folder "to", which then has a tab of its own. (A drop on the
# list means the folder the list shows, and does nothing there; the tree's node positions
# depend on what else is in /tmp.)
printf '[Software\\QuorVel\\Folvane3\\Settings]\n"ShowHiddenSystemfiles"=dword:1\n"OpenByDblClickFV"=dword:1\n%s\n%s\n%s\n%s\n"FVCurrentItemSel"="%s"\n"FVCurrentPathSel"="%s"\n"FVModeCurrent"=dword:0\n' \
  '"SingleDrive"=dword:1' '"FVVersionStr"="V0.00 Sat Mar 01, 2008"' '"ScaleJPGIndex"=dword:0' \
  '"FVBrowserWebStr"="https://www.debian.org/"' "$HOME/to/" "$HOME/to/" \
  >"$XDG_CONFIG_HOME/QuorVel/Folvane3/registry.txt"

exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 1400x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb

find_window() { # NAME-REGEX PID: the visible window, waited for up to 30 s
  local w=""
  for _ in $(seq 150); do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n1 || true)
    [[ -n "$w" ]] && { echo "$w"; return 0; }
    kill -0 "$2" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}

"$program" >"$work/app.log" 2>&1 &
app=$!; pids+=($app)
ours=$(find_window '^(FolVane III|Folvane )' "$app") || { cat "$work/app.log" >&2; echo "drag: no main window" >&2; exit 1; }
pcmanfm-qt --profile=drag "$HOME/from" >"$work/other.log" 2>&1 &
other_pid=$!; pids+=($other_pid)
other=$(find_window 'from' "$other_pid") || { cat "$work/other.log" >&2; echo "drag: pcmanfm-qt showed no window" >&2; exit 1; }
sleep 3
# (the window found first may have been a start-up window that is gone by now)
ours=$(find_window '^(FolVane III|Folvane )' "$app")
# Side by side: the other program on the left, ours on the right.
xdotool windowmove "$other" 0 0 windowsize "$other" 640 700
xdotool windowmove "$ours" 660 0 windowsize "$ours" 720 700
sleep 2
[[ -z "$shots" ]] || import -window root "$shots/drag-before.png"

# The file's icon is the first item of the other window's view; the drop goes to the tab
# of "to" in our window.
read -r from_x from_y <<<"${DRAG_FROM:-205 160}"
read -r to_x to_y <<<"${DRAG_TO:-120 100}"
xdotool mousemove --window "$other" "$from_x" "$from_y"
sleep 0.5
xdotool mousedown 1
sleep 0.3
for step in 2 4 8 16 32 64 128 256; do
  xdotool mousemove_relative -- 1 1
  xdotool mousemove --window "$other" $((from_x + step)) "$from_y"
  sleep 0.15
done
for step in 0 10 20 30 40; do
  xdotool mousemove --window "$ours" $((to_x + step)) "$to_y"
  sleep 0.2
done
[[ -z "$shots" ]] || import -window root "$shots/drag-hover.png"
echo "drag: caption while hovering: $(xdotool getwindowname "$ours")"
xdotool mouseup 1
for _ in $(seq 50); do [[ -e "$HOME/to/dragged.txt" ]] && break; sleep 0.1; done
sleep 3
[[ -z "$shots" ]] || import -window root "$shots/drag-after.png"

if [[ -e "$HOME/to/dragged.txt" && ! -e "$HOME/from/dragged.txt" ]]; then
  echo "drag: PASS, pcmanfm-qt's file was moved into the folder of the tab it was dropped on"
  exit 0
fi
[[ -z "$shots" ]] || cp "$work/app.log" "$work/other.log" "$shots/"
for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
  echo "drag: window open: $(xdotool getwindowname "$w" 2>/dev/null)"
done
echo "drag: FAIL, to: $(ls -A "$HOME/to" | tr '\n' ' ') from: $(ls -A "$HOME/from" | tr '\n' ' ')"
exit 1
