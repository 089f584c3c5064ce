# Desktops of several RandR monitors on the test desktop's one X screen (which must be large enough
# to hold them), and the test pattern as the root window's picture.

# monitor_geometry NAME:WxH+X+Y: the xrandr geometry of that monitor, its size in millimetres at the
# desktop's pixels per inch (so every monitor has the desktop's density).
monitor_geometry() {
  local layout=${1#*:} size w h x y
  size=${layout%%+*}
  w=${size%x*} h=${size#*x}
  x=$(echo "$layout" | cut -d+ -f2) y=$(echo "$layout" | cut -d+ -f3)
  echo "$w/$((w * 254 / ($(desktop_dpi) * 10)))x$h/$((h * 254 / ($(desktop_dpi) * 10)))+$x+$y"
}
monitor_count_is() { [ "$(xrandr --listmonitors 2>/dev/null | sed -n 's/^Monitors: //p')" = "$1" ]; }

# use_monitors NAME:WxH+X+Y ...: splits the screen into these monitors, the first one primary (it
# takes the screen's output, so the whole-screen monitor goes), and waits until the server lists
# them. Monitors made before are taken away first.
use_monitors() {
  local layout output=screen primary='*' old
  for old in $(xrandr --listmonitors 2>/dev/null | sed -n 's/^ *[0-9]*: [*+]*\([^ ]*\) .*/\1/p'); do
    xrandr --delmonitor "$old" >/dev/null 2>&1 || true
  done
  for layout in "$@"; do
    xrandr --setmonitor "$primary${layout%%:*}" "$(monitor_geometry "$layout")" "$output" >/dev/null 2>&1 ||
      fail "xrandr could not make the monitor $layout"
    output=none primary=''
  done
  wait_for 10 "the server to list $# monitors" monitor_count_is $#
}
# remove_monitor NAME: takes that monitor away while programs run.
remove_monitor() {
  local before
  before=$(xrandr --listmonitors | sed -n 's/^Monitors: //p')
  xrandr --delmonitor "$1" >/dev/null 2>&1 || fail "xrandr could not remove the monitor $1"
  wait_for 10 "the server to drop the monitor $1" monitor_count_is $((before - 1))
}

# root_pattern: the test pattern as the root window's picture, from the desktop's top-left pixel:
# a grab of the desktop where no window is tells the position it came from.
root_pattern() { "$PY" "$ZENTRAP_SOURCE_DIR/tests/tools/root_pattern.py" || fail "the root picture was not set"; }
