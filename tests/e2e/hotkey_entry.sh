#!/usr/bin/env bash
# What a hotkey field takes from the keyboard on the real program: keypad keys stay keypad keys
# (Ctrl+keypad-plus captures, Ctrl+= does not), Print with Alt, Pause, Menu and keypad Enter with
# Ctrl are taken, Backspace frees the hotkey ("None", nothing registered, no failure reported), and
# under a German layout Ctrl+Alt+ß and Ctrl+Alt+ö are taken and work.
source "$(dirname "$0")/lib/e2e.bash"

clipboard_has_text() { xclip -selection clipboard -o 2>/dev/null | grep -qF -- "$1"; }
primary_is() { [ "$(xclip -selection primary -o 2>/dev/null)" = "$1" ]; }
# px N: N dialog pixels of the 96-dpi layout at the window's scale.
px() { echo $((($1 * prefs_width + 240) / 480)); }
# A visible window of the program other than the Remote Control and the frame, named $1.
other_window() {
  local w
  for w in $(program_windows); do
    [ "$w" != "$remote_wid" ] && [ "$w" != "$frame_wid" ] &&
      [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "$1" ] && { echo "$w"; return 0; }
  done
  return 1
}
# field_text_is TEXT: the "Capture:" field, selected with the mouse, puts TEXT into PRIMARY.
field_text_is() {
  local y=$((PY0 + $(px 54)))
  # From the field's right end leftwards past its start, wherever the caption's width puts it.
  move_pointer $((PX0 + $(px $((88 + 286))))) "$y" mousedown 1
  move_pointer $((PX0 + $(px $((88 + 100))))) "$y" mouseup 1
  poll 10 primary_is "$1" || fail "the Capture field shows $(xclip -selection primary -o 2>/dev/null), not $1"
}
# open_capture_field: Preferences, its Hotkeys page, the keyboard in the "Capture:" field.
open_capture_field() {
  focus_remote
  xdotool key --clearmodifiers ctrl+o
  prefs_wid=$(wait_window "Zentrap Preferences") || fail "the Preferences window did not open"
  window_geometry "$prefs_wid"
  PX0=$X PY0=$Y prefs_width=$WIDTH
  move_pointer $((PX0 + $(px 42))) $((PY0 + $(px 116))) click 1 # the Hotkeys page
  move_pointer $((PX0 + $(px 310))) $((PY0 + $(px 54))) click 1
  wait_for 10 "the Preferences window to take the keyboard" window_focused "$prefs_wid"
}
press_ok() {
  move_pointer $((PX0 + $(px $((392 + 46))))) $((PY0 + $(px 24))) click 1
  wait_for 10 "OK to close the Preferences window" window_unmapped "$prefs_wid"
}
# keys_from_elsewhere KEYS...: typed into the test window, then Ctrl+Shift+F, which hides or shows
# the frame: once it has, the keys before it have been handled.
keys_from_elsewhere() {
  local shown=window_mapped
  window_mapped "$frame_wid" && shown=window_unmapped
  xdotool windowactivate --sync "$keys_wid" >/dev/null 2>&1 || true
  wait_for 10 "the test window to take the keyboard" window_focused "$keys_wid"
  xdotool key --clearmodifiers "$@" ctrl+shift+f
  wait_for 10 "Ctrl+Shift+F to toggle the frame" "$shown" "$frame_wid"
}

start_test_keys "$work/keys.out" ready --window
keys_wid=$(wait_window zentrap-test-keys) || fail "the test window did not appear"
write_user_values '"FCursor"=dword:00000000\n"HideRemote"=dword:00000000\n"ExitConfirmation"=dword:00000000'
start_zentrap
frame_wid=$(wait_window "Zentrap Capture Frame") || fail "no Capture Frame"

open_capture_field
for entry in "ctrl+KP_Add:Ctrl+KP Add" "ctrl+KP_Multiply:Ctrl+KP Multiply" "ctrl+KP_Subtract:Ctrl+KP Subtract" \
  "ctrl+KP_Divide:Ctrl+KP Divide" "ctrl+KP_Decimal:Ctrl+KP Decimal" "ctrl+KP_Enter:Ctrl+Enter" \
  "alt+Print:Alt+Print" "ctrl+alt+Print:Ctrl+Alt+Print" "ctrl+Pause:Ctrl+Pause" "ctrl+Menu:Ctrl+Menu" \
  "BackSpace:None" "ctrl+alt+k:Ctrl+Alt+K" "Delete:None" "ctrl+KP_Add:Ctrl+KP Add"; do
  xdotool key --clearmodifiers "${entry%%:*}"
  field_text_is "${entry#*:}"
done
press_ok
other_window Zentrap >/dev/null && fail "a hotkey failure was reported"

# Ctrl+= is not the keypad's plus; Ctrl+keypad-plus captures.
echo empty | xclip -selection clipboard
wait_for 10 "text on the clipboard" clipboard_has_text empty
keys_from_elsewhere ctrl+equal
clipboard_has_text empty || fail "Ctrl+= captured"
keys_from_elsewhere ctrl+KP_Add
wait_for 10 "Ctrl+keypad-plus to capture" clipboard_has_image

# Backspace frees the hotkey: nothing captures and nothing is reported.
open_capture_field
xdotool key --clearmodifiers BackSpace
field_text_is None
press_ok
other_window Zentrap >/dev/null && fail "a freed hotkey was reported as not registered"
echo empty | xclip -selection clipboard
wait_for 10 "text on the clipboard" clipboard_has_text empty
keys_from_elsewhere ctrl+KP_Add ctrl+equal
clipboard_has_text empty || fail "the freed Capture hotkey still captured"
# Under a German layout its own letters are taken, and Ctrl+Alt+ö captures.
at_exit 'setxkbmap us 2>/dev/null'
setxkbmap de
open_capture_field
xdotool key --clearmodifiers ctrl+alt+ssharp
field_text_is "Ctrl+Alt+ß"
xdotool key --clearmodifiers ctrl+alt+odiaeresis
field_text_is "Ctrl+Alt+ö"
press_ok
other_window Zentrap >/dev/null && fail "Ctrl+Alt+ö was reported as not registered"
keys_from_elsewhere ctrl+alt+odiaeresis
wait_for 10 "Ctrl+Alt+ö to capture" clipboard_has_image
close_zentrap
grep -qxF '"FHKCapture"=dword:0000c0c0' "$user_hive" || fail "Ctrl+Alt+ö was not stored: $(user_section)"
echo "hotkey entry ok"
