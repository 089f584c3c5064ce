# wait_for SECONDS WHAT COMMAND [ARGS...]: runs COMMAND every 50 ms until it succeeds; after SECONDS
# (whole seconds) it runs COMMAND once more with its output shown and the test fails with "timed out
# after SECONDS s waiting for WHAT". Sourced by the end-to-end libraries, which each define fail.
wait_for() {
  local seconds=$1 what=$2
  shift 2
  local deadline=$(($(date +%s%N) / 1000000 + seconds * 1000))
  until "$@" >/dev/null 2>&1; do
    if (($(date +%s%N) / 1000000 >= deadline)); then
      "$@" >&2 || true
      fail "timed out after $seconds s waiting for $what"
    fi
    sleep 0.05
  done
}

# Conditions for wait_for.
window_mapped() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
window_unmapped() { ! xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
# window_at WINDOW X Y: the window's top-left pixel is at X,Y (prints where it is otherwise).
window_at() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  [ "$X,$Y" = "$2,$3" ] || { echo "window $1 is at $X,$Y"; return 1; }
}
window_focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($1))" ]; }
# window_property_has WINDOW PROPERTY TEXT: the property's value (as xprop prints it) contains TEXT.
window_property_has() { xprop -id "$1" "$2" 2>/dev/null | grep -q -- "$3"; }
# file_has_lines FILE PATTERN N: at least N lines of FILE match PATTERN.
file_has_lines() { [ "$(grep -c -- "$2" "$1" 2>/dev/null || true)" -ge "$3" ]; }
