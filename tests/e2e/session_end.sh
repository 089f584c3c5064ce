#!/usr/bin/env bash
# Ending the session keeps the settings: SIGTERM after both windows were moved leaves their new
# places in the user hive, and the hive's hand-written lines stay where they were; when the X
# server goes away, the settings known at that moment are written before the program ends, those
# of the open Save As window included.
source "$(dirname "$0")/lib/e2e.bash"

hex() { printf 'dword:%08x' "$1"; }
# The program learns where the window manager put its windows from events it has not necessarily
# handled yet: a capture asked for afterwards and seen on the clipboard comes after them.
events_handled() {
  clear_clipboard
  click_remote 50 155
  read_clipboard_images "$work/barrier"
}

run_program_copy
: >"$ini" # a settings file beside the program is the one it uses
mkdir -p "$(dirname "$user_hive")"
# HideRemote off: the captures that show the program has caught up leave its windows in place.
printf 'REGEDIT4\n; edited by hand\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n"Left"=dword:00000064\n"HideRemote"=dword:00000000\n"Broken"=dword:zz\n\n[-HKEY_CURRENT_USER\\SOFTWARE\\Gone]\n' >"$user_hive"

start_zentrap
frame_wid=$(wait_window "Zentrap Capture Frame") || fail "the Capture Frame did not appear"
xdotool windowmove --sync "$remote_wid" 1300 600
xdotool windowmove --sync "$frame_wid" 250 150
events_handled
window_geometry "$remote_wid"
[ "$X,$Y" = "1300,600" ] || fail "the Remote Control is at $X,$Y"
window_geometry "$frame_wid"
frame_x=$X frame_y=$Y
kill -TERM "$zentrap_pid"
wait_ended "$zentrap_pid" "SIGTERM" || fail "zentrap ended with status $? after SIGTERM"
for expected in "\"Left\"=$(hex 1300)" "\"Top\"=$(hex 600)" "\"CropLeft\"=$(hex "$frame_x")" \
  "\"CropTop\"=$(hex "$frame_y")" '; edited by hand' '"Broken"=dword:zz' '[-HKEY_CURRENT_USER\SOFTWARE\Gone]'; do
  grep -qxF "$expected" "$user_hive" || fail "after SIGTERM the user hive lacks $expected: $(cat "$user_hive")"
done
[ "$(grep -c '^"Left"=' "$user_hive")" = 1 ] || fail "Left was not replaced in place"
echo "SIGTERM: both windows' places saved, hand-written lines kept"

# A display of its own that can be taken away.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
started "$xvfb_pid"
wait_for 20 "the second Xvfb to start" test -s "$work/display"
desktop_display=$DISPLAY
export DISPLAY=":$(head -n1 "$work/display")"
start_zentrap
xdotool windowmove --sync "$remote_wid" 700 300
events_handled
click_remote 79 127
wait_window "Zentrap Save As" >/dev/null || fail "the Save As window did not open"
kill -TERM "$xvfb_pid"
wait_ended "$zentrap_pid" "after its X server went away" || true
export DISPLAY=$desktop_display
grep -q "X11 connection broke" "$work/zentrap.log" || fail "zentrap did not lose its X connection: $(cat "$work/zentrap.log")"
for expected in "\"Left\"=$(hex 700)" "\"Top\"=$(hex 300)" '; edited by hand'; do
  grep -qxF "$expected" "$user_hive" || fail "after the X server went away the user hive lacks $expected"
done
grep -q '^"ActiveVar"=' "$user_hive" || fail "after the X server went away the Save As values are not in the user hive"
grep -qx '\[Save\]' "$ini" || fail "after the X server went away the Save As place is not in the settings file"
echo "lost X connection: settings written"
