#!/usr/bin/env bash
# Photographs the real program: starts build/bin/folvane3 under Xvfb with a temporary
# HOME and XDG folders, waits until the main window is mapped, captures the screen to
# OUT.png, then closes the program cleanly (so that it writes its settings) and cleans up.
#
#   scripts/screenshot.sh OUT.png [WIDTHxHEIGHT]
#
# Optional environment:
#   SCREENSHOT_SAMPLE_FILES=1   puts a few folders and files in the temporary home first
#   SCREENSHOT_RIGHT_CLICK="X Y" right-clicks at X,Y inside the main window before the
#                                capture (a context menu shows in the picture)
#   SCREENSHOT_MODE="N FILE"     starts in view mode N showing FILE (relative to the home),
#                                as if the program had been closed there
#   SCREENSHOT_COPY="SRC NAME"   copies the file SRC into the home as NAME first
#   SCREENSHOT_SCALE_JPG=N       the stored JPEG scale index (0 to 3) for SCREENSHOT_MODE
#   SCREENSHOT_KEYS_AT="X Y"     clicks at X,Y inside the window (SCREENSHOT_CLICKS times, 2
#                                for a double click: View on a file of the list), then types
#                                SCREENSHOT_KEYS="K..." (xdotool key names), before the capture
#   SCREENSHOT_DRAG="X1 Y1 X2 Y2" drags with the left button from X1,Y1 to X2,Y2 inside the
#                                window (a crop frame in the image pane) before the capture
#   SCREENSHOT_WAIT=S            seconds to wait after the window appears (default 2; a web
#                                page may need longer to load)
#   SCREENSHOT_SHOW_ITEM=PATH    once the window stands, asks it over D-Bus
#                                (org.freedesktop.FileManager1.ShowItems) to show PATH
#                                (relative to the home) selected; run the script under
#                                dbus-run-session so that a private session bus is used
set -euo pipefail
out=${1:?usage: scripts/screenshot.sh OUT.png [WIDTHxHEIGHT]}
size=${2:-1024x768}
here=$(cd "$(dirname "$0")/.." && pwd)
program="$here/build/bin/folvane3"
ctl="$here/build/bin/folvane3-ctl"
[[ -x "$program" ]] || { echo "screenshot: $program is not built (make build)" >&2; exit 1; }
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing (bash scripts/install-deps.sh)" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [[ -n "$app_pid" ]] && kill "$app_pid" 2>/dev/null || true
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_DIRS="$work/etc-xdg"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_CONFIG_DIRS"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
if [[ "${SCREENSHOT_SAMPLE_FILES:-}" == 1 ]]; then
  mkdir -p "$HOME/Documents/Letters" "$HOME/Music" "$HOME/Pictures/Holiday" "$HOME/Projects/folvane"
  printf 'Shopping list\nbread\nmilk\n' >"$HOME/notes.txt"
  printf '# Plan\n' >"$HOME/plan.md"
  head -c 48000 /dev/zero >"$HOME/backup.zip"
  head -c 1500000 /dev/zero >"$HOME/holiday.jpg"
  printf 'x' >"$HOME/.hidden-settings"
fi

if [[ -n "${SCREENSHOT_COPY:-}" ]]; then
  read -r copy_source copy_name <<<"$SCREENSHOT_COPY"
  cp "$copy_source" "$HOME/$copy_name"
fi
if [[ -n "${SCREENSHOT_MODE:-}" ]]; then
  read -r start_mode start_file <<<"$SCREENSHOT_MODE"
  mkdir -p "$XDG_CONFIG_HOME/QuorVel/Folvane3"
  # The values are read in the store's order up to the first one missing.
  printf '[Software\\QuorVel\\Folvane3\\Settings]\n"ShowHiddenSystemfiles"=dword:1\n"OpenByDblClickFV"=dword:1\n%s\n%s\n%s\n%s\n"FVCurrentItemSel"="%s"\n"FVCurrentPathSel"="%s"\n"FVModeCurrent"=dword:%d\n' \
    '"SingleDrive"=dword:1' '"FVVersionStr"="V0.00 Sat Mar 01, 2008"' '"ScaleJPGIndex"=dword:'"${SCREENSHOT_SCALE_JPG:-0}" \
    '"FVBrowserWebStr"="https://www.debian.org/"' "$HOME/$start_file" "$HOME/" "$start_mode" \
    >"$XDG_CONFIG_HOME/QuorVel/Folvane3/registry.txt"
