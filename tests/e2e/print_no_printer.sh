#!/usr/bin/env bash
# The Print command without a printer: a scheduler with no queue, then no reachable scheduler at
# all. Each time a message box comes instead of the Print Preview, and the program goes on.
if [ -z "${PRINT_SERVER_DIR:-}" ]; then
  PRINT_SERVER_EMPTY=1 exec "$(dirname "$0")/../../scripts/with-print-server" bash "$0" "$@"
fi
source "$(dirname "$0")/lib/e2e.bash"
run_program_copy
# Nothing is printed here, so the capture stays unsaved: no exit question.
prepare_pattern_capture '"ExitConfirmation"=dword:00000000'

# Presses Print and expects the message box and no Print Preview; $1 names the case.
expect_no_printer() {
  click_remote 21 127 # Print
  box_wid=$(wait_window "Zentrap") || fail "$1: no message box"
  screenshot "print-no-printer-$2"
  xdotool search --onlyvisible --name '^Zentrap Print Preview$' >/dev/null && fail "$1: the Print Preview opened"
  xprop -id "$box_wid" WM_TRANSIENT_FOR | grep -q '0x' || fail "$1: the message box has no owner"
  activate "$box_wid"
  xdotool key --clearmodifiers Return
  wait_for 10 "the message box to close" window_unmapped "$box_wid"
  xdotool search --onlyvisible --name '^Zentrap$' >/dev/null && fail "$1: the message box stayed"
  xdotool search --onlyvisible --name '^Zentrap Print Preview$' >/dev/null && fail "$1: the Print Preview opened later"
  return 0
}

start_zentrap
capture_pattern "$work/capture"
lpstat -p 2>/dev/null | grep -q . && fail "the scheduler has a queue"
expect_no_printer "no queue" empty
close_zentrap

export CUPS_SERVER="$work/no-such-scheduler.sock"
start_zentrap
capture_pattern "$work/capture"
expect_no_printer "no scheduler" unreachable
close_zentrap
echo "no printer ok"
