#!/usr/bin/env bash
# Ended from outside with Save As open, by SIGTERM, SIGHUP or SIGINT, the program writes Save As's
# values (its variants in the user hive, its placement in the settings file) as a close would;
# SIGPIPE does not end it.
source "$(dirname "$0")/lib/e2e.bash"

run_program_copy
prepare_pattern_capture
for signal in TERM HUP INT; do
  # Neither file holds a Save As value before the round: only a write of the window adds them.
  write_user_values "$pattern_capture_values"
  # Keep the Save As window clear of the always-on-top Remote Control.
  printf '[Save]\nLeft=60\nTop=60\n' >"$ini"
  start_zentrap
  capture_pattern "$work/capture"
  click_remote 79 127
  save_wid=$(wait_window "Zentrap Save As") || fail "the Save As window did not open"
  if [ "$signal" = TERM ]; then
    kill -PIPE "$zentrap_pid"
    poll 2 process_ended "$zentrap_pid" && fail "SIGPIPE ended the program"
  fi
  kill -"$signal" "$zentrap_pid"
  wait_ended "$zentrap_pid" "SIG$signal with Save As open" || fail "zentrap ended with status $? after SIG$signal"
  grep -q '^"ActiveVar"=' "$user_hive" || fail "after SIG$signal the user hive lacks the Save As values"
  grep -q '^Width=' "$ini" || fail "after SIG$signal the Save As placement was not written: $(cat "$ini")"
  echo "SIG$signal: Save As values written"
done
echo "end signals ok"
