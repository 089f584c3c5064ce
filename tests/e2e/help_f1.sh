#!/usr/bin/env bash
# F1 on the Remote Control opens the help window on the table of contents (Ctrl+F1 does not), and the
# help window goes when Zentrap exits.
source "$(dirname "$0")/lib/e2e.bash"

[ -f "$ZENTRAP_BIN/ztp.chm" ] || fail "no ztp.chm beside the program in $ZENTRAP_BIN"
help_title="Zentrap Help - Contents"
help_open() { xdotool search --onlyvisible --name "^Zentrap Help" >/dev/null 2>&1; }

start_zentrap
activate "$remote_wid"

xdotool key --clearmodifiers ctrl+F1
# Nothing must open, and there is no event to wait for: give a window a second to appear.
sleep 1
help_open && fail "Ctrl+F1 opened the help window"

xdotool key --clearmodifiers F1
help_wid=$(wait_window "$help_title") || fail "F1 did not open the help window on the contents"
window_geometry "$help_wid"
[ "$WIDTH" -gt 300 ] && [ "$HEIGHT" -gt 200 ] || fail "help window is only ${WIDTH}x$HEIGHT"
kill -0 "$zentrap_pid" 2>/dev/null || fail "zentrap ended after F1"

# The same window is reused: F1 again leaves exactly one help window.
activate "$remote_wid"
xdotool key --clearmodifiers F1
# A second window must not appear, so there is nothing to wait for: give it half a second.
sleep 0.5
count=$(xdotool search --onlyvisible --name "^Zentrap Help" 2>/dev/null | wc -l)
[ "$count" -eq 1 ] || fail "$count help windows after the second F1"

# The help window has the focus now: give it back to the Remote Control and ask it to close with
# Alt+F4 (its close request), then wait for the program to end.
activate "$remote_wid"
xdotool key --clearmodifiers alt+F4
wait_ended "$zentrap_pid" "zentrap after Alt+F4" || fail "zentrap ended with status $?"
help_open && fail "the help window is still shown after Zentrap ended"
echo "help F1 ok"
