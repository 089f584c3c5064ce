#!/usr/bin/env bash
# A kill -9 while the program writes its settings at the end of a session leaves the user hive with
# the session's old values or its new ones, never the Capture Frame's new places beside the Remote
# Control's old ones. The kill falls at a fixed point, not at a moment: strace stops the program
# with SIGKILL as it enters its Nth rename (the step that makes a written file the settings file),
# for N = 1, 2, ... until a round ends without reaching it.
source "$(dirname "$0")/lib/e2e.bash"

strace -o /dev/null -e trace=none true 2>/dev/null || fail "strace cannot trace a program here (ptrace refused)"

hex() { printf 'dword:%08x' "$1"; }
# The places the program knows come from events it has not necessarily handled yet: a capture
# asked for afterwards and seen on the clipboard comes after them.
events_handled() {
  clear_clipboard
  click_remote 50 155
  read_clipboard_images "$work/barrier"
}
# The session's values in the user hive: Remote Control place, Capture Frame place.
session_values() {
  echo "$(stored_value Left) $(stored_value Top) $(stored_value CropLeft) $(stored_value CropTop)"
}

old_values="100 120 400 300"
remote_shown_or_ended() { process_ended "$zentrap_pid" || xdotool search --name '^Zentrap Remote Control$' >/dev/null; }

# session_round TRACER...: a session under the tracer: both windows moved, then SIGTERM. Sets
# status (the program's exit status), found (the values then in the hive), new_values and ending
# (1 when the program was told to end).
session_round() {
  # HideRemote off: the captures that show the program has caught up leave its windows in place.
  write_user_values "\"Left\"=$(hex 100)\n\"Top\"=$(hex 120)\n\"CropLeft\"=$(hex 400)\n\"CropTop\"=$(hex 300)\n\"HideRemote\"=dword:00000000"
  zentrap_launcher=("$@")
  launch_zentrap # zentrap_pid is the tracer's, which ends as the program does, with its status
  wait_for 20 "the Remote Control or the end of the program" remote_shown_or_ended
  status=0 ending=0
  if ! process_ended "$zentrap_pid"; then
    await_remote
    local frame_wid program_pid
    frame_wid=$(wait_window "Zentrap Capture Frame") || fail "the Capture Frame did not appear"
    xdotool windowmove --sync "$remote_wid" 1300 600
    xdotool windowmove --sync "$frame_wid" 250 150
    events_handled
    window_geometry "$frame_wid"
    new_values="1300 600 $X $Y"
    program_pid=$(pgrep -P "$zentrap_pid" -x zentrap) || fail "the program ended during the session"
    kill -TERM "$program_pid" # the ordinary end, which writes the session's values
    ending=1
  fi
  wait_ended "$zentrap_pid" "the program" || status=$?
  found=$(session_values)
}

# A round without a kill saves the new values and tells which renames the program makes.
renames="rename renameat renameat2"
session_round strace -o "$work/renames.log" -e trace="${renames// /,}"
[ "$status" = 0 ] && [ "$found" = "$new_values" ] || fail "an end without a kill (status $status) saved $found, not $new_values"

# Then one round for each of them, killed as it enters that rename (strace counts each call apart).
killed_at_end=0
for call in $renames; do
  count=$(grep -c "^$call(" "$work/renames.log" || true)
  for n in $(seq 1 "$count"); do
    session_round strace -o /dev/null -e trace="${renames// /,}" -e inject="$call":signal=KILL:when="$n"
    [ "$status" = $((128 + 9)) ] || fail "$call $n: the program ended with status $status, not by the kill"
    case "$found" in
      "$old_values") ;;
      "$new_values") ;;
      *) fail "killed at $call $n the user hive holds $found: neither all old ($old_values) nor all new ($new_values)" ;;
    esac
    echo "killed as it entered $call $n of the run ($([ "$ending" = 1 ] && echo "at the end" || echo "starting")): $found"
    killed_at_end=$((killed_at_end + ending))
  done
done
[ "$killed_at_end" -ge 1 ] || fail "no kill fell during the end's writes: $(cat "$work/renames.log")"
echo "session_end_killed: a kill at each of the end's $killed_at_end renames leaves all old or all new values"
