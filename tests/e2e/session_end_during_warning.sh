#!/usr/bin/env bash
# A termination signal while the start-up skin warning is open ends the program at once, with its
# settings written, instead of leaving it waiting in the box.
source "$(dirname "$0")/remote_common.bash"

write_user_values '"Skin"="/nowhere/skin.bmp"\n"CaptureNumber"=dword:00000007'
"$ZENTRAP_BIN/zentrap" >"$work/zentrap.log" 2>&1 &
zentrap_pid=$!
started_pids+=("$zentrap_pid")
wait_window "Warning" >/dev/null || fail "no warning for the missing skin"
rm -f "$user_hive"
kill -TERM "$zentrap_pid"
for _ in $(seq 1 100); do
  kill -0 "$zentrap_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$zentrap_pid" 2>/dev/null && fail "still running 10 s after SIGTERM during the start-up warning"
grep -qxF '"Skin"="/nowhere/skin.bmp"' "$user_hive" || fail "the settings were not written at the end"
echo "ended during the warning with its settings written"
