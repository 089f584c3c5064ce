# Shell helpers for end-to-end scripts (source it). Needs ZENTRAP_BIN and ZENTRAP_SOURCE_DIR.
# Every helper process started here is ended, by its own PID, when the script exits.

e2e_work=$(mktemp -d /tmp/zentrap-e2e.XXXXXX)
e2e_pids=()

e2e_cleanup() {
  local status=$?
  for pid in "${e2e_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${e2e_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$e2e_work"
  exit "$status"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

check() {
  /usr/bin/python3 "$ZENTRAP_SOURCE_DIR/tests/tools/grab_check.py" "$@" || exit 1
}

# start_pattern X,Y,W,H [options...]: shows the test pattern window and waits until it is in place.
start_pattern() {
  local out
  out="$e2e_work/pattern-${#e2e_pids[@]}.out"
  "$ZENTRAP_BIN/zentrap-test-pattern" --geometry "$@" >"$out" &
  e2e_pids+=($!)
  for _ in $(seq 1 200); do
    grep -q ready "$out" && return 0
    sleep 0.05
  done
  fail "the pattern window did not come up"
}

# point_at X Y: moves the pointer and waits until the server reports it there.
point_at() {
  xdotool mousemove "$1" "$2"
  for _ in $(seq 1 50); do
    xdotool getmouselocation | grep -q "x:$1 y:$2 " && return 0
    sleep 0.02
  done
  fail "the pointer did not reach $1,$2"
}
