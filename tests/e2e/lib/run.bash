# One script's run: a private work folder (also its home and settings folder), the processes it
# starts (each ended by its own PID at exit), failing with the logs that explain it, and waiting
# for a condition with a deadline instead of sleeping.

work=$(mktemp -d /tmp/zentrap-e2e.XXXXXX)
export HOME="$work/home"
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
PY=/usr/bin/python3
started_pids=()
exit_steps=()
failure_logs=()

run_cleanup() {
  local status=$? step pid
  for step in "${exit_steps[@]}"; do eval "$step" || true; done
  for pid in "${started_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${started_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
  exit "$status"
}
trap run_cleanup EXIT

# at_exit COMMAND: runs COMMAND (a shell line) when the script ends, before its processes are stopped.
at_exit() { exit_steps+=("$1"); }

# started PID: the process is ended when the script ends.
started() { started_pids+=("$1"); }

# log_on_failure LABEL FILE: fail shows FILE's lines, prefixed with LABEL.
log_on_failure() { failure_logs+=("$1=$2"); }

fail() {
  local entry
  echo "FAIL: $*" >&2
  for entry in "${failure_logs[@]}"; do
    [ -s "${entry#*=}" ] && sed "s/^/  ${entry%%=*}: /" "${entry#*=}" >&2
  done
  exit 1
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# poll SECONDS COMMAND [ARGS...]: runs COMMAND (quietly) every 50 ms until it succeeds; false when
# SECONDS (whole seconds) pass first.
poll() {
  local deadline=$(($(now_ms) + $1 * 1000))
  shift
  until "$@" >/dev/null 2>&1; do
    (($(now_ms) < deadline)) || return 1
    sleep 0.05
  done
}

# wait_for SECONDS WHAT COMMAND [ARGS...]: poll, and on the deadline COMMAND runs once more with its
# output shown and the test fails with "timed out after SECONDS s waiting for WHAT".
wait_for() {
  local seconds=$1 what=$2
  shift 2
  poll "$seconds" "$@" && return 0
  "$@" >&2 || true
  fail "timed out after $seconds s waiting for $what"
}

# poll_output SECONDS COMMAND [ARGS...]: prints the first non-empty output of COMMAND, polled as
# poll does; false (nothing printed) at the deadline.
poll_output() {
  local deadline=$(($(now_ms) + $1 * 1000)) out
  shift
  while :; do
    out=$("$@" 2>/dev/null || true)
    if [ -n "$out" ]; then
      echo "$out"
      return 0
    fi
    (($(now_ms) < deadline)) || return 1
    sleep 0.05
  done
}

process_ended() { ! kill -0 "$1" 2>/dev/null; }

# wait_ended PID WHAT: waits up to 20 s for the process to end and returns its exit status.
wait_ended() {
  poll 20 process_ended "$1" || fail "$2: process $1 did not end"
  wait "$1"
}

# file_has_lines FILE PATTERN N: at least N lines of FILE match PATTERN.
file_has_lines() { [ "$(grep -c -- "$2" "$1" 2>/dev/null || true)" -ge "$3" ]; }
# file_has_line FILE LINE: FILE holds exactly LINE.
file_has_line() { grep -qxF -- "$2" "$1" 2>/dev/null; }
