#!/usr/bin/env bash
# A double-click on the thumbnail opens the View window with the image at full size and its status
# bar along the whole bottom, also after the window is enlarged; the Capture Frame is hidden while it
# is open and comes back when it closes.
source "$(dirname "$0")/remote_common.bash"

start_zentrap
visible() { program_windows; }
[ "$(visible | wc -l)" -eq 2 ] || fail "expected the Remote Control and the Capture Frame"

window_geometry "$remote_wid"
xdotool mousemove --sync $((X + 50)) $((Y + 69)) click --repeat 2 --delay 80 1
view_wid=$(wait_window "Zentrap View") || fail "a double-click on the thumbnail opened no View"
sleep 0.3
window_geometry "$view_wid"
# 80 + 2 wide, or as wide as the size text needs when the picture is narrower.
[ "$WIDTH" -ge 82 ] && [ "$WIDTH" -le 200 ] || fail "the View's client is $WIDTH wide, expected 80 + 2 or the text's width"
[ "$HEIGHT" -gt 82 ] || fail "the View's client is $HEIGHT high: no room for the status bar"
# Only the Remote Control and the View are shown now.
[ "$(visible | wc -l)" -eq 2 ] || fail "the Capture Frame is shown while the View is open"
visible | grep -qx "$view_wid" || fail "the View is not among the program's windows"
grab_root "$X,$Y,$WIDTH,$HEIGHT" "$work/view.png"
"$PY" "$ZENTRAP_SOURCE_DIR/tests/tools/window_check.py" spans-bottom "$work/view.png" 0 128 192 ||
  fail "the status bar does not span the View's bottom"
xdotool windowsize --sync "$view_wid" 400 300 2>/dev/null || true
sleep 0.5
window_geometry "$view_wid"
[ "$WIDTH" -ge 400 ] || fail "the View could not be enlarged (${WIDTH}x$HEIGHT)"
grab_root "$X,$Y,$WIDTH,$HEIGHT" "$work/view-large.png"
"$PY" "$ZENTRAP_SOURCE_DIR/tests/tools/window_check.py" spans-bottom "$work/view-large.png" 0 128 192 ||
  fail "the status bar does not span the enlarged View's bottom"

xdotool windowactivate --sync "$view_wid" 2>/dev/null || true
xdotool key --clearmodifiers Escape
for _ in $(seq 1 100); do
  xdotool search --onlyvisible --name '^Zentrap View$' >/dev/null 2>&1 || break
  sleep 0.05
done
xdotool search --onlyvisible --name '^Zentrap View$' >/dev/null 2>&1 && fail "the View did not close"
two_visible() { [ "$(visible | wc -l)" -eq 2 ]; }
wait_for 5 "the Capture Frame to come back after the View" two_visible
visible | grep -qx "$view_wid" && fail "the View is still shown"
close_zentrap
echo "view ok"
