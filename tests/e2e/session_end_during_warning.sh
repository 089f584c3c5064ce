#!/usr/bin/env bash
# A termination signal while the start-up skin warning is open ends the program at once, with its
# settings written, instead of leaving it waiting in the box.
source "$(dirname "$0")/lib/e2e.bash"

write_user_values '"Skin"="/nowhere/skin.bmp"\n"CaptureNumber"=dword:00000007'
launch_zentrap
wait_window "Warning" >/dev/null || fail "no warning for the missing skin"
rm -f "$user_hive"
kill -TERM "$zentrap_pid"
poll 10 process_ended "$zentrap_pid" || fail "still running 10 s after SIGTERM during the start-up warning"
grep -qxF '"Skin"="/nowhere/skin.bmp"' "$user_hive" || fail "the settings were not written at the end"
echo "ended during the warning with its settings written"
