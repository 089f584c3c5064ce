#!/usr/bin/env bash
# The Image Editor on a real capture, opened with the Remote Control's Edit button, with Ctrl+E and
# with the Ctrl+Shift+E hotkey: a selection dragged backwards and cropped, a 90° turn, a smooth
# resize, and Enter in the width field; after each the Remote Control's image, saved as BMP through Save As, holds exactly the
# expected pixels (the selected block, the image turned, `zentrap-cli resize` of it, unchanged);
# "Print..." goes on to the Print command.
source "$(dirname "$0")/lib/e2e.bash"

# The editor opens right of the pattern window, the Save As window over it.
run_program_copy
printf '[Edit]\nLeft=1150\nTop=60\n[Save]\nLeft=60\nTop=60\n' >"$ini"
out="$work/saved"
mkdir -p "$out"

prepare_pattern_capture
start_zentrap
capture_pattern "$work/capture"

# Sets ed_wid and EX, EY, EW, EH (the editor's client area) once the editor is shown.
await_editor() {
  ed_wid=$(wait_window "Image Editor") || fail "the editor did not open"
  wait_active "$ed_wid" || fail "the editor did not take the keyboard"
  window_geometry "$ed_wid"
  EX=$X EY=$Y EW=$WIDTH EH=$HEIGHT
}
# Clicks a control of the right-hand panel: $1 pixels left of the client's right edge, $2 below its top.
click_panel() { move_pointer $((EX + EW - $1)) $((EY + $2)) click 1; }
# The paint area starts inside the 8-pixel border and the bevel.
view_x() { echo $((EX + 9 + $1)); }
view_y() { echo $((EY + 9 + $1)); }
scroll_tool() { click_panel 145 147; }
select_tool() { click_panel 117 147; }
crop_tool() { click_panel 80 147; }
rotate_tool() { click_panel 50 147; }
width_field() { click_panel 58 254; }
apply_button() { click_panel 84 326; }
save_as_button() { click_panel 84 18; }
print_button() { click_panel 84 46; }

# Closes the editor (if $1 is "esc") and saves the Remote Control's image as BMP to $2.bmp.
save_image() {
  if [ "$1" = esc ]; then
    xdotool key --clearmodifiers Escape
    wait_window_gone "Image Editor" "Esc to close the editor"
    focus_remote
    xdotool key --clearmodifiers ctrl+s
  fi
  save_wid=$(wait_window "Zentrap Save As") || fail "the Save As window did not open"
  wait_active "$save_wid" || fail "the Save As window did not take the keyboard"
  xdotool key --clearmodifiers Home
  save_through_dialog "$2" "$2.bmp"
  xdotool key --clearmodifiers Escape
  wait_window_gone "Zentrap Save As" "Esc to close the Save As window"
}

# 1. Select from (200, 150) back to (40, 30) in the view, crop, close with Esc.
click_remote 50 127
await_editor
select_tool
move_pointer "$(view_x 200)" "$(view_y 150)" mousedown 1
for step in 1 2 3 4; do
  move_pointer "$(view_x $((200 - step * 40)))" "$(view_y $((150 - step * 30)))"
done
xdotool mouseup 1
crop_tool
save_image esc "$out/cropped"
"$PY" - "$work/capture.png" "$out/cropped.bmp" <<'PYEOF' || fail "the cropped image is not the selected block"
import sys
from PIL import Image
capture, saved = Image.open(sys.argv[1]).convert("RGB"), Image.open(sys.argv[2]).convert("RGB")
expected = capture.crop((40, 30, 200, 150))
if saved.size != expected.size or saved.tobytes() != expected.tobytes():
    sys.exit(f"saved {saved.size}, expected the block {expected.size}")
PYEOF
echo "crop ok: the 160x120 block at 40,30 of the capture"

# 2. Ctrl+E, turn by 90°, continue with the editor's own "Save As...".
focus_remote
xdotool key --clearmodifiers ctrl+e
await_editor
before=$(program_windows)
rotate_tool
turn_menu=$(new_window "$before") || fail "the turn tool opened no menu"
await_menu "$turn_menu" "the turn menu"
xdotool key --clearmodifiers Down Return
wait_for 10 "the turn menu to close" window_unmapped "$turn_menu"
save_as_button
save_image direct "$out/turned"
"$PY" - "$out/cropped.bmp" "$out/turned.bmp" <<'PYEOF' || fail "the turned image is not the crop turned clockwise"
import sys
from PIL import Image
before, saved = Image.open(sys.argv[1]).convert("RGB"), Image.open(sys.argv[2]).convert("RGB")
expected = before.transpose(Image.Transpose.ROTATE_270)
if saved.size != expected.size or saved.tobytes() != expected.tobytes():
    sys.exit(f"saved {saved.size}, expected {expected.size}")
PYEOF
echo "rotate ok: 120x160"

# 3. Width 200 with Keep ratio (height 267) and Smooth, Apply: the same as zentrap-cli resize.
click_remote 50 127
await_editor
width_field
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 200
apply_button
save_image esc "$out/resized"
"$PY" -c "from PIL import Image; Image.open('$out/turned.bmp').save('$work/turned.png')"
"$real_bin/zentrap-cli" resize --width 200 --height 267 "$work/turned.png" "$work/expected.png" ||
  fail "zentrap-cli resize failed"
check same "$out/resized.bmp" "$work/expected.png" || fail "the smooth resize differs from zentrap-cli resize"
echo "resize ok: 200x267, equal to zentrap-cli resize"

# 4. Opened with the Edit hotkey: Enter in the width field closes the editor without applying the
# typed size.
xdotool key --clearmodifiers ctrl+shift+e
await_editor
width_field
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 50
xdotool key --clearmodifiers Return
wait_window_gone "Image Editor" "Enter to close the editor"
focus_remote
xdotool key --clearmodifiers ctrl+s
save_image direct "$out/entered"
check same "$out/entered.bmp" "$out/resized.bmp" || fail "Enter in the width field changed the image"
echo "enter ok: closed, nothing applied"

# 5. "Print..." closes the editor and continues with the Print command: the Print Preview, or on a
# desktop without printers its "No printer installed" box.
click_remote 50 127
await_editor
print_button
# The Print Preview, or the message box titled "Zentrap".
print_window() {
  local w
  for w in $(program_windows); do
    case "$(xdotool getwindowname "$w" 2>/dev/null)" in
    "Zentrap Print Preview" | Zentrap) echo "$w" && return 0 ;;
    esac
  done
}
printing=$(poll_output 10 print_window) || fail "\"Print...\" did not go on to the Print command"
xdotool search --onlyvisible --name '^Image Editor$' >/dev/null 2>&1 && fail "the editor stayed open after \"Print...\""
activate "$printing"
xdotool key --clearmodifiers Escape
wait_for 10 "Esc to close the Print command's window" window_unmapped "$printing"
echo "print ok: the editor handed over to the Print command"

close_zentrap
echo "editor edits ok"
