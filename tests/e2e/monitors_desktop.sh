#!/usr/bin/env bash
# A desktop of two RandR monitors side by side, the test pattern as the root picture so that every
# capture tells where it came from: the first start on the primary monitor; the frame on the right
# monitor and across the border captures exactly the pixels under its hole; full-screen mode takes
# the Remote Control's monitor, or the whole desktop with "Full screen: all monitors"; windows on a
# monitor that goes away come back to the primary one. Then monitors of unequal sizes.
source "$(dirname "$0")/lib/e2e.bash"
band=$(scaled 14)
dword() { printf 'dword:%08x' "$1"; }
# place_windows FRAME_L FRAME_T FRAME_W FRAME_H REMOTE_L REMOTE_T [LINES]: the stored windows.
place_windows() {
  write_user_values "\"CropLeft\"=$(dword "$1")\n\"CropTop\"=$(dword "$2")\n\"CropWidth\"=$(dword "$3")\n\"CropHeight\"=$(dword "$4")\n\"Left\"=$(dword "$5")\n\"Top\"=$(dword "$6")\n\"FCursor\"=dword:00000000${7:+\n$7}"
}
# window_is WID L T W H: the window's place and size.
window_is() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  window_geometry "$1"
  [ "$X,$Y,$WIDTH,$HEIGHT" = "$2,$3,$4,$5" ] || { echo "window at $X,$Y ${WIDTH}x$HEIGHT, not $2,$3 $4x$5" && return 1; }
}
# inside WID L T R B: the whole window lies in that rectangle (right and bottom exclusive).
inside() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  window_geometry "$1"
  ((X >= $2 && Y >= $3 && X + WIDTH <= $4 && Y + HEIGHT <= $5)) ||
    { echo "window at $X,$Y ${WIDTH}x$HEIGHT is not inside $2,$3 - $4,$5" && return 1; }
}
# frame_capture L T W H: captures through the frame and checks the picture is the pattern under the
# hole of a frame with that outer rectangle.
frame_capture() {
  clear_clipboard
  capture_pattern "$work/frame-$1-$2"
  check size "$work/frame-$1-$2.png" $(($3 - 2 * band)) $(($4 - 2 * band))
  check pattern "$work/frame-$1-$2.png" 0 0 $(($3 - 2 * band)) $(($4 - 2 * band)) $(($1 + band)) $(($2 + band)) ||
    fail "the capture through the frame at $1,$2 is not the pixels under its hole"
}
# fullscreen_capture NAME W H PATTERN_X: full-screen mode on; the capture is W x H and shows the
# pattern from PATTERN_X (the window manager's task bar at the bottom left out).
fullscreen_capture() {
  click_remote 21 183
  wait_for 10 "full-screen mode to hide the Capture Frame" window_unmapped "$frame_wid"
  clear_clipboard
  capture_pattern "$work/$1"
  check size "$work/$1.png" "$2" "$3"
  check pattern "$work/$1.png" 0 0 "$2" 960 "$4" 0 || fail "full screen ($1) took the wrong pixels"
  click_remote 21 183
  wait_for 10 "the Capture Frame to come back" window_mapped "$frame_wid"
}

use_monitors left:1920x1080+0+0 right:1920x1080+1920+0
root_pattern

# First start: both windows centred on the primary monitor, as on one monitor of its size.
start_zentrap
frame_wid=$(wait_window "Zentrap Capture Frame") || fail "no Capture Frame"
window_is "$remote_wid" 910 410 100 260 || fail "the Remote Control is not centred on the primary monitor"
window_is "$frame_wid" 480 270 960 540 || fail "the frame is not on the primary monitor"
close_zentrap

# The frame on the right monitor, the Remote Control there too: the frame stays where it was stored,
# captures the right monitor's pixels, and full-screen mode takes that monitor.
place_windows 2200 100 400 300 2800 400
start_zentrap
frame_wid=$(wait_window "Zentrap Capture Frame") || fail "no Capture Frame"
window_is "$frame_wid" 2200 100 400 300 || fail "the frame stored on the right monitor was moved"
frame_capture 2200 100 400 300
fullscreen_capture right 1920 1080 1920
close_zentrap
[ "$(stored_value CropLeft)" = 2200 ] || fail "the frame's place was not kept"

# Across the border: one capture holds the pixels of both monitors. The Remote Control on the left
# monitor: full-screen mode takes the left one.
place_windows 1800 500 400 300 300 300
start_zentrap
frame_wid=$(wait_window "Zentrap Capture Frame") || fail "no Capture Frame"
frame_capture 1800 500 400 300
fullscreen_capture left 1920 1080 0
close_zentrap

# "Full screen: all monitors", chosen in Preferences: the whole desktop.
place_windows 1800 500 400 300 2800 400
start_zentrap
frame_wid=$(wait_window "Zentrap Capture Frame") || fail "no Capture Frame"
focus_remote
xdotool key --clearmodifiers ctrl+o
prefs_wid=$(wait_window "Zentrap Preferences") || fail "the Preferences window did not open"
window_geometry "$prefs_wid"
inside "$prefs_wid" 1920 0 3840 1080 || fail "Preferences did not open on the Remote Control's monitor"
move_pointer $((X + $(scaled $((88 + 214))))) $((Y + $(scaled $((250 + 8))))) click 1
move_pointer $((X + $(scaled $((392 + 46))))) $((Y + $(scaled $((12 + 12))))) click 1
wait_window_gone "Zentrap Preferences" "the Preferences window to close"
fullscreen_capture all 3840 1080 0
close_zentrap
grep -qxF '"FullScreenAllMonitors"=dword:00000001' "$user_hive" || fail "the full-screen choice was not stored"

# The right monitor goes away while both windows are on it: they come back to the primary one.
place_windows 2200 100 400 300 2800 400
start_zentrap
frame_wid=$(wait_window "Zentrap Capture Frame") || fail "no Capture Frame"
remove_monitor right
wait_for 10 "the Remote Control to come back to the primary monitor" inside "$remote_wid" 0 0 1920 1080
wait_for 10 "the frame to come back to the primary monitor" inside "$frame_wid" 0 0 1920 1080
close_zentrap

# Monitors of unequal sizes: 1920 x 1080 and 1280 x 1024 beside it. The corner below the smaller
# one is no monitor's: "all monitors" leaves it black.
use_monitors left:1920x1080+0+0 small:1280x1024+1920+0
place_windows 2400 600 400 300 2600 100 '"FullScreenAllMonitors"=dword:00000001'
start_zentrap
frame_wid=$(wait_window "Zentrap Capture Frame") || fail "no Capture Frame"
window_is "$frame_wid" 2400 600 400 300 || fail "the frame on the smaller monitor was moved"
frame_capture 2400 600 400 300
click_remote 21 183
wait_for 10 "full-screen mode to hide the Capture Frame" window_unmapped "$frame_wid"
clear_clipboard
capture_pattern "$work/unequal"
check size "$work/unequal.png" 3200 1080
check pattern "$work/unequal.png" 1920 0 1280 1024 1920 0 || fail "the smaller monitor is not in the capture"
check solid "$work/unequal.png" 1920 1024 1280 56 0 0 0 || fail "the corner that no monitor shows is not black"
close_zentrap
echo "monitors ok"
