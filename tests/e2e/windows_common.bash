# Shared steps of the scripts about how Zentrap's windows behave on the desktop (sourced, not run
# on its own): which window owns which, the stacking order, the focus, window states, screenshots.
source "$(dirname "${BASH_SOURCE[0]}")/remote_common.bash"

window_check() { "$PY" "$ZENTRAP_SOURCE_DIR/tests/tools/window_check.py" "$@"; }

# The managed windows from the bottom of the stack to the top, as decimal ids.
stacking() {
  local ids
  ids=$(xprop -root _NET_CLIENT_LIST_STACKING | sed -n 's/.*# //p' | tr -d ',')
  for id in $ids; do echo $((id)); done
}

# Succeeds when window $1 is stacked above window $2.
stacked_above() {
  local upper lower
  upper=$(stacking | grep -nx "$1" | cut -d: -f1)
  lower=$(stacking | grep -nx "$2" | cut -d: -f1)
  [ -n "$upper" ] && [ -n "$lower" ] && [ "$upper" -gt "$lower" ]
}

# The window that window $1 is transient for (decimal), empty when none.
transient_for() {
  local id
  id=$(xprop -id "$1" WM_TRANSIENT_FOR 2>/dev/null | sed -n 's/.*# //p')
  [ -n "$id" ] && echo $((id))
  return 0
}

active_window() { xdotool getactivewindow 2>/dev/null || true; }

# The ICCCM state of window $1: Normal, Iconic or Withdrawn.
wm_state() { xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/.*window state: //p'; }

# The program's visible windows, sorted.
program_windows() { xdotool search --onlyvisible --pid "$zentrap_pid" 2>/dev/null | sort || true; }

# Waits up to 10 s for a visible window of the program that is not among the ids in $1.
new_window() {
  local known=$1 id
  for _ in $(seq 1 200); do
    id=$(comm -13 <(echo "$known") <(program_windows) | head -n1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.05
  done
  return 1
}

# Waits up to 5 s until window $1 is the active window.
wait_active() {
  for _ in $(seq 1 100); do
    [ "$(active_window)" = "$1" ] && return 0
    sleep 0.05
  done
  return 1
}

# shot_window WID FILE: the window's pixels (without the window manager's frame), read from the screen.
shot_window() {
  window_geometry "$1"
  grab_root "$X,$Y,$WIDTH,$HEIGHT" "$2"
}
