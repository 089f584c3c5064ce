#!/usr/bin/env bash
# One Zentrap per user and display: a second start brings the running Remote Control back to the
# front and ends with status 0; after the first was killed, the next start runs normally.
source "$(dirname "$0")/lib/e2e.bash"

start_zentrap
first_pid=$zentrap_pid
xdotool windowminimize --sync "$remote_wid"
wait_window_gone "Zentrap Remote Control" "the Remote Control to minimise"

status=0
timeout 20 "$ZENTRAP_BIN/zentrap" >"$work/second.log" 2>&1 || status=$?
[ "$status" = 0 ] || fail "the second start ended with status $status: $(cat "$work/second.log")"
wait_window "Zentrap Remote Control" >/dev/null || fail "the running Remote Control did not come back"
kill -0 "$first_pid" 2>/dev/null || fail "the first instance is gone"
[ "$(xdotool search --name '^Zentrap Remote Control$' | wc -l)" = 1 ] || fail "more than one Remote Control"

kill -KILL "$first_pid"
wait "$first_pid" 2>/dev/null || true
# The killed instance's windows go with its X connection; the next start must not find them.
wait_window_gone "Zentrap Remote Control" "the killed instance's Remote Control to go"
start_zentrap
[ "$zentrap_pid" != "$first_pid" ] || fail "no new instance"
close_zentrap
echo "one instance ok"
