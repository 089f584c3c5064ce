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
sleep 0.3
# The grabbed point stays under the pointer: the window moves the whole way, also the part before
# the drag distance was passed.
window_geometry "$remote_wid"
[ "$X,$Y" = "1110,460" ] || fail "dragged to $X,$Y instead of 1110,460"

# A plain click on the body moves nothing and leaves the keyboard with the window.
click_remote 50 230
sleep 0.2
window_geometry "$remote_wid"
[ "$X,$Y" = "1110,460" ] || fail "a click moved the window to $X,$Y"
xdotool key --clearmodifiers ctrl+c
read_clipboard_images "$work/keyed"
[ -s "$work/keyed.png" ] || fail "Ctrl+C did not capture"

popups() { xdotool search --onlyvisible --pid "$zentrap_pid" 2>/dev/null | sort; }
before=$(popups)
click_remote 29 16
sleep 0.4
menu=$(comm -13 <(echo "$before") <(popups) | head -n1)
[ -n "$menu" ] || fail "the Menu button opened no menu"
window_geometry "$menu"
[ "$X,$Y" = "1131,485" ] || fail "system menu at $X,$Y instead of 1131,485"
xdotool key Escape
sleep 0.3

window_geometry "$remote_wid"
xdotool mousemove --sync $((X + 50)) $((Y + 150)) click 3
sleep 0.4
tray=$(comm -13 <(echo "$before") <(popups) | head -n1)
[ -n "$tray" ] || fail "the right button on a control opened no tray menu"
xdotool key Escape
sleep 0.3

close_zentrap
grep -qxF '"Left"=dword:00000456' "$user_hive" || fail "Left not written as 1110: $(grep Left "$user_hive")"
grep -qxF '"Top"=dword:000001cc' "$user_hive" || fail "Top not written as 460"
echo "move and menus ok"
