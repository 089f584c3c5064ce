#!/usr/bin/env bash
# The Print command without a printer: a scheduler with no queue, then no reachable scheduler at
# all. Each time a message box comes instead of the Print Preview, and the program goes on.
if [ -z "${PRINT_SERVER_DIR:-}" ]; then
  PRINT_SERVER_EMPTY=1 exec "$(dirname "$0")/../../scripts/with-print-server" bash "$0" "$@"
fi
source "$(dirname "$0")/print_common.bash"
# Nothing is printed here, so the capture stays unsaved: no exit question.
write_user_values "$capture_values"'\n"ExitConfirmation"=dword:00000000'

# Presses Print and expects the message box and no Print Preview; $1 names the case.
expect_no_printer() {
  press_print_button
  box_wid=$(wait_window "Zentrap") || fail "$1: no message box"
  screenshot "print-no-printer-$2"
  xdotool search --onlyvisible --name '^Zentrap Print Preview$' >/dev/null && fail "$1: the Print Preview opened"
  xprop -id "$box_wid" WM_TRANSIENT_FOR | grep -q '0x' || fail "$1: the message box has no owner"
  xdotool windowactivate --sync "$box_wid" 2>/dev/null || true
  xdotool key --clearmodifiers Return
  sleep 0.5
  xdotool search --onlyvisible --name '^Zentrap$' >/dev/null && fail "$1: the message box stayed"
  xdotool search --onlyvisible --name '^Zentrap Print Preview$' >/dev/null && fail "$1: the Print Preview opened later"
  return 0
}

start_zentrap
capture_pattern
lpstat -p 2>/dev/null | grep -q . && fail "the scheduler has a queue"
expect_no_printer "no queue" empty
close_zentrap

export CUPS_SERVER="$work/no-such-scheduler.sock"
start_zentrap
capture_pattern
expect_no_printer "no scheduler" unreachable
close_zentrap
echo "no printer ok"
