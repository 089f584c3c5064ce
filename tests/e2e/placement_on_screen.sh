#!/usr/bin/env bash
# Stored placements that no screen shows are brought back: a Remote Control stored at 5000,5000
# and a Capture Frame stored beside the screen come back to their default places, and a Save As
# window stored 2147483647 pixels wide fits the screen with its buttons reachable; what is written
# back is the corrected placement. Set ZENTRAP_SCREENSHOTS to a folder to keep a screenshot of each.
source "$(dirname "$0")/lib/e2e.bash"

run_program_copy
printf '[Save]\nLeft=-3000\nTop=20\nWidth=2147483647\nHeight=2147483647\n' >"$ini"
write_user_values '"Left"=dword:00001388\n"Top"=dword:00001388\n"CropLeft"=dword:00000780\n"CropTop"=dword:00000064\n"CropWidth"=dword:00000190\n"CropHeight"=dword:0000012c\n"FCursor"=dword:00000000'

start_zentrap
window_geometry "$remote_wid"
[ "$X,$Y" = "910,410" ] || fail "the Remote Control stored at 5000,5000 is at $X,$Y, not centred"
frame_wid=$(wait_window "Zentrap Capture Frame") || fail "the Capture Frame is not shown"
window_geometry "$frame_wid"
[ "$X,$Y,$WIDTH,$HEIGHT" = "480,270,400,300" ] || fail "the Capture Frame stored at 1920,100 is at $X,$Y ${WIDTH}x$HEIGHT"
screenshot remote-and-frame

capture_pattern "$work/capture"
click_remote 79 127
save_wid=$(wait_window "Zentrap Save As") || fail "the Save As window did not open"
wait_active "$save_wid" || fail "the Save As window did not take the keyboard"
window_geometry "$save_wid"
# The test desktop's panel takes the bottom of the screen: the window stays above it.
[ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le 1920 ] && [ $((Y + HEIGHT)) -le 1080 ] ||
  fail "the Save As window is at $X,$Y ${WIDTH}x$HEIGHT, beyond the screen"
[ "$WIDTH" -ge 1800 ] || fail "the Save As window is ${WIDTH} wide, expected the screen's width"
screenshot save-as
# Typed through the keyboard: an event sent to the window itself would race its destruction on
# Escape's press and fail the release with BadWindow.
activate "$save_wid"
xdotool key --clearmodifiers Escape
wait_window_gone "Zentrap Save As" "Escape to close the Save As window"
grep -qx 'Width=2147483647' "$ini" && fail "the absurd width was written back: $(tr '\n' ' ' <"$ini")"
close_zentrap
echo "placement on screen ok"
