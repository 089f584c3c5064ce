#!/usr/bin/env bash
# Every window that a window raises is owned by it (transient for it), stacked above it and given the
# keyboard: the file dialog and the error box of Save As, Save As itself. The help window opened from
# the modal Save As comes up above it and takes the user's clicks while Save As stays open. When a
# modal window closes, the keyboard goes back to the Remote Control.
source "$(dirname "$0")/lib/e2e.bash"

# The settings file lies beside the program: run a copy so that it lands in the work folder.
run_program_copy
# Keep Save As clear of the always-on-top Remote Control.
printf '[Save]\nLeft=60\nTop=60\n' >"$ini"

# owned_above WID OWNER WHAT: WID is transient for OWNER, above it, and takes the keyboard.
owned_above() {
  [ "$(transient_for "$1")" = "$2" ] || fail "$3 is transient for '$(transient_for "$1")', not for its owner $2"
  wait_active "$1" || fail "$3 does not have the keyboard; $(active_window) has"
  poll 5 stacked_above "$1" "$2" || fail "$3 is stacked below its owner: $(stacking | tr '\n' ' ')"
}

write_user_values '"SaveDir"="/sys/"'
start_zentrap
clear_clipboard
click_remote 50 155 # Capture
read_clipboard_images "$work/capture"
click_remote 79 127 # Save As
save_wid=$(wait_window "Zentrap Save As") || fail "Save As did not open"
owned_above "$save_wid" "$remote_wid" "Save As"

# Save... into /sys, where no file can be made: the error box belongs to Save As.
before=$(program_windows)
xdotool key --clearmodifiers Return
file_dialog=$(new_window "$before") || fail "no file dialog after Save..."
owned_above "$file_dialog" "$save_wid" "the file dialog"
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 5 "zentrap-capture"
before=$(program_windows)
xdotool key --clearmodifiers Return
error_box=$(new_window "$before") || fail "no error box after a failed save"
[ "$(xdotool getwindowname "$error_box")" = "Zentrap" ] || fail "the error box is titled '$(xdotool getwindowname "$error_box")'"
owned_above "$error_box" "$save_wid" "the error box"
xdotool key --clearmodifiers Return
wait_active "$save_wid" || fail "Save As does not get the keyboard back after the error box"

# Help from Save As: above it, and it answers a click in its contents while Save As stays open.
window_geometry "$save_wid"
move_pointer $((X + WIDTH - 40)) $((Y + HEIGHT - 34)) click 1 # the Help button
help_wid=$(wait_window "Zentrap Help - .*") || fail "Help in Save As opened no help window"
wait_active "$help_wid" || fail "the help window does not have the keyboard; $(active_window) has"
poll 5 stacked_above "$help_wid" "$save_wid" || fail "the help window opens below Save As: $(stacking | tr '\n' ' ')"
topic_title=$(xdotool getwindowname "$help_wid")
window_geometry "$help_wid"
move_pointer $((X + 60)) $((Y + 20)) click 1 # the first entry of the contents
title_changed() { [ "$(xdotool getwindowname "$help_wid")" != "$topic_title" ]; }
poll 5 title_changed ||
  fail "the help window does not answer a click in its contents while Save As is open ('$topic_title')"
xdotool search --onlyvisible --name '^Zentrap Save As$' | grep -qx "$save_wid" || fail "Save As went away"

# Back to Save As and out of it: the keyboard returns to the Remote Control.
xdotool windowactivate --sync "$save_wid" 2>/dev/null || true
wait_active "$save_wid" || fail "Save As cannot be activated beside the help window"
xdotool key --clearmodifiers Escape
wait_window_gone "Zentrap Save As" "Escape to close Save As"
wait_active "$remote_wid" || fail "after Save As the keyboard is with $(active_window), not the Remote Control"

# With Save As gone, help is an ordinary window again: no longer kept above, so another program's
# window raised over it covers it.
help_ordinary() { ! window_property_has "$help_wid" _NET_WM_STATE _NET_WM_STATE_ABOVE; }
poll 5 help_ordinary || fail "the help window stays always on top after Save As closed: $(xprop -id "$help_wid" _NET_WM_STATE WM_STATE)"
window_mapped "$help_wid" || fail "the help window went away with Save As"
window_geometry "$help_wid"
cover="$((X + WIDTH - 260)),$((Y + HEIGHT - 180)),240,160"
start_pattern "$cover" --normal --title zentrap-e2e-cover
cover_wid=$(wait_window zentrap-e2e-cover) || fail "the covering window did not show"
activate "$cover_wid"
poll 5 stacked_above "$cover_wid" "$help_wid" ||
  fail "a window raised over the help window stays below it: $(stacking | tr '\n' ' ')"
cover_shown() { grab_root "$cover" "$work/cover.png" && check pattern "$work/cover.png" 0 0 240 160 0 0; }
poll 5 cover_shown || fail "the help window still shows through the window raised over it"

# The same for the About box raised from the system menu.
before=$(program_windows)
click_remote 29 16
system_menu=$(new_window "$before") || fail "no system menu"
await_menu "$system_menu" "the system menu"
xdotool key --clearmodifiers Down Down Return
about_wid=$(wait_window "Zentrap About") || fail "no About box"
owned_above "$about_wid" "$remote_wid" "the About box"
xdotool key --clearmodifiers Return
wait_active "$remote_wid" || fail "after the About box the keyboard is with $(active_window), not the Remote Control"
close_zentrap
echo "owned dialogs ok"