fi

# A free display number; Xvfb writes the one it took to the given descriptor.
exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb

"$program" >"$work/app.log" 2>&1 &
app_pid=$!
window=""
for _ in $(seq 150); do
  window=$(xdotool search --onlyvisible --name '^(FolVane III|Folvane )' 2>/dev/null | head -n1 || true)
  [[ -n "$window" ]] && break
  kill -0 "$app_pid" 2>/dev/null || { cat "$work/app.log" >&2; echo "screenshot: the program ended early" >&2; exit 1; }
  sleep 0.2
done
[[ -n "$window" ]] || { echo "screenshot: no main window appeared" >&2; exit 1; }
# Let the start-up animation end and the window paint.
sleep "${SCREENSHOT_WAIT:-2}"
if [[ -n "${SCREENSHOT_SHOW_ITEM:-}" ]]; then
  gdbus call --session --dest org.freedesktop.FileManager1 --object-path /org/freedesktop/FileManager1 \
    --method org.freedesktop.FileManager1.ShowItems "['file://$HOME/$SCREENSHOT_SHOW_ITEM']" "" >/dev/null
  sleep 5
fi
if [[ -n "${SCREENSHOT_RIGHT_CLICK:-}" ]]; then
  read -r click_x click_y <<<"$SCREENSHOT_RIGHT_CLICK"
  xdotool mousemove --window "$window" "$click_x" "$click_y" click 1
  sleep 0.5
  xdotool mousemove --window "$window" "$click_x" "$click_y" click 3
  sleep 1
fi
if [[ -n "${SCREENSHOT_KEYS_AT:-}" ]]; then
  # (the window found first may have been a start-up window that is gone by now)
  window=$(xdotool search --onlyvisible --name '^(FolVane III|Folvane )' 2>/dev/null | tail -n1 || true)
  # Without a window manager the keyboard follows the pointer: the keys go to the window.
  read -r keys_x keys_y <<<"$SCREENSHOT_KEYS_AT"
  xdotool mousemove --window "$window" "$keys_x" "$keys_y" click --repeat "${SCREENSHOT_CLICKS:-1}" 1
  sleep 0.5
  # shellcheck disable=SC2086
  [[ -z "${SCREENSHOT_KEYS:-}" ]] || xdotool key $SCREENSHOT_KEYS
  sleep 4
fi
if [[ -n "${SCREENSHOT_DRAG:-}" ]]; then
  window=$(xdotool search --onlyvisible --name '^(FolVane III|Folvane )' 2>/dev/null | tail -n1 || true)
  read -r drag_x1 drag_y1 drag_x2 drag_y2 <<<"$SCREENSHOT_DRAG"
  xdotool mousemove --window "$window" "$drag_x1" "$drag_y1" mousedown 1
  sleep 0.3
  xdotool mousemove --window "$window" "$(( (drag_x1 + drag_x2) / 2 ))" "$(( (drag_y1 + drag_y2) / 2 ))"
  sleep 0.3
  xdotool mousemove --window "$window" "$drag_x2" "$drag_y2" mouseup 1
  sleep 1
fi
import -window root "$out"
if [[ -n "${SCREENSHOT_RIGHT_CLICK:-}" ]]; then
  xdotool key Escape
  sleep 0.3
fi

# A clean close through the program's own instance channel (File / Exit).
"$ctl" quit || { echo "screenshot: the program did not answer quit" >&2; exit 1; }
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app_pid" 2>/dev/null; then
  echo "screenshot: the program did not close" >&2
  exit 1
fi
wait "$app_pid" || true
app_pid=""
[[ -s "$XDG_CONFIG_HOME/QuorVel/Folvane3/registry.txt" ]] || { echo "screenshot: no settings were written" >&2; exit 1; }
echo "screenshot: wrote $out"
