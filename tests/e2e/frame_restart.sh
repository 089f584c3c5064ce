# The frame moves by its band (own drag, and the window manager's move), resizes from its outer
# edge, and its geometry survives a restart.
source "$(dirname "$0")/lib/e2e.bash"

start_frame
[ "$FX $FY $FW $FH" = "480 270 960 540" ] || fail "first start at $FX $FY $FW $FH"

# Own drag: the band follows the pointer.
drag_pointer 1 487 540 587 590 window_at "$frame_wid" 580 320
window_geometry "$frame_wid"
[ "$X $Y" = "580 320" ] || fail "dragged to $X $Y"
# Resize from the bottom-right corner, and from the left edge.
drag_pointer 1 1539 859 1339 759 window_placed "$frame_wid" 580 320 760 440
drag_pointer 1 580 500 600 500 window_placed "$frame_wid" 600 320 740 440
window_geometry "$frame_wid"
[ "$X $Y $WIDTH $HEIGHT" = "600 320 740 440" ] || fail "resized to $X $Y $WIDTH $HEIGHT"
frame_ask where capture | grep -q '^capture 614 334 712 412$' || fail "capture rectangle: $(tail -n1 "$frame_out")"
# Shrinking stops at a one-pixel hole.
drag_pointer 1 1339 759 300 100 window_placed "$frame_wid" 600 320 29 29
window_geometry "$frame_wid"
[ "$X $Y $WIDTH $HEIGHT" = "600 320 29 29" ] || fail "shrunk to $X $Y $WIDTH $HEIGHT"
drag_pointer 1 628 348 1028 648 window_placed "$frame_wid" 600 320 429 329
stop_frame
[ "$(stored_value CropLeft) $(stored_value CropTop) $(stored_value CropWidth) $(stored_value CropHeight)" = "600 320 429 329" ] ||
  fail "stored $(grep dword "$user_hive" | tr '\n' ' ')"

# The next start puts the frame back where it was; with the option off the window manager moves it.
start_frame --system-move
[ "$FX $FY $FW $FH" = "600 320 429 329" ] || fail "restarted at $FX $FY $FW $FH"
window_geometry "$frame_wid"
[ "$X $Y $WIDTH $HEIGHT" = "600 320 429 329" ] || fail "restarted window at $X $Y $WIDTH $HEIGHT"
drag_pointer 1 700 327 500 227 window_at "$frame_wid" 400 220
window_geometry "$frame_wid"
[ "$X $Y" = "400 220" ] || fail "system move ended at $X $Y"
# A plain click on the band is not taken for a move: the next click still arrives.
move_pointer 500 227 click 1
drag_pointer 1 500 227 550 237 window_at "$frame_wid" 450 230
window_geometry "$frame_wid"
[ "$X $Y" = "450 230" ] || fail "second system move ended at $X $Y"
stop_frame
[ "$(stored_value CropLeft) $(stored_value CropTop)" = "450 230" ] || fail "stored $(grep dword "$user_hive" | tr '\n' ' ')"
echo "frame_restart: ok"
