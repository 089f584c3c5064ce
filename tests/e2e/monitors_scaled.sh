#!/usr/bin/env bash
# The user's scale factors for Qt (QT_SCALE_FACTOR, QT_SCREEN_SCALE_FACTORS, plain or by monitor
# name) alone and mixed with Xft.dpi 144, on two monitors with the test pattern as the root picture:
# all stand for 144 pixels per inch, so the frame's band is 21 pixels; a capture through the frame on
# the right monitor is exactly the block under its hole, and the editor, Save As and the Print
# Preview open on the Remote Control's monitor and fit on it.
if [ -z "${PRINT_SERVER_DIR:-}" ]; then
  exec "$(dirname "$0")/../../scripts/with-print-server" bash "$0" "$@"
fi
source "$(dirname "$0")/lib/e2e.bash"
run_program_copy
use_monitors left:1920x1080+0+0 right:1920x1080+1920+0
root_pattern
band=21
frame='"CropLeft"=dword:00000898\n"CropTop"=dword:00000064\n"CropWidth"=dword:00000190\n"CropHeight"=dword:0000012c'
remote='"Left"=dword:00000af0\n"Top"=dword:00000190\n"FCursor"=dword:00000000'

# opens_on_right KEYS TITLE: the window that KEYS open on the Remote Control lies on the right monitor
# (the panel-free part of it); Escape closes it again.
opens_on_right() {
  local wid X Y WIDTH HEIGHT SCREEN WINDOW
  focus_remote
  xdotool key --clearmodifiers "$1"
  wid=$(wait_window "$2") || fail "$2 did not open ($setting)"
  wait_active "$wid" || fail "$2 did not take the keyboard ($setting)"
  window_geometry "$wid"
  ((X >= 1920 && Y >= 0 && X + WIDTH <= 3840 && Y + HEIGHT <= 1080)) ||
    fail "$2 is at $X,$Y ${WIDTH}x$HEIGHT, not on the right monitor ($setting)"
  screenshot "scaled-$3"
  xdotool key --clearmodifiers Escape
  wait_window_gone "$2" "Escape to close $2"
}

# scaled_run NAME VARIABLE=VALUE...: one start of the program with that environment.
scaled_run() {
  setting=$1
  shift
  rm -f "$ini"
  write_user_values "$frame\n$remote"
  env "$@" "$ZENTRAP_BIN/zentrap" >"$work/zentrap-$setting.log" 2>&1 &
  zentrap_pid=$!
  started "$zentrap_pid"
  log_on_failure "zentrap-$setting" "$work/zentrap-$setting.log"
  remote_wid=$(wait_window "Zentrap Remote Control") || fail "the Remote Control did not appear ($setting)"
  frame_wid=$(wait_window "Zentrap Capture Frame") || fail "no Capture Frame ($setting)"
  window_geometry "$frame_wid"
  [ "$X,$Y,$WIDTH,$HEIGHT" = "2200,100,400,300" ] || fail "the frame is at $X,$Y ${WIDTH}x$HEIGHT ($setting)"
  clear_clipboard
  capture_pattern "$work/$setting"
  check size "$work/$setting.png" $((400 - 2 * band)) $((300 - 2 * band))
  check pattern "$work/$setting.png" 0 0 $((400 - 2 * band)) $((300 - 2 * band)) $((2200 + band)) $((100 + band)) ||
    fail "with $* the capture is not the block under the hole"
  opens_on_right ctrl+e "Image Editor" "$setting-editor"
  opens_on_right ctrl+s "Zentrap Save As" "$setting-save"
  opens_on_right ctrl+p "Zentrap Print Preview" "$setting-preview"
  close_zentrap
}

scaled_run scale QT_SCALE_FACTOR=1.5
scaled_run screens QT_SCREEN_SCALE_FACTORS=1.5
echo "Xft.dpi: 144" | xrdb -merge -
scaled_run named-screens "QT_SCREEN_SCALE_FACTORS=left=1.5;right=1"
scaled_run dpi-and-scale QT_SCALE_FACTOR=1.5
echo "scaled ok"
