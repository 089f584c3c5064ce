#!/usr/bin/env bash
# A hotkey capture with the Remote Control over the hole, in front of a window that repaints only
# 150 ms after it is uncovered: the picture is exactly that window's pattern under the hole, not the
# Remote Control's pixels, its frame or the desktop. With the Remote Control beside the hole, the
# picture is the same block and the Remote Control never leaves the screen.
source "$(dirname "$0")/lib/e2e.bash"

slow_out="$work/slow.out"
# The frame at 700,300 (400 x 300) puts its hole inside the slow window; the Remote Control starts
# at 850,320, inside the hole.
write_user_values '"CropLeft"=dword:000002bc\n"CropTop"=dword:0000012c\n"CropWidth"=dword:00000190\n"CropHeight"=dword:0000012c\n"Left"=dword:00000352\n"Top"=dword:00000140\n"FCursor"=dword:00000000\n"HideRemote"=dword:00000001'
start_zentrap
frame_wid=$(wait_window "Zentrap Capture Frame") || fail "the Capture Frame is not shown"

# The slow window under both, from 600,200 (700 x 500); it reports the Remote Control's unmaps.
"$PY" "$ZENTRAP_SOURCE_DIR/tests/tools/slow_repaint_window.py" 600,200,700,500 150 "$remote_wid" >"$slow_out" \
  2>"$work/slow.err" &
started "$!"
log_on_failure slow-window "$work/slow.err"
wait_for 20 "the slow window's first paint" file_has_line "$slow_out" ready
move_pointer 10 10

window_geometry "$frame_wid"
band=$(scaled 14)
hole_x=$((X + band - 600)) hole_y=$((Y + band - 200)) hole_w=$((WIDTH - 2 * band)) hole_h=$((HEIGHT - 2 * band))
window_geometry "$remote_wid"
[ "$X" -ge $((hole_x + 600)) ] && [ $((X + WIDTH)) -le $((hole_x + 600 + hole_w)) ] ||
  fail "the Remote Control at $X,$Y is not over the hole"

# capture_by_hotkey NAME: Ctrl+Shift+C; the clipboard's picture in NAME.png, checked to be exactly
# the slow window's pattern under the hole.
capture_by_hotkey() {
  clear_clipboard
  xdotool key ctrl+shift+c
  read_clipboard_images "$work/$1"
  origin=$(check locate "$work/$1.png" "$hole_w" "$hole_h") ||
    fail "$1: the picture is not the slow window's pattern: $origin"
  [ "$origin" = "$hole_x $hole_y" ] || fail "$1: the picture starts at pattern $origin, the hole at $hole_x $hole_y"
}

# (a) Over the hole: the Remote Control leaves the screen, the slow window is uncovered, and the
# picture waits for its repaint.
capture_by_hotkey over
file_has_line "$slow_out" "unmapped $remote_wid" || fail "the Remote Control over the hole was not hidden"
file_has_line "$slow_out" exposed || fail "hiding the Remote Control uncovered nothing"
wait_for 10 "the Remote Control back on the screen" file_has_line "$slow_out" "mapped $remote_wid"
echo "over the hole: pattern block at $origin, ${hole_w}x$hole_h"

# (b) Beside the hole, still over the slow window: it never leaves the screen.
lines=$(wc -l <"$slow_out")
xdotool windowmove "$remote_wid" 1150 250
wait_for 10 "the Remote Control beside the hole" window_at "$remote_wid" 1150 250
repainted_since() { tail -n +$(($1 + 1)) "$slow_out" | grep -qx painted; }
wait_for 10 "the slow window to repaint where the Remote Control was" repainted_since "$lines"
lines=$(wc -l <"$slow_out")
capture_by_hotkey beside
tail -n +$((lines + 1)) "$slow_out" >"$work/beside.log"
! grep -q unmapped "$work/beside.log" || fail "the Remote Control beside the hole was hidden: $(cat "$work/beside.log")"
! grep -q exposed "$work/beside.log" || fail "something was uncovered during the capture beside the hole"
echo "beside the hole: pattern block at $origin, the Remote Control stayed"
