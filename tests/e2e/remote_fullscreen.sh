#!/usr/bin/env bash
# Full-screen mode grabs the whole screen, and the Remote Control is hidden for the grab: the
# pattern under it comes out intact. With "HideRemote" off it stays and shows in the capture.
source "$(dirname "$0")/lib/e2e.bash"

start_pattern 200,150,900,600
settings='"Left"=dword:00000258\n"Top"=dword:00000190\n"FCursor"=dword:00000000'
write_user_values "$settings"
start_zentrap
grab_root 600,400,100,260 "$work/over.png"
if check locate "$work/over.png" >/dev/null 2>&1; then fail "the Remote Control does not cover the pattern"; fi

frame_wid=$(wait_window "Zentrap Capture Frame") || fail "the Capture Frame is not shown"
click_remote 21 183
wait_for 10 "full-screen mode to hide the Capture Frame" window_unmapped "$frame_wid"
capture_pattern "$work/full"
check screen "$work/full.png" 200 150 900 600 || fail "the Remote Control was in its own full-screen capture"
check same "$work/full.png" "$work/full.bmp" || fail "the clipboard's PNG and BMP differ"
wait_window "Zentrap Remote Control" >/dev/null || fail "the Remote Control did not come back"
close_zentrap

write_user_values "$settings"'\n"HideRemote"=dword:00000000'
start_zentrap
frame_wid=$(wait_window "Zentrap Capture Frame") || fail "the Capture Frame is not shown"
click_remote 21 183
wait_for 10 "full-screen mode to hide the Capture Frame" window_unmapped "$frame_wid"
# Clear the clipboard's image so that the next one is the new capture.
clear_clipboard
capture_pattern "$work/shown"
if check screen "$work/shown.png" 200 150 900 600 >/dev/null 2>&1; then
  fail "with HideRemote off the Remote Control should be in the capture"
fi
close_zentrap
echo "full screen ok"
