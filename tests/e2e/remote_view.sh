#!/usr/bin/env bash
# A double-click on the thumbnail opens the View window with the image at full size; the Capture
# Frame is hidden while it is open and comes back when it closes.
source "$(dirname "$0")/remote_common.bash"

start_zentrap
visible() { program_windows; }
[ "$(visible | wc -l)" -eq 2 ] || fail "expected the Remote Control and the Capture Frame"

window_geometry "$remote_wid"
xdotool mousemove --sync $((X + 50)) $((Y + 69)) click --repeat 2 --delay 80 1
view_wid=$(wait_window "Zentrap View") || fail "a double-click on the thumbnail opened no View"
sleep 0.3
window_geometry "$view_wid"
[ "$WIDTH" -eq 82 ] || fail "the View's client is $WIDTH wide, expected 80 + 2"
[ "$HEIGHT" -gt 82 ] || fail "the View's client is $HEIGHT high: no room for the status bar"
# Only the Remote Control and the View are shown now.
[ "$(visible | wc -l)" -eq 2 ] || fail "the Capture Frame is shown while the View is open"
visible | grep -qx "$view_wid" || fail "the View is not among the program's windows"

xdotool windowactivate --sync "$view_wid" 2>/dev/null || true
xdotool key --clearmodifiers Escape
for _ in $(seq 1 100); do
  xdotool search --onlyvisible --name '^Zentrap View$' >/dev/null 2>&1 || break
  sleep 0.05
done
xdotool search --onlyvisible --name '^Zentrap View$' >/dev/null 2>&1 && fail "the View did not close"
sleep 0.3
[ "$(visible | wc -l)" -eq 2 ] || fail "the Capture Frame did not come back after the View"
visible | grep -qx "$view_wid" && fail "the View is still shown"
close_zentrap
echo "view ok"
