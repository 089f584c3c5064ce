#!/usr/bin/env bash
# The Remote Control follows the mouse when dragged by its body, still takes plain clicks and keys
# afterwards, opens its system menu at (left + 21, top + 25) and its tray menu on the right button,
# and writes where it was left.
source "$(dirname "$0")/remote_common.bash"

write_user_values '"FCursor"=dword:00000000'
start_zentrap
window_geometry "$remote_wid"
[ "$X,$Y" = "910,410" ] || fail "started at $X,$Y"

# Drag by the body below the buttons: 200 right, 50 down, in small steps as a hand would.
xdotool mousemove --sync 960 640 mousedown 1
for step in $(seq 1 20); do
  xdotool mousemove --sync $((960 + step * 10)) $((640 + step * 5 / 2))
  sleep 0.02
done
xdotool mouseup 1
# The grabbed point stays under the pointer: the window moves the whole way, also the part before
# the drag distance was passed.
wait_for 5 "the dragged window at 1110,460" window_at "$remote_wid" 1110 460

# A plain click on the body moves nothing and leaves the keyboard with the window.
click_remote 50 230
xdotool key --clearmodifiers ctrl+c
read_clipboard_images "$work/keyed"
[ -s "$work/keyed.png" ] || fail "Ctrl+C did not capture"
# The key came after the click, so the click has been handled by now.
window_geometry "$remote_wid"
[ "$X,$Y" = "1110,460" ] || fail "a click moved the window to $X,$Y"

popups() { xdotool search --onlyvisible --pid "$zentrap_pid" 2>/dev/null | sort; }
new_popup() { comm -13 <(echo "$before") <(popups) | grep .; }
no_new_popup() { ! new_popup; }
before=$(popups)
click_remote 29 16
wait_for 5 "the Menu button's menu" new_popup
menu=$(new_popup | head -n1)
wait_for 5 "the system menu at 1131,485" window_at "$menu" 1131 485
xdotool key Escape
wait_for 5 "the system menu to close" no_new_popup

window_geometry "$remote_wid"
xdotool mousemove --sync $((X + 50)) $((Y + 150)) click 3
wait_for 5 "a tray menu from the right button on a control" new_popup
xdotool key Escape
wait_for 5 "the tray menu to close" no_new_popup

close_zentrap
grep -qxF '"Left"=dword:00000456' "$user_hive" || fail "Left not written as 1110: $(grep Left "$user_hive")"
grep -qxF '"Top"=dword:000001cc' "$user_hive" || fail "Top not written as 460"
echo "move and menus ok"
