# Shared steps of the Capture Frame's end-to-end scripts (sourced): a private settings folder, the
# frame harness started and stopped through a pipe, and root grabs.
set -euo pipefail
: "${ZENTRAP_BIN:?ZENTRAP_BIN must name the bin folder of the build}"
: "${DISPLAY:?run under scripts/with-test-desktop}"

frame_work=$(mktemp -d /tmp/zentrap-frame-e2e.XXXXXX)
export XDG_CONFIG_HOME="$frame_work/config"
mkdir -p "$XDG_CONFIG_HOME/zentrap"
user_hive="$XDG_CONFIG_HOME/zentrap/user.reg"
PY=/usr/bin/python3
frame_started=()

frame_cleanup() {
  local status=$?
  exec 7>&- 2>/dev/null || true
  for pid in "${frame_started[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${frame_started[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$frame_work"
  exit "$status"
}
trap frame_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  for log in "$frame_work"/harness.err; do [ -s "$log" ] && sed 's/^/  harness: /' "$log" >&2; done
  exit 1
}

source "$ZENTRAP_SOURCE_DIR/tests/tools/wait_for.bash"

# write_frame_values LINES: the user hive with the given "Name"=dword:... lines.
write_frame_values() {
  printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n%b\n' "$1" >"$user_hive"
}

# stored_value NAME: the stored double word as a signed decimal number.
stored_value() {
  local hex
  hex=$(grep -i "^\"$1\"=dword:" "$user_hive" | head -n1 | sed 's/.*dword://' | tr -d '\r')
  [ -n "$hex" ] || fail "no stored value $1"
  $PY -c "v=int('$hex',16); print(v-(1<<32) if v>=1<<31 else v)"
}

# start_frame [harness options]: shows the frame; sets FX FY FW FH FB and frame_wid.
start_frame() {
  rm -f "$frame_work/in"
  mkfifo "$frame_work/in"
  : >"$frame_work/out"
  "$ZENTRAP_BIN/zentrap-frame-harness" "$@" <"$frame_work/in" >"$frame_work/out" 2>"$frame_work/harness.err" &
  frame_pid=$!
  frame_started+=("$frame_pid")
  exec 7>"$frame_work/in"
  for _ in $(seq 1 400); do
    grep -q '^ready' "$frame_work/out" && break
    sleep 0.05
  done
  read -r _ FX FY FW FH FB < <(grep '^ready' "$frame_work/out") || fail "the frame did not come up"
  frame_wid=$(xdotool search --onlyvisible --name '^Zentrap Capture Frame$' | head -n1)
  [ -n "$frame_wid" ] || fail "no visible frame window"
}

# frame_ask LINE: sends LINE and prints the new output once ENDMARK (default: one line) arrived.
frame_ask() {
  local before
  before=$(wc -l <"$frame_work/out")
  echo "$1" >&7
  for _ in $(seq 1 100); do
    if [ "$(wc -l <"$frame_work/out")" -gt "$before" ] && { [ -z "${2:-}" ] || tail -n1 "$frame_work/out" | grep -q "^$2"; }; then
      sleep 0.05
      tail -n +$((before + 1)) "$frame_work/out"
      return 0
    fi
    sleep 0.05
  done
  fail "no answer to '$1'"
}

# stop_frame: ends the harness, which writes the frame's values.
stop_frame() {
  echo quit >&7
  exec 7>&-
  wait "$frame_pid" || fail "the harness ended with an error"
}

# Sets X, Y, WIDTH, HEIGHT of window $1.
window_geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }

# grab_root FILE: the whole screen as a PNG.
grab_root() {
  $PY -c "import os,sys; from PIL import ImageGrab; ImageGrab.grab(xdisplay=os.environ['DISPLAY']).save(sys.argv[1])" "$1"
}

# drag_pointer BUTTON X0 Y0 X1 Y1: press at the first point, move there in steps, release.
drag_pointer() {
  local button=$1 x0=$2 y0=$3 x1=$4 y1=$5 i
  xdotool mousemove --sync "$x0" "$y0"
  xdotool mousedown "$button"
  sleep 0.1
  for i in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove --sync $((x0 + (x1 - x0) * i / 10)) $((y0 + (y1 - y0) * i / 10))
    sleep 0.03
  done
  sleep 0.1
  xdotool mouseup "$button"
  sleep 0.3
}
