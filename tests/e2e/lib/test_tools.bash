# The helper programs of tests/tools that the scripts drive: the test-pattern window, the key
# client, and the Capture Frame's harness (the frame on its own, driven through a pipe).

# start_pattern L,T,W,H [options...]: shows the test-pattern window and waits until it is in place.
start_pattern() {
  local out="$work/pattern-${#started_pids[@]}.out"
  "$ZENTRAP_BIN/zentrap-test-pattern" --geometry "$@" >"$out" 2>"$out.err" &
  started "$!"
  log_on_failure pattern "$out.err"
  wait_for 20 "the pattern window at $1" file_has_line "$out" ready
}

# start_test_keys OUT LINE ARGS...: runs zentrap-test-keys with ARGS, its output in OUT, and waits
# until it prints LINE (ready, grabbed); sets test_keys_pid.
start_test_keys() {
  local out=$1 line=$2
  shift 2
  "$ZENTRAP_BIN/zentrap-test-keys" "$@" >"$out" 2>>"$work/test-keys.log" &
  test_keys_pid=$!
  started "$test_keys_pid"
  log_on_failure test-keys "$work/test-keys.log"
  wait_for 20 "zentrap-test-keys $* to print $line" file_has_line "$out" "$line"
}

frame_out="$work/harness.out"
# start_frame [harness options]: shows the frame harness's frame; sets FX FY FW FH FB (its place,
# size and band width), frame_wid and frame_pid.
start_frame() {
  rm -f "$work/harness.in"
  mkfifo "$work/harness.in"
  : >"$frame_out"
  "$ZENTRAP_BIN/zentrap-frame-harness" "$@" <"$work/harness.in" >"$frame_out" 2>"$work/harness.err" &
  frame_pid=$!
  started "$frame_pid"
  log_on_failure harness "$work/harness.err"
  exec 7>"$work/harness.in"
  at_exit 'exec 7>&- 2>/dev/null'
  wait_for 20 "the frame harness to be ready" file_has_lines "$frame_out" '^ready' 1
  read -r _ FX FY FW FH FB < <(grep '^ready' "$frame_out")
  frame_wid=$(wait_window 'Zentrap Capture Frame') || fail "no visible frame window"
}

# frame_answered LINES [ENDMARK]: the harness wrote more than LINES lines, the last one starting
# with ENDMARK when given.
frame_answered() {
  [ "$(wc -l <"$frame_out")" -gt "$1" ] && { [ -z "${2:-}" ] || tail -n1 "$frame_out" | grep -q "^$2"; }
}
# frame_ask LINE [ENDMARK]: sends LINE and prints the new output once a line starting with ENDMARK
# (by default: any line) arrived.
frame_ask() {
  local before
  before=$(wc -l <"$frame_out")
  echo "$1" >&7
  wait_for 10 "an answer to '$1'" frame_answered "$before" "${2:-}"
  tail -n +$((before + 1)) "$frame_out"
}

# stop_frame: ends the harness, which writes the frame's values.
stop_frame() {
  echo quit >&7
  exec 7>&-
  wait_ended "$frame_pid" "the frame harness" || fail "the harness ended with an error"
}
