# The screen and the pointer: root grabs (read with Xlib, independently of the program's own
# grabber), picture checks, screenshots to look at, and pointer moves and drags.

# grab_root L,T,W,H FILE: the rectangle of the screen, saved in the format the file name says.
grab_root() { "$PY" "$ZENTRAP_SOURCE_DIR/tests/tools/root_grab.py" "$1" "$2" || fail "the root grab of $1 failed"; }
# grab_settled L,T,W,H FILE: the same once painting there has settled (two grabs agree), up to 10 s.
grab_settled() { "$PY" "$ZENTRAP_SOURCE_DIR/tests/tools/root_grab.py" "$1" "$2" 10 || fail "the screen at $1 kept changing"; }
screen_rect() { xdpyinfo | awk '/dimensions:/ {split($2, s, "x"); print "0,0," s[1] "," s[2]; exit}'; }
# grab_screen FILE: the whole screen.
grab_screen() { grab_root "$(screen_rect)" "$1"; }
# grab_window WID FILE: the window's pixels (without the window manager's frame), read from the screen.
grab_window() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  grab_settled "$X,$Y,$WIDTH,$HEIGHT" "$2"
}
# grab_is L,T,W,H REFERENCE: the screen there now holds exactly REFERENCE's pixels.
grab_is() { grab_root "$1" "$work/grab_is.png" && check same "$work/grab_is.png" "$2"; }
grab_is_not() { grab_root "$1" "$work/grab_is.png" && ! check same "$work/grab_is.png" "$2" >/dev/null; }

# check VERB ARGS...: a picture check of tests/tools/image_check.py (its usage lists the verbs).
check() { "$PY" "$ZENTRAP_SOURCE_DIR/tests/tools/image_check.py" "$@"; }
# window_check VERB ARGS...: a check of a window's look (tests/tools/window_check.py).
window_check() { "$PY" "$ZENTRAP_SOURCE_DIR/tests/tools/window_check.py" "$@"; }

# screenshot NAME [L,T,W,H]: keeps a settled grab (the whole screen by default) as NAME.png in
# $ZENTRAP_SCREENSHOTS when that is set, for looking at the windows.
screenshot() {
  [ -n "${ZENTRAP_SCREENSHOTS:-}" ] || return 0
  mkdir -p "$ZENTRAP_SCREENSHOTS"
  grab_settled "${2:-$(screen_rect)}" "$ZENTRAP_SCREENSHOTS/$1.png"
}

pointer_at() { xdotool getmouselocation | grep -q "x:$1 y:$2 "; }
# move_pointer X Y [XDOTOOL-COMMANDS...]: moves the pointer, waits until the server reports it there
# and runs the xdotool commands (click 1, mousedown 1, ...). (xdotool's own "mousemove --sync"
# waits 15 s when the pointer is there already.)
move_pointer() {
  local x=$1 y=$2
  shift 2
  if ! pointer_at "$x" "$y"; then
    xdotool mousemove "$x" "$y"
    wait_for 5 "the pointer at $x,$y" pointer_at "$x" "$y"
  fi
  [ $# -eq 0 ] || xdotool "$@"
}

# drag_pointer BUTTON X0 Y0 X1 Y1 CONDITION...: presses at the first point, moves to the second in
# ten steps and releases once CONDITION holds (up to 10 s). Until then the pointer is nudged at the
# end point: a window manager that takes the move over after the first steps only follows motion
# it receives after its grab.
drag_pointer() {
  local button=$1 x0=$2 y0=$3 x1=$4 y1=$5 i deadline
  shift 5
  move_pointer "$x0" "$y0" mousedown "$button"
  for i in 1 2 3 4 5 6 7 8 9 10; do
    move_pointer $((x0 + (x1 - x0) * i / 10)) $((y0 + (y1 - y0) * i / 10))
  done
  deadline=$(($(now_ms) + 10000))
  until "$@" >/dev/null 2>&1; do
    if (($(now_ms) >= deadline)); then
      xdotool mouseup "$button"
      "$@" >&2 || true
      fail "a drag from $x0,$y0 to $x1,$y1 did not lead to: $*"
    fi
    move_pointer $((x1 + 1)) "$y1"
    move_pointer "$x1" "$y1"
    sleep 0.05
  done
  xdotool mouseup "$button"
}

# keyboard_grabbed / pointer_grabbed: some client holds an active grab of it (a pop-up menu that
# takes the keys, a window manager's move).
keyboard_grabbed() { "$PY" "$ZENTRAP_SOURCE_DIR/tests/tools/input_grab.py" keyboard; }
pointer_grabbed() { "$PY" "$ZENTRAP_SOURCE_DIR/tests/tools/input_grab.py" pointer; }
# await_menu WID WHAT: the pop-up menu WID is shown and takes the keyboard.
await_menu() {
  wait_for 10 "$2 to show" window_mapped "$1"
  wait_for 10 "$2 to take the keyboard" keyboard_grabbed
}
