#!/usr/bin/env bash
# The editor, Save As and the Print Preview keep their normal place and size when they were
# maximized: maximize, restore and close, or maximize and close, and each one reopens where it was,
# at its size, not maximized. Maximized and restored with the window manager's own keys.
if [ -z "${PRINT_SERVER_DIR:-}" ]; then
  exec "$(dirname "$0")/../../scripts/with-print-server" bash "$0" "$@"
fi
source "$(dirname "$0")/lib/e2e.bash"
run_program_copy
prepare_pattern_capture
maximized() { window_property_has "$1" _NET_WM_STATE _NET_WM_STATE_MAXIMIZED_VERT; }
not_maximized() { ! maximized "$1"; }
stored() { sed -n "/^\[$1\]/,/^\[/p" "$ini" | grep -E '^(Left|Top|Width|Height)=' | sort | tr '\n' ' '; }

# round SECTION KEYS TITLE RESTORE: opens the window with KEYS on a placement stored at 300,200
# (800 x 600), maximizes it, restores it when RESTORE is 1, closes it; the stored placement is the
# one it had, and it reopens there, not maximized.
round() {
  local section=$1 keys=$2 title=$3 restore=$4 wid X Y WIDTH HEIGHT SCREEN WINDOW
  printf '[%s]\nLeft=300\nTop=200\nWidth=800\nHeight=600\n' "$section" >"$ini"
  focus_remote
  xdotool key --clearmodifiers "$keys"
  wid=$(wait_window "$title") || fail "$title did not open"
  wait_active "$wid" || fail "$title did not take the keyboard"
  window_geometry "$wid"
  local opened="$X,$Y,$WIDTH,$HEIGHT"
  xdotool key --clearmodifiers alt+F10
  wait_for 10 "$title to be maximized" maximized "$wid"
  if [ "$restore" = 1 ]; then
    xdotool key --clearmodifiers alt+F5
    wait_for 10 "$title to be restored" not_maximized "$wid"
    wait_for 10 "$title back at its place" window_placed "$wid" ${opened//,/ }
  fi
  xdotool key --clearmodifiers Escape
  wait_window_gone "$title" "Escape to close $title"
  [ "$(stored "$section")" = "Height=600 Left=300 Top=200 Width=800 " ] ||
    fail "$title (restore $restore) stored $(stored "$section")"
  focus_remote
  xdotool key --clearmodifiers "$keys"
  wid=$(wait_window "$title") || fail "$title did not open again"
  wait_active "$wid" || fail "$title did not take the keyboard"
  not_maximized "$wid" || fail "$title reopened maximized"
  window_geometry "$wid"
  [ "$X,$Y,$WIDTH,$HEIGHT" = "$opened" ] || fail "$title reopened at $X,$Y ${WIDTH}x$HEIGHT, not $opened"
  xdotool key --clearmodifiers Escape
  wait_window_gone "$title" "Escape to close $title"
}

start_zentrap
capture_pattern "$work/capture"
for restore in 1 0; do
  round Edit ctrl+e "Image Editor" "$restore"
  round Save ctrl+s "Zentrap Save As" "$restore"
  round Print ctrl+p "Zentrap Print Preview" "$restore"
done
close_zentrap
echo "maximize ok"
