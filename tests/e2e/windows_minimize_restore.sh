#!/usr/bin/env bash
# Minimising the Remote Control with its own "Minimize" items and restoring it as a taskbar does
# (_NET_ACTIVE_WINDOW) leaves later captures alone: the window and the Capture Frame come back after
# each capture instead of going iconic. The taskbar button reads "Zentrap" (the icon name) while the
# window title stays "Zentrap Remote Control".
source "$(dirname "$0")/lib/e2e.bash"

write_user_values '"FCursor"=dword:00000000'
start_zentrap
frame_wid=$(wait_window "Zentrap Capture Frame") || fail "no Capture Frame"

icon_name=$(xprop -id "$remote_wid" _NET_WM_ICON_NAME | sed -n 's/.* = "\(.*\)"$/\1/p')
[ "$icon_name" = "Zentrap" ] || fail "the taskbar caption (_NET_WM_ICON_NAME) is '$icon_name', not 'Zentrap'"
title=$(xprop -id "$remote_wid" _NET_WM_NAME | sed -n 's/.* = "\(.*\)"$/\1/p')
[ "$title" = "Zentrap Remote Control" ] || fail "the window title became '$title'"

wait_state() { poll 5 wm_state_is "$1" "$2"; } # WID STATE

both_shown() { window_mapped "$remote_wid" && window_mapped "$frame_wid"; }
# Captures with Ctrl+C on the Remote Control and checks that both windows are back afterwards.
capture_and_check() {
  poll 10 activated "$remote_wid" || fail "$1: the restored Remote Control does not take the focus; $(active_window) has it"
  clear_clipboard
  xdotool key --clearmodifiers ctrl+c
  read_clipboard_images "$work/capture"
  # The capture hides both windows and shows them again: wait until they are back (or time out).
  poll 5 both_shown || true
  [ "$(wm_state "$remote_wid")" = Normal ] || fail "$1: after a capture the Remote Control is $(wm_state "$remote_wid")"
  xdotool search --onlyvisible --name '^Zentrap Remote Control$' | grep -qx "$remote_wid" ||
    fail "$1: the Remote Control is not shown after the capture"
  xdotool search --onlyvisible --name '^Zentrap Capture Frame$' | grep -qx "$frame_wid" ||
    fail "$1: the Capture Frame is not shown after the capture"
}

# minimise_with MENU_OPENER: opens a menu whose first item is "Minimize" and takes it.
minimise_with() {
  local before menu
  before=$(program_windows)
  "$@"
  menu=$(new_window "$before") || fail "no menu opened"
  await_menu "$menu" "the menu"
  xdotool key --clearmodifiers Down Return
  wait_state "$remote_wid" Iconic || fail "Minimize left the Remote Control $(wm_state "$remote_wid")"
  # The program hides the frame when it is told of the minimising, a moment after the state changed.
  poll 5 window_unmapped "$frame_wid" || fail "the Capture Frame stays shown while minimised"
  # The taskbar's way of restoring a window.
  xdotool windowactivate "$remote_wid"
  wait_state "$remote_wid" Normal || fail "the taskbar restore left the Remote Control $(wm_state "$remote_wid")"
  # The restore ends with the Capture Frame shown again.
  poll 10 window_mapped "$frame_wid" || true
}

open_system_menu() { click_remote 29 16; }
open_tray_menu() {
  window_geometry "$remote_wid"
  move_pointer $((X + 50)) $((Y + 230)) click 3
}

minimise_with open_system_menu
capture_and_check "system menu"
capture_and_check "system menu, second capture"
minimise_with open_tray_menu
capture_and_check "right-click menu"
close_zentrap
echo "minimise and restore ok"
