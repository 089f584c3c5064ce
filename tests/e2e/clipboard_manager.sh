#!/usr/bin/env bash
# With a clipboard manager running, the capture is handed to it at exit: the manager reads the
# clipboard's formats and gets the capture's PNG and BMP in one MULTIPLE request, and no keeper
# starts. A manager that never
# answers holds the exit back for a bounded time only.
source "$(dirname "$0")/lib/e2e.bash"

# start_manager NAME [--never-answer]: a test clipboard manager saving into $work/NAME.png/.bmp.
start_manager() {
  "$PY" "$ZENTRAP_SOURCE_DIR/tests/tools/clipboard_manager.py" "$work/$1" "${@:2}" >"$work/$1.log" 2>&1 &
  manager_pid=$!
  started "$manager_pid"
  log_on_failure "$1" "$work/$1.log"
  wait_for 10 "the clipboard manager" file_has_line "$work/$1.log" ready
}

prepare_pattern_capture
start_manager saving
start_zentrap
capture_pattern "$work/capture"
close_zentrap
wait_for 10 "the manager to save the clipboard" file_has_line "$work/saving.log" saved
check same "$work/capture.png" "$work/saving.png" || fail "the manager did not get the capture's PNG"
check same "$work/capture.png" "$work/saving.bmp" || fail "the manager did not get the capture's BMP"
[ "$(keeper_count)" = 0 ] || fail "a keeper started beside the clipboard manager"
echo "the clipboard manager got the capture's PNG and BMP"

wait_ended "$manager_pid" "the saving manager"
start_manager silent --never-answer
start_zentrap
capture_pattern "$work/second"
click_remote 70 16
wait_for 20 "the exit question" zentrap_ended_or_asks
question=$(exit_question)
[ -n "$question" ] && activate "$question" && xdotool key --clearmodifiers Return
wait_for 20 "the hand-over to the manager" file_has_line "$work/silent.log" asked
# The program waits 2 s for the answer; the rest is room for a loaded machine.
poll 6 process_ended "$zentrap_pid" || fail "zentrap still runs 6 s after asking a manager that never answers"
grep -q "not kept on the clipboard" "$work/zentrap.log" || fail "the failed hand-over was not reported"
echo "clipboard manager ok"
