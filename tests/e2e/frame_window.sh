# The frame is caption-less, always on top, has no taskbar entry, forwards its keys and asks the
# Remote Control to close on Alt+F4.
source "$(dirname "$0")/lib/e2e.bash"

start_frame
[ "$FB" = 14 ] || fail "band width $FB at 96 pixels per inch"
[ "$FX $FY $FW $FH" = "480 270 960 540" ] || fail "first start at $FX $FY $FW $FH"

wait_for 5 "the frame's states" window_property_has "$frame_wid" _NET_WM_STATE _NET_WM_STATE_ABOVE
states=$(xprop -id "$frame_wid" _NET_WM_STATE)
echo "$states" | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "no skip-taskbar state: $states"
echo "$states" | grep -q _NET_WM_STATE_ABOVE || fail "not always on top: $states"
# Hiding withdraws the window, which drops its states: showing it again must bring them back.
frame_ask hide ok >/dev/null
wait_for 5 "the hidden frame to unmap" window_unmapped "$frame_wid"
frame_ask show ok >/dev/null
wait_for 5 "the frame to show again" xdotool search --onlyvisible --name '^Zentrap Capture Frame$'
frame_wid=$(xdotool search --onlyvisible --name '^Zentrap Capture Frame$' | head -n1)
wait_for 5 "the shown frame's states" window_property_has "$frame_wid" _NET_WM_STATE _NET_WM_STATE_ABOVE
states=$(xprop -id "$frame_wid" _NET_WM_STATE)
echo "$states" | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "no skip-taskbar state after hide and show: $states"
echo "$states" | grep -q _NET_WM_STATE_ABOVE || fail "not always on top after hide and show: $states"
# No decoration: the window manager's frame adds nothing around the client area.
window_geometry "$frame_wid"
[ "$X $Y $WIDTH $HEIGHT" = "480 270 960 540" ] || fail "window at $X $Y $WIDTH $HEIGHT"
xwininfo -id "$frame_wid" -frame | grep -q 'Absolute upper-left X:  480' || fail "decorated frame"

# Focus the frame by a click on its band, then send keys.
move_pointer 487 500 click 1
wait_for 5 "the clicked frame to take the focus" window_focused "$frame_wid"
xdotool key ctrl+c
xdotool key ctrl+shift+c
xdotool key ctrl+s
xdotool key F1
xdotool key ctrl+F1
xdotool key shift+F1
xdotool key ctrl+t
# A last forwarded key: once it arrives, every key before it has been handled.
xdotool key ctrl+c
wait_for 5 "the forwarded keys" file_has_lines "$frame_out" '^command' 5
got=$(grep '^command' "$frame_out" | tr '\n' ' ')
[ "$got" = "command Capture command Save command Help command Help command Capture " ] || fail "forwarded: $got"

# The units menu opens on the right button; its second item is "Inches".
harness_windows() { xdotool search --onlyvisible --pid "$frame_pid" 2>/dev/null | sort; }
before=$(harness_windows)
menu_open() { comm -13 <(echo "$before") <(harness_windows) | grep .; }
menu_closed() { ! menu_open; }
move_pointer 487 500 click 3
wait_for 5 "the units menu" menu_open
await_menu "$(menu_open | head -n1)" "the units menu"
xdotool key Down Down Return
wait_for 5 "the units menu to close" menu_closed

# Alt+F4 asks the Remote Control to close; the harness grants it and ends.
xdotool key alt+F4
poll 5 process_ended "$frame_pid" || true
grep -q '^command Close' "$frame_out" || fail "no close request"
exec 7>&-
wait_ended "$frame_pid" "the frame harness after Alt+F4" || fail "the harness ended with an error"
[ "$(stored_value CropWidth)" = 960 ] || fail "the frame did not write its values"
[ "$(stored_value FUnits)" = 1 ] || fail "the units menu did not set inches"

# At 120 pixels per inch the band is 18 pixels wide, and a stored size too small gives a 1 x 1 hole.
echo 'Xft.dpi: 120' | xrdb -merge
write_user_values '"CropLeft"=dword:00000064\n"CropTop"=dword:00000064\n"CropWidth"=dword:00000005\n"CropHeight"=dword:fffffff0'
start_frame
[ "$FB $FX $FY $FW $FH" = "18 100 100 37 37" ] || fail "at 120 pixels per inch: band $FB, frame $FX $FY $FW $FH"
frame_ask where capture | grep -q '^capture 118 118 1 1$' || fail "capture rectangle: $(tail -n1 "$frame_out")"
stop_frame
echo "frame_window: ok"
