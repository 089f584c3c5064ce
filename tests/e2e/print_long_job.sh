#!/usr/bin/env bash
# A job of 999 copies: the program still answers an end signal at once (the job is abandoned and
# nothing reaches the queue), and neither that end nor kill -9 in the middle of the job leaves a
# spool file of the capture in the temporary folder.
if [ -z "${PRINT_SERVER_DIR:-}" ]; then
  exec "$(dirname "$0")/../../scripts/with-print-server" bash "$0" "$@"
fi
source "$(dirname "$0")/lib/e2e.bash"
run_program_copy
prepare_pattern_capture '"ExitConfirmation"=dword:00000000'
spool="$work/tmp"
mkdir -m 700 "$spool"

# The program has a file of the temporary folder open: the job is being written.
job_running() { find "/proc/$zentrap_pid/fd" -lname "$spool/*" 2>/dev/null | grep -q .; }
# start_long_job: a capture, the Print Preview, Enter with Copies 999, and the job under way.
start_long_job() {
  printf '[Print]\nFitToPage=1\nCopies=999\n' >"$ini"
  TMPDIR=$spool start_zentrap
  capture_pattern "$work/capture"
  click_remote 21 127 # Print
  preview_wid=$(wait_window "Zentrap Print Preview") || fail "the Print Preview did not open"
  activate "$preview_wid"
  xdotool key --clearmodifiers Return
  wait_for 10 "the job to start" job_running
}
spool_empty() { [ -z "$(ls -A "$spool")" ]; }

start_long_job
kill -TERM "$zentrap_pid"
poll 5 process_ended "$zentrap_pid" || fail "SIGTERM did not end the program during the job"
spool_empty || fail "the end signal left $(ls "$spool") in the temporary folder"
[ -z "$(lpstat -W all -o 2>/dev/null)" ] || fail "the abandoned job reached the queue: $(lpstat -W all -o)"

start_long_job
kill -KILL "$zentrap_pid"
wait_for 5 "kill -9 to end the program" process_ended "$zentrap_pid"
spool_empty || fail "kill -9 left $(ls "$spool") in the temporary folder"
echo "long job ok"
