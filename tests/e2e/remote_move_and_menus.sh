#!/usr/bin/env bash
# The Remote Control follows the mouse when dragged by its body, still takes plain clicks and keys
# afterwards, opens its system menu at (left + 21, top + 25) and its tray menu on the right button,
# and writes where it was left.
source "$(dirname "$0")/lib/e2e.bash"

write_user_values '"FCursor"=dword:00000000'
start_zentrap
window_geometry "$remote_wid"
[ "$X,$Y" = "910,410" ] || fail "started at $X,$Y"

# Drag by the body below the buttons: 200 right, 50 down, in small steps as a hand would.
move_pointer 960 640 mousedown 1
for step in $(seq 1 20); do
  move_pointer $((960 + step * 10)) $((640 + step * 5 / 2))
done
xdotool mouseup 1
# The grabbed point stays under the pointer: the window moves the whole way, also the part before
# the drag distance was passed.
wait_for 5 "the dragged window at 1110,460" window_at "$remote_wid" 1110 460

# A plain click on the body moves nothing and leaves the keyboard with the window.
focus_remote
xdotool key --clearmodifiers ctrl+c
read_clipboard_images "$work/keyed"
[ -s "$work/keyed.png" ] || fail "Ctrl+C did not capture"
# The key came after the click, so the click has been handled by now.
window_geometry "$remote_wid"
[ "$X,$Y" = "1110,460" ] || fail "a click moved the window to $X,$Y"

before=$(program_windows)
click_remote 29 16
menu=$(new_window "$before") || fail "the Menu button opened no menu"
wait_for 5 "the system menu at 1131,485" window_at "$menu" 1131 485
await_menu "$menu" "the system menu"
xdotool key Escape
wait_for 5 "the system menu to close" no_new_window_since "$before"

window_geometry "$remote_wid"
move_pointer $((X + 50)) $((Y + 150)) click 3
menu=$(new_window "$before") || fail "no tray menu from the right button on a control"
await_menu "$menu" "the tray menu"
xdotool key Escape
wait_for 5 "the tray menu to close" no_new_window_since "$before"

close_zentrap
grep -qxF '"Left"=dword:00000456' "$user_hive" || fail "Left not written as 1110: $(grep Left "$user_hive")"
grep -qxF '"Top"=dword:000001cc' "$user_hive" || fail "Top not written as 460"
echo "move and menus ok"
