#!/usr/bin/env bash
# The five hotkeys and the PrintScreen key from other programs, on the real program: captures
# while another window has the keyboard (also with CapsLock and NumLock on), none while the
# Save As window is open, the full-screen hotkey flipping the frame, a combination held by
# another client leaving the other four working, and PrintScreen reaching the focused window too.
source "$(dirname "$0")/lib/e2e.bash"

start_keys_window() {
  start_test_keys "$work/keys.out" ready --window
  keys_wid=$(wait_window zentrap-test-keys) || fail "the test window did not appear"
}
focus_keys_window() { activate "$keys_wid"; }
frame_shown() { program_windows | grep -vqx "$remote_wid"; }
frame_hidden() { ! frame_shown; }
# wait_frame shown|hidden: up to 5 s until the Capture Frame is so; false otherwise.
wait_frame() { poll 5 "frame_$1"; }

start_keys_window
write_user_values '"FCursor"=dword:00000000\n"HideRemote"=dword:00000000'
start_zentrap

# Another program has the keyboard: the hotkey captures and brings the Remote Control forward.
focus_keys_window
clear_clipboard
xdotool key ctrl+shift+c
image_within 10 || fail "Ctrl+Shift+C from another program did not capture"
wait_active "$remote_wid" || fail "the hotkey did not give the Remote Control the focus"

# The same with CapsLock and NumLock on.
focus_keys_window
xdotool key Caps_Lock Num_Lock
clear_clipboard
xdotool key ctrl+shift+c
image_within 10 || fail "Ctrl+Shift+C with CapsLock and NumLock on did not capture"
xdotool key Caps_Lock Num_Lock

# PrintScreen captures, and the focused window still receives the key.
focus_keys_window
clear_clipboard
xdotool key Print
image_within 10 || fail "PrintScreen did not capture"
grep -qx 'key Print' "$work/keys.out" || fail "the focused window did not receive the Print key"

# Ctrl+Shift+F flips the frame each time.
wait_frame shown || fail "the Capture Frame is not shown at the start"
xdotool key ctrl+shift+f
wait_frame hidden || fail "the first Ctrl+Shift+F did not hide the frame"
xdotool key ctrl+shift+f
wait_frame shown || fail "the second Ctrl+Shift+F did not show the frame"

# While the Save As window is open the hotkeys do nothing; afterwards they work again.
xdotool key ctrl+shift+s
save_wid=$(wait_window "Zentrap Save As") || fail "Ctrl+Shift+S did not open Save As"
clear_clipboard
xdotool key ctrl+shift+c
if image_within 2; then fail "Ctrl+Shift+C captured while the Save As window was open"; fi
activate "$save_wid"
xdotool key Escape
wait_window_gone "Zentrap Save As" "Escape to close the Save As window"
focus_keys_window
xdotool key ctrl+shift+c
image_within 10 || fail "the hotkeys did not come back after Save As closed"
close_zentrap

# Ctrl+Shift+C held by another client before the start: the other four work, no message.
start_test_keys "$work/grabber.out" grabbed --grab 5 c
grabber_pid=$test_keys_pid
start_zentrap
focus_keys_window
clear_clipboard
xdotool key ctrl+shift+c
if image_within 1; then fail "Ctrl+Shift+C captured although another client holds it"; fi
xdotool key ctrl+shift+f
wait_frame hidden || fail "Ctrl+Shift+F did not work beside the refused Ctrl+Shift+C"
xdotool key ctrl+shift+f
wait_frame shown || fail "the second Ctrl+Shift+F did not show the frame"
windows=$(program_windows | wc -l)
[ "$windows" = 2 ] || fail "$windows windows: a refusal at start-up must stay silent"
close_zentrap
kill "$grabber_pid"
wait "$grabber_pid" 2>/dev/null || true

# Stored shortcuts that are no key: above 16 bits (not Ctrl+Shift+C by its low bits), 0, a key
# code with no key, a negative value. Nothing is registered for them and nothing breaks.
write_user_values '"FCursor"=dword:00000000\n"FHKCapture"=dword:00016043\n"FHKFullScreen"=dword:00000000\n"FHKEdit"=dword:000060ff\n"FHKSave"=dword:ffffffff'
start_zentrap
focus_keys_window
clear_clipboard
xdotool key ctrl+shift+c ctrl+shift+f
if image_within 1; then fail "a stored 0x16043 was taken for Ctrl+Shift+C"; fi
wait_frame shown || fail "a stored 0 was taken for a full-screen hotkey"
kill -0 "$zentrap_pid" || fail "zentrap ended with unusable shortcuts"
close_zentrap
echo "hotkeys ok"
