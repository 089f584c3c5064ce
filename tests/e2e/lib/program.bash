# The real program: running it (from a copy, when its settings file must land in the work folder),
# its windows, the Remote Control's buttons, the exit question, closing it, and saving through the
# file dialog of its Save As window.

# A settings file that stands beside the program is the one it uses: run_program_copy makes zentrap
# run from a copy in the work folder, where a script writes $ini before the start; sets real_bin,
# ZENTRAP_BIN and ini.
run_program_copy() {
  real_bin=$ZENTRAP_BIN
  ZENTRAP_BIN="$work/bin"
  mkdir -p "$ZENTRAP_BIN"
  cp "$real_bin/zentrap" "$ZENTRAP_BIN/zentrap"
  local companion
  for companion in zentrap-test-pattern zentrap-test-keys zentrap-keeper ztp.chm; do
    ln -s "$real_bin/$companion" "$ZENTRAP_BIN/$companion"
  done
  ini="$ZENTRAP_BIN/zentrap.ini"
}

# display_pids NAME: the running processes named NAME that were started for this test desktop's
# display, one PID a line (an ended one waiting for its parent is left out: its environment cannot
# be read).
display_pids() {
  local pid
  for pid in $(pgrep -x "$1"); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "DISPLAY=$DISPLAY" && echo "$pid"
  done
  return 0
}

# A command that runs the program (a tracer, say) goes in zentrap_launcher; zentrap_pid is then its.
zentrap_launcher=()
# launch_zentrap [ARG...]: starts the program without waiting for anything; sets zentrap_pid.
launch_zentrap() {
  grab_screen "$work/before-start.bmp"
  launched_ms=$(now_ms)
  "${zentrap_launcher[@]}" "$ZENTRAP_BIN/zentrap" "$@" >"$work/zentrap.log" 2>&1 &
  zentrap_pid=$!
  started "$zentrap_pid"
  log_on_failure zentrap "$work/zentrap.log"
}

# remote_painted: the Remote Control's window shows its body, not what was there before the start.
remote_painted() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$remote_wid")"
  grab_settled "$X,$Y,$WIDTH,$HEIGHT" "$work/remote-now.png"
  check covers "$work/before-start.bmp" "$work/remote-now.png" "$X" "$Y"
}

# await_remote: waits for the Remote Control to show and paint; sets remote_wid and startup_ms.
await_remote() {
  remote_wid=$(wait_window "Zentrap Remote Control") || fail "the Remote Control did not appear"
  startup_ms=$(($(now_ms) - launched_ms))
  wait_for 20 "the Remote Control's first paint" remote_painted
}

start_zentrap() {
  launch_zentrap "$@"
  await_remote
}

# The visible windows of the running program, its tray icon left out, sorted.
program_windows() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$zentrap_pid" 2>/dev/null); do
    is_tray_icon "$w" || echo "$w"
  done | sort
}

# Tooltips come and go with the pointer's rests: they are never the window a step waits for.
is_tooltip() { xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_TOOLTIP; }
new_windows_since() {
  local w
  for w in $(comm -13 <(echo "$1") <(program_windows)); do
    is_tooltip "$w" || { echo "$w" && return 0; }
  done
}
# new_window KNOWN: prints a visible window of the program that is not among the ids in KNOWN,
# waiting up to 10 s; false when none shows.
new_window() { poll_output 10 new_windows_since "$1"; }
no_new_window_since() { [ -z "$(new_windows_since "$1")" ]; }

# The program's windows as a failure message tells them: id, name, place, owner; and whether it runs.
describe_program_windows() {
  local w X Y WIDTH HEIGHT SCREEN WINDOW
  process_ended "$zentrap_pid" && echo "zentrap has ended"
  for w in $(xdotool search --pid "$zentrap_pid" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)"
    echo "window $w '$(xdotool getwindowname "$w" 2>/dev/null)' ${WIDTH}x$HEIGHT at $X,$Y" \
      "$(window_mapped "$w" && echo shown || echo hidden) transient for '$(transient_for "$w")'"
  done
  echo "active: $(active_window)"
}

# Clicks window-relative point ($1, $2) of the Remote Control.
click_remote() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$remote_wid")"
  move_pointer $((X + $1)) $((Y + $2)) click 1
}
# Clicks the Remote Control's body (below its buttons) and waits until it has the keyboard.
focus_remote() {
  click_remote 50 230
  wait_active "$remote_wid" || fail "a click on the Remote Control did not give it the keyboard; $(active_window) has it"
}

# The exit question ("Captured image is neither saved nor printed."): a dialog of the program titled
# "Zentrap" and owned by one of its windows. Prints its id when it is shown.
exit_question() {
  local w
  for w in $(program_windows); do
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" = Zentrap ] && [ -n "$(transient_for "$w")" ] && echo "$w" && return 0
  done
  return 0
}

zentrap_ended_or_asks() { process_ended "$zentrap_pid" || [ -n "$(exit_question)" ]; }
# Closes the program with the Remote Control's close button and waits for it to end; the exit
# question (asked while a capture is unsaved) is answered "Yes".
close_zentrap() {
  local question
  click_remote 70 16
  wait_for 20 "zentrap to end or ask before it ends" zentrap_ended_or_asks
  question=$(exit_question)
  if [ -n "$question" ]; then
    activate "$question"
    xdotool key --clearmodifiers Return
  fi
  wait_ended "$zentrap_pid" "zentrap after its close button" || fail "zentrap ended with status $?"
}

# save_through_dialog NAME FILE: in the Save As window $save_wid, presses Save... (Return on the
# format list), types NAME into the file dialog and waits for FILE (written whole at once) and
# for Save As to have the keyboard again.
save_through_dialog() {
  local name=$1 file=$2 dialog before
  before=$(program_windows)
  xdotool key --clearmodifiers Return
  dialog=$(new_window "$before") || fail "no file dialog after Save..."
  activate "$dialog"
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 5 "$name"
  xdotool key --clearmodifiers Return
  wait_for 20 "$file to be written" test -s "$file"
  wait_for 10 "the file dialog to close" window_unmapped "$dialog"
  wait_active "$save_wid" || fail "Save As did not get the keyboard back after the file dialog"
}
