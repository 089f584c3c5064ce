#!/usr/bin/env bash
# The hotkey fields of the Preferences window on the real program: Ctrl+Shift+C typed into the
# "Capture:" field is shown there and captures nothing; a Capture hotkey that another client holds
# brings the failure dialog naming it on OK, while the other four hotkeys still work.
source "$(dirname "$0")/lib/e2e.bash"

clipboard_has_text() { xclip -selection clipboard -o 2>/dev/null | grep -qF -- "$1"; }
primary_is() { [ "$(xclip -selection primary -o 2>/dev/null)" = "$1" ]; }
# A visible window of the program, not the Remote Control, the frame or the tray icon, whose whole
# name matches the extended pattern $1.
other_window() {
  local w
  for w in $(program_windows); do
    [ "$w" != "$remote_wid" ] && [ "$w" != "${frame_wid:-}" ] &&
      xdotool getwindowname "$w" 2>/dev/null | grep -Eqx -- "$1" && { echo "$w"; return 0; }
  done
  return 1
}
no_other_window() { ! other_window "$1"; }
# Window $1 holds the keyboard, asked for again each time: a window that closed may hand the
# focus back to its owner a moment later, so the focus counts once it stays for 0.1 s (a check
# of stability inside the wait, not a wait of its own).
has_keyboard() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
  window_focused "$1" && sleep 0.1 && window_focused "$1"
}
# Types keys $2... into window $1 through the keyboard, not as events sent to the window.
type_into() {
  wait_for 10 "window $1 to take the keyboard" has_keyboard "$1"
  xdotool key --clearmodifiers "${@:2}"
}
# px N: N dialog pixels of the 96-dpi layout at the window's scale.
px() { echo $((($1 * prefs_width + 240) / 480)); }
# field_text_is TEXT: the "Capture:" field, selected with the mouse, puts TEXT into PRIMARY.
field_text_is() {
  local y=$((PY0 + $(px 54)))
  # From the field's right end leftwards past its start, wherever the caption's width puts it.
  move_pointer $((PX0 + $(px $((88 + 286))))) "$y" mousedown 1
  move_pointer $((PX0 + $(px $((88 + 100))))) "$y" mouseup 1
  wait_for 10 "the Capture field to show $1" primary_is "$1"
}

start_test_keys "$work/keys.out" ready --window
keys_wid=$(wait_window zentrap-test-keys) || fail "the test window did not appear"
write_user_values '"FCursor"=dword:00000000\n"HideRemote"=dword:00000000\n"ExitConfirmation"=dword:00000000'
start_zentrap
frame_wid=$(wait_window "Zentrap Capture Frame") || fail "no Capture Frame"

# One capture first, so that Edit, Save As and Print have something to work on.
type_into "$remote_wid" ctrl+c
wait_for 10 "the first capture on the clipboard" clipboard_has_image

type_into "$remote_wid" ctrl+o
prefs_wid=$(wait_window "Zentrap Preferences") || fail "the Preferences window did not open"
window_geometry "$prefs_wid"
PX0=$X PY0=$Y prefs_width=$WIDTH
move_pointer $((PX0 + $(px 42))) $((PY0 + $(px 116))) click 1 # the Hotkeys page
echo empty | xclip -selection clipboard
wait_for 10 "text on the clipboard" clipboard_has_text empty

# The field takes what is typed into it: Ctrl+Alt+K, then Ctrl+Shift+C, which must not capture.
move_pointer $((PX0 + $(px 310))) $((PY0 + $(px 54))) click 1
wait_for 10 "the Preferences window to take the keyboard" window_focused "$prefs_wid"
xdotool key ctrl+alt+k
field_text_is "Ctrl+Alt+K"
xdotool key ctrl+shift+c
field_text_is "Shift+Ctrl+C"
clipboard_has_text empty || fail "Ctrl+Shift+C in the Capture field changed the clipboard"
xdotool key ctrl+alt+k
field_text_is "Ctrl+Alt+K"
clipboard_has_text empty || fail "a capture happened while the Preferences window was open"

# Another client takes Ctrl+Alt+K now; OK asks for it and is refused.
start_test_keys "$work/grabber.out" grabbed --grab 12 k
move_pointer $((PX0 + $(px $((392 + 46))))) $((PY0 + $(px 24))) click 1 # OK
wait_for 20 "the hotkey failure dialog" other_window Zentrap
failure_wid=$(other_window Zentrap)
type_into "$failure_wid" ctrl+c
wait_for 10 "the failure message on the clipboard" clipboard_has_text "Ctrl+Alt+K hotkey is not registered."
type_into "$failure_wid" Return
wait_for 10 "the failure dialog to close" no_other_window Zentrap

# The other four answer from another program. Ctrl+Shift+C no longer captures: had it done so, the
# clipboard would hold the image before the frame hides, as the keys are handled in order.
type_into "$keys_wid" ctrl+shift+c ctrl+shift+f
wait_for 10 "Ctrl+Shift+F to hide the frame" window_unmapped "$frame_wid"
clipboard_has_text "not registered" || fail "Ctrl+Shift+C still captured after it was replaced"
xdotool key ctrl+shift+f
wait_for 10 "Ctrl+Shift+F to show the frame again" window_mapped "$frame_wid"
for keys in "ctrl+shift+e:Image Editor" "ctrl+shift+s:Zentrap Save As" \
  "ctrl+shift+p:Zentrap Print Preview|Zentrap"; do
  type_into "$keys_wid" "${keys%%:*}"
  wait_for 20 "${keys%%:*} to open ${keys#*:}" other_window "${keys#*:}"
  type_into "$(other_window "${keys#*:}")" Escape
  wait_for 20 "${keys#*:} to close" no_other_window "${keys#*:}"
done

close_zentrap
grep -qxF '"FHKCapture"=dword:0000c04b' "$user_hive" || fail "Ctrl+Alt+K was not kept as the Capture hotkey"
echo "preferences hotkeys ok"
