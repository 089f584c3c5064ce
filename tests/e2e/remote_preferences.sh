#!/usr/bin/env bash
# The Preferences window on the real program: Cancel after changing controls leaves the hive at exit
# as it was; unticking "Use PrintScreen key" with OK saves "UsePrintScreen" 0; choosing centimetres
# switches the Capture Frame's rulers at once. Screenshots of both pages when ZENTRAP_SCREENSHOTS is set.
source "$(dirname "$0")/lib/e2e.bash"
# The window is laid out for 96 dots per inch and grows with the screen's (QT_FONT_DPI).
dpi=$(desktop_dpi)
px() { scaled "$1"; }

# Opens the Preferences window with Ctrl+O; sets prefs_wid and DX, DY (its client origin).
open_preferences() {
  focus_remote
  xdotool key --clearmodifiers ctrl+o
  prefs_wid=$(wait_window "Zentrap Preferences") || fail "the Preferences window did not open"
  wait_active "$prefs_wid" || fail "the Preferences window did not take the keyboard"
  window_geometry "$prefs_wid"
  DX=$X DY=$Y
  [ "$WIDTH,$HEIGHT" = "$(px 480),$(px 301)" ] || fail "the Preferences window is ${WIDTH}x$HEIGHT"
}
# click_prefs X Y: a click at client point X, Y of the Preferences window.
click_prefs() { move_pointer $((DX + $(px $1))) $((DY + $(px $2))) click 1; }
wait_closed() { wait_window_gone "Zentrap Preferences" "the Preferences window to close"; }
hive_copy() { user_section >"$1"; }

# The baseline: open and cancel without touching anything.
start_zentrap
open_preferences
if [ -n "${ZENTRAP_SCREENSHOTS:-}" ]; then
  screenshot "preferences-options-$dpi" "$DX,$DY,$(px 480),$(px 301)"
  click_prefs 42 116
  screenshot "preferences-hotkeys-$dpi" "$DX,$DY,$(px 480),$(px 301)"
  click_prefs 42 36
fi
xdotool key --clearmodifiers Escape
wait_closed
close_zentrap
hive_copy "$work/before.reg"

# Cancel after changing controls: the hive at exit is the same.
start_zentrap
open_preferences
click_prefs $((88 + 22)) $((26 + 8))    # Show rulers
click_prefs $((88 + 22)) $((108 + 8))   # Hide Remote Control while capture
click_prefs $((88 + 174)) $((164 + 8))  # Use PrintScreen key
click_prefs $((88 + 174)) $((136 + 8))  # Capture cursor
click_prefs $((392 + 46)) $((44 + 12))  # Cancel
wait_closed
close_zentrap
hive_copy "$work/after-cancel.reg"
diff "$work/before.reg" "$work/after-cancel.reg" >&2 || fail "Cancel changed the stored values"

# Untick "Use PrintScreen key", OK.
start_zentrap
open_preferences
click_prefs $((88 + 174)) $((164 + 8))
click_prefs $((392 + 46)) $((12 + 12))  # OK
wait_closed
close_zentrap
grep -qxF '"UsePrintScreen"=dword:00000000' "$user_hive" || fail "UsePrintScreen was not saved as 0"

# Centimetres: the frame's rulers change at once, and the unit is kept.
start_zentrap
frame_wid=$(wait_window "Zentrap Capture Frame") || fail "no Capture Frame"
window_geometry "$frame_wid"
FX=$X FY=$Y FW=$WIDTH
grab_settled "$FX,$FY,$FW,14" "$work/ruler-before.png"
open_preferences
before=$(program_windows)
click_prefs $((88 + 100)) $((50 + 10))  # the unit list
unit_list=$(new_window "$before") || fail "the unit list did not open"
await_menu "$unit_list" "the unit list"
xdotool key --clearmodifiers End Return
wait_for 10 "the unit list to close" window_unmapped "$unit_list"
click_prefs $((392 + 46)) $((12 + 12))
wait_closed
wait_for 10 "the rulers to change" grab_is_not "$FX,$FY,$FW,14" "$work/ruler-before.png"
close_zentrap
grep -qxF '"FUnits"=dword:00000002' "$user_hive" || fail "the frame did not keep centimetres"
echo "preferences ok"
