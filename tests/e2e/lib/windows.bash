# Windows on the test desktop as the X server and the window manager see them: finding them,
# their geometry, state, stacking, ownership and focus, and conditions to wait for on them.

# Sets X, Y, WIDTH, HEIGHT of window $1 (screen position of its top-left pixel).
window_geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }

# Whether window $1 is the program's tray icon (a small window named "Zentrap"), which shares its
# name with the program's message boxes.
is_tray_icon() {
  [ "$(xdotool getwindowname "$1" 2>/dev/null)" = Zentrap ] &&
    (eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null)" && [ "${WIDTH:-0}" -le 64 ])
}

# The first visible window named exactly $1 (a pattern), tray icons left out.
visible_window_named() {
  local w
  for w in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
    is_tray_icon "$w" || { echo "$w" && return 0; }
  done
}

# wait_window NAME [SECONDS]: prints the id of the visible window named exactly NAME (a pattern),
# waiting up to SECONDS (20); false when none shows.
wait_window() { poll_output "${2:-20}" visible_window_named "$1"; }

no_window_named() { [ -z "$(visible_window_named "$1")" ]; }
# wait_window_gone NAME WHAT: waits until no visible window is named NAME.
wait_window_gone() { wait_for 20 "$2" no_window_named "$1"; }

window_mapped() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
window_unmapped() { ! window_mapped "$1"; }
# window_at WINDOW X Y: the window's top-left pixel is at X,Y (prints where it is otherwise).
window_at() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  [ "$X,$Y" = "$2,$3" ] || { echo "window $1 is at $X,$Y"; return 1; }
}
# window_placed WINDOW X Y W H: the window has exactly this place and size.
window_placed() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  [ "$X $Y $WIDTH $HEIGHT" = "$2 $3 $4 $5" ] || { echo "window $1 is at $X $Y size $WIDTH $HEIGHT"; return 1; }
}
window_focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($1))" ]; }
active_window() { xdotool getactivewindow 2>/dev/null || true; }
window_active() { [ "$(active_window)" = "$1" ]; }
# wait_active WINDOW: up to 10 s until the window manager reports WINDOW active; false otherwise.
wait_active() { poll 10 window_active "$1"; }
# activated WINDOW: WINDOW is active; when not, asks the window manager again (a window that shows
# meanwhile, or one that hands the focus back to its owner, may take the activation).
activated() {
  window_active "$1" && return 0
  xdotool windowactivate "$1" >/dev/null 2>&1 || true
  return 1
}
# activate WINDOW: asks the window manager to activate it until it is.
activate() {
  poll 10 activated "$1" ||
    fail "window $1 ($(xdotool getwindowname "$1" 2>/dev/null)) did not become active; $(active_window) is"
}
# window_property_has WINDOW PROPERTY TEXT: the property's value (as xprop prints it) contains TEXT.
window_property_has() { xprop -id "$1" "$2" 2>/dev/null | grep -q -- "$3"; }
# The ICCCM state of window $1: Normal, Iconic or Withdrawn.
wm_state() { xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/.*window state: //p'; }
wm_state_is() { [ "$(wm_state "$1")" = "$2" ]; }
override_redirect() { xwininfo -id "$1" 2>/dev/null | grep -q 'Override Redirect State: yes'; }

# The managed windows from the bottom of the stack to the top, as decimal ids.
stacking() {
  local ids id
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

# The desktop's pixels per inch as the programs take them (QT_FONT_DPI, else the Xft.dpi resource).
desktop_dpi() {
  local dpi=${QT_FONT_DPI:-$(xrdb -query 2>/dev/null | sed -n 's/^Xft\.dpi:[[:space:]]*//p' | head -n1)}
  echo "${dpi:-96}"
}
# scaled N: N pixels of a layout drawn for 96 pixels per inch, at the desktop's DPI (rounded).
scaled() { echo $((($1 * $(desktop_dpi) + 48) / 96)); }
