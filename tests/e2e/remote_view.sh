#!/usr/bin/env bash
# A double-click on the thumbnail opens the View window with the image at full size and its status
# bar along the whole bottom, also after the window is enlarged; the Capture Frame is hidden while it
# is open and comes back when it closes.
source "$(dirname "$0")/lib/e2e.bash"

start_zentrap
visible() { program_windows; }
[ "$(visible | wc -l)" -eq 2 ] || fail "expected the Remote Control and the Capture Frame"

window_geometry "$remote_wid"
move_pointer $((X + 50)) $((Y + 69)) click --repeat 2 --delay 80 1
view_wid=$(wait_window "Zentrap View") || fail "a double-click on the thumbnail opened no View"
wait_active "$view_wid" || fail "the View did not take the keyboard"
window_geometry "$view_wid"
# 80 + 2 wide, or as wide as the size text needs when the picture is narrower.
[ "$WIDTH" -ge 82 ] && [ "$WIDTH" -le 200 ] || fail "the View's client is $WIDTH wide, expected 80 + 2 or the text's width"
[ "$HEIGHT" -gt 82 ] || fail "the View's client is $HEIGHT high: no room for the status bar"
# Only the Remote Control and the View are shown now.
[ "$(visible | wc -l)" -eq 2 ] || fail "the Capture Frame is shown while the View is open"
visible | grep -qx "$view_wid" || fail "the View is not among the program's windows"
grab_window "$view_wid" "$work/view.png"
window_check spans-bottom "$work/view.png" 0 128 192 || fail "the status bar does not span the View's bottom"
xdotool windowsize --sync "$view_wid" 400 300 2>/dev/null || true
view_enlarged() { window_geometry "$view_wid" && [ "$WIDTH" -ge 400 ]; }
poll 10 view_enlarged || fail "the View could not be enlarged (${WIDTH}x$HEIGHT)"
# The status bar follows the new width once the View has laid itself out again.
bottom_spanned() { grab_window "$view_wid" "$work/view-large.png" && window_check spans-bottom "$work/view-large.png" 0 128 192; }
wait_for 10 "the status bar to span the enlarged View's bottom" bottom_spanned

activate "$view_wid"
xdotool key --clearmodifiers Escape
wait_window_gone "Zentrap View" "the View to close"
two_visible() { [ "$(visible | wc -l)" -eq 2 ]; }
wait_for 5 "the Capture Frame to come back after the View" two_visible
visible | grep -qx "$view_wid" && fail "the View is still shown"
close_zentrap
echo "view ok"
