#!/usr/bin/env bash
# The tray icon, minimising to it and the exit question on the real program: the icon docks when a
# tray appears and again after the window manager restarts; the right button's release opens the
# tray menu; a window-manager minimise takes the Remote Control off the taskbar and hides the
# Capture Frame; a capture meanwhile takes the whole screen without the Remote Control; a
# double-click restores; minimised to the tray when the tray goes away, the windows come back and
# stay normal under the next window manager; closing with an unsaved capture asks (also from the
# tray while minimised, above other always-on-top windows), and a ticked box stops the asking for
# good; SIGTERM while the question is open ends the program with its settings saved.
source "$(dirname "$0")/lib/e2e.bash"

# Our icon embedded in a tray: a small window of ours named "Zentrap", carrying _XEMBED_INFO, that
# the tray has reparented into one of its own windows and mapped. Prints "ID X Y" (its centre).
cat >"$work/tray.py" <<'PYEOF'
import re, subprocess
tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
parents = []
for line in tree.splitlines():
    m = re.match(r'(\s*)(0x[0-9a-f]+) (.*?)\s+(\d+)x(\d+)[+-]-?\d+[+-]-?\d+\s+\+(-?\d+)\+(-?\d+)', line)
    if not m:
        continue
    depth = len(m.group(1))
    parents = [p for p in parents if p[0] < depth]
    parent = parents[-1][1] if parents else None
    parents.append((depth, m.group(2)))
    w, h, x, y = (int(m.group(i)) for i in (4, 5, 6, 7))
    if m.group(3) != '"Zentrap": ("zentrap" "Zentrap")' or parent is None or depth <= 5 or w > 64 or h > 64:
        continue
    info = subprocess.run(["xprop", "-id", m.group(2), "_XEMBED_INFO"], capture_output=True, text=True).stdout
    state = subprocess.run(["xwininfo", "-id", m.group(2)], capture_output=True, text=True).stdout
    if "_XEMBED_INFO(" in info and "IsViewable" in state:
        print(m.group(2), x + w // 2, y + h // 2)
        break
PYEOF
tray_icon() { "$PY" "$work/tray.py"; }
# Asks the window manager to close window $1 as its close button would (_NET_CLOSE_WINDOW, which
# it passes on as WM_DELETE_WINDOW).
cat >"$work/close.py" <<'PYEOF'
import ctypes, ctypes.util, sys
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]
class XEvent(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]
x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(XEvent)]
x11.XFlush.argtypes = [ctypes.c_void_p]
display = x11.XOpenDisplay(None)
event = XEvent()
event.xclient.type = 33
event.xclient.window = int(sys.argv[1])
event.xclient.message_type = x11.XInternAtom(display, b"_NET_CLOSE_WINDOW", 0)
event.xclient.format = 32
event.xclient.data[1] = 2
# SubstructureRedirectMask | SubstructureNotifyMask
x11.XSendEvent(display, x11.XDefaultRootWindow(display), 0, (1 << 20) | (1 << 19), ctypes.byref(event))
x11.XFlush(display)
PYEOF
wm_close() { "$PY" "$work/close.py" "$1"; }
wait_docked() {
  read -r icon_wid icon_x icon_y <<<"$(poll_output 10 tray_icon)" || fail "$1"
}
# The window manager of this test desktop (the one sharing our runtime folder), and a new one.
wm_pid() {
  local p
  for p in $(pgrep -x icewm); do
    { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qxF "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" && echo "$p"
  done
}
no_wm() { [ -z "$(wm_pid)" ]; }
stop_wm() {
  local p
  for p in $(wm_pid); do kill "$p"; done
  wait_for 5 "the window manager to stop" no_wm
}
start_wm() {
  icewm >>"$work/icewm.log" 2>&1 &
  started "$!"
}
# The visible pop-up menu of ours (an override-redirect window), if one is open.
open_menu() {
  local w
  for w in $(program_windows); do
    override_redirect "$w" && echo "$w" && return 0
  done
  return 0
}
menu_shown() { [ -n "$(open_menu)" ]; }
no_menu_shown() { [ -z "$(open_menu)" ]; }
frame_visible() { xdotool search --onlyvisible --name '^Zentrap Capture Frame$' >/dev/null 2>&1; }
# Whether the Remote Control is in the window manager's client list without "skip taskbar".
on_taskbar() {
  local w
  for w in $(xprop -root _NET_CLIENT_LIST | grep -o '0x[0-9a-f]*'); do
    [ "$(printf '%d' "$w")" = "$remote_wid" ] || continue
    xprop -id "$w" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || return 0
  done
  return 1
}
# Opens the tray menu with the right button; sets menu.
right_click_icon() {
  move_pointer "$icon_x" "$icon_y" click 3
  menu=$(poll_output 10 open_menu) || fail "no tray menu from the right button"
  await_menu "$menu" "the tray menu"
}

# --- A tray that is missing at start, appears, and goes away and comes back ------------------
write_user_values '"TrayMinimize"=dword:00000001\n"FCursor"=dword:00000000\n"HideRemote"=dword:00000000'
stop_wm
start_zentrap
[ -z "$(tray_icon)" ] || fail "an icon docked without a tray"
[ "$(grep -c 'no notification area' "$work/zentrap.log")" = 1 ] || fail "the missing tray was not reported once"
start_wm
wait_docked "the icon did not dock when the tray appeared"
stop_wm
start_wm
wait_docked "the icon did not dock again after the window manager restarted"
kill -0 "$zentrap_pid" || fail "zentrap ended when the tray went away"
[ "$(grep -c 'no notification area' "$work/zentrap.log")" = 1 ] || fail "the missing tray was reported again"
poll 5 on_taskbar || fail "the window manager did not take the Remote Control back"
frame_visible || fail "the Capture Frame is not shown"
echo "icon $icon_wid docked at $icon_x,$icon_y"

# --- The menu opens on the release of the right button ---------------------------------------
move_pointer "$icon_x" "$icon_y" mousedown 3
# No menu may open on the press, and there is no event to wait for: give one time to appear.
sleep 0.4
[ -z "$(open_menu)" ] || fail "the tray menu opened on the press"
xdotool mouseup 3
menu=$(poll_output 10 open_menu) || fail "the right button's release opened no menu"
await_menu "$menu" "the tray menu"
grab_window "$menu" "$work/menu-minimize.png"
xdotool key Escape
wait_for 5 "the tray menu to close" no_menu_shown

# --- Minimised by the window manager: off the taskbar, no frame, "Restore" in the menu --------
xdotool windowminimize "$remote_wid"
off_taskbar() { ! on_taskbar; }
poll 5 off_taskbar || fail "the minimised Remote Control is still on the taskbar"
frame_visible && fail "the Capture Frame stayed visible while minimised"
right_click_icon
grab_window "$menu" "$work/menu-restore.png"
"$PY" - "$work/menu-minimize.png" "$work/menu-restore.png" <<'PYEOF' || fail "the menu's first item did not change while minimised"
import sys
from PIL import Image
a, b = (Image.open(p).convert("RGB") for p in sys.argv[1:])
# The default item (the first row of the menu) reads "Minimize" before and "Restore" now.
w, h = min(a.size[0], b.size[0]), 22
sys.exit(0 if a.crop((0, 0, w, h)).tobytes() != b.crop((0, 0, w, h)).tobytes() else 1)
PYEOF

# --- A capture from the tray menu while minimised: the whole screen, no Remote Control --------
xdotool key Escape
wait_for 5 "the tray menu to close" no_menu_shown
start_pattern 760,320,400,440
right_click_icon
# The first Down marks "Restore", the second "Capture".
xdotool key Down Down Return
read_clipboard_images "$work/minimised"
check screen "$work/minimised.png" 760 320 400 440 || fail "the full-screen capture shows more than the pattern"
on_taskbar && fail "the capture brought the Remote Control back"
echo "full-screen capture while minimised ok"

# --- Exit from the tray menu while minimised asks above another always-on-top window ----------
no_exit_question() { [ -z "$(exit_question)" ]; }
pattern_wid=$(xdotool search --onlyvisible --name '^zentrap-test-pattern$' | head -n1)
right_click_icon
# Up from no marked item marks the last one, "Exit".
xdotool key Up Return
question=$(poll_output 10 exit_question) || fail "Exit from the tray menu while minimised did not ask"
poll 10 stacked_above "$question" "$pattern_wid" ||
  fail "the exit question opened under the always-on-top pattern window; stacking: $(stacking | tr '\n' ' ')"
wait_active "$question" || fail "the question from the tray does not have the keyboard; $(active_window) has"
# Esc answers "&No": the program stays, still minimised.
xdotool key --clearmodifiers Escape
wait_for 10 "the exit question to close" no_exit_question
kill -0 "$zentrap_pid" || fail "zentrap ended after No"
on_taskbar && fail "answering the question brought the Remote Control back"

# --- A double-click restores the Remote Control and the frame ----------------------------------
move_pointer "$icon_x" "$icon_y" click --repeat 2 --delay 80 1
poll 5 on_taskbar || fail "the double-click did not restore the Remote Control"
xprop -id "$remote_wid" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the restored Remote Control is not on top"
poll 5 frame_visible || fail "the Capture Frame did not come back"
# The restore has ended once the window manager shows the Remote Control in its normal state and
# has given it the keyboard; a close request before then can meet it still minimised, with the
# question hidden along with it.
poll 10 wm_state_is "$remote_wid" Normal || true
poll 10 window_active "$remote_wid" || true

# --- Minimised to the tray when the tray goes away: the windows come back, the icon later -------
xdotool windowminimize "$remote_wid"
poll 5 off_taskbar || fail "the second minimise left the Remote Control on the taskbar"
frame_visible && fail "the Capture Frame stayed visible while minimised again"
# The tray lives in the window manager here: ending it ends the tray.
stop_wm
poll 5 window_mapped "$remote_wid" || fail "the Remote Control stayed hidden when the tray went away"
poll 5 frame_visible || fail "the Capture Frame stayed hidden when the tray went away"
start_wm
wait_docked "the icon did not dock when the tray came back"
poll 5 on_taskbar || fail "the window manager did not take the restored Remote Control back"
wm_state_is "$remote_wid" Normal || fail "the Remote Control is $(wm_state "$remote_wid") after the tray came back"
poll 10 window_active "$remote_wid" || true
echo "restored when the tray went away ok"

# --- Closing with the capture unsaved asks; "No" with the box ticked stops the asking ----------
# question_window: prints the exit question once it is shown, 292 x 150 as drawn (scaled with the
# desktop's DPI), wider where the desktop's font needs it.
question_window() {
  local w
  w=$(poll_output 10 exit_question) || return 1
  window_geometry "$w"
  [ "$HEIGHT" = "$(scaled 150)" ] && [ "$WIDTH" -ge "$(scaled 292)" ] || fail "the exit question is ${WIDTH}x$HEIGHT"
  echo "$w"
}
# ask_and_answer HOW TICK: a close request made by HOW (wm: the window manager's close; frame: Alt+F4
# on the Capture Frame; button: the close button) must ask; TICK 1 ticks the box; Esc answers "&No".
ask_and_answer() {
  local question
  case $1 in
    wm) wm_close "$remote_wid" ;;
    frame)
      activate "$(wait_window 'Zentrap Capture Frame')"
      xdotool key --clearmodifiers alt+F4
      ;;
    button) click_remote 70 16 ;;
  esac
  question=$(question_window) ||
    fail "a close request ($1) with an unsaved capture did not ask; $(describe_program_windows | tr '\n' ';')"
  [ "$(xdotool getwindowname "$question")" = Zentrap ] || fail "the question is titled $(xdotool getwindowname "$question")"
  frame_visible && fail "the Capture Frame stayed visible during the question"
  wait_active "$question" || fail "the question ($1) does not have the keyboard; $(active_window) has"
  if [ "$2" = 1 ]; then
    window_geometry "$question"
    move_pointer $((X + $(scaled 26))) $((Y + $(scaled 84))) click 1
  fi
  xdotool key Escape
  poll 5 frame_visible || true
  kill -0 "$zentrap_pid" || fail "answering No ($1) ended the program"
  frame_visible || fail "the Capture Frame did not come back after No ($1)"
  if xdotool search --onlyvisible --name '^Zentrap$' 2>/dev/null | grep -qx "$question"; then
    fail "the question is still open after No ($1)"
  fi
}
ask_and_answer wm 0
ask_and_answer frame 0
ask_and_answer button 1
close_zentrap
grep -qxF '"ExitConfirmation"=dword:00000000' "$user_hive" || fail "ExitConfirmation was not saved as 0"
echo "exit question ok"

# --- SIGTERM while the question is open ---------------------------------------------------------
write_user_values '"FCursor"=dword:00000000\n"HideRemote"=dword:00000000'
start_zentrap
# The last run's capture is still kept on the clipboard: only a new image shows the capture done.
clear_clipboard
focus_remote
xdotool key --clearmodifiers ctrl+c
read_clipboard_images "$work/unsaved"
click_remote 70 16
question_window >/dev/null || fail "the second run did not ask"
rm -f "$user_hive"
kill -TERM "$zentrap_pid"
poll 10 process_ended "$zentrap_pid" ||
  fail "SIGTERM did not end the program while the question was open"
[ -f "$user_hive" ] || fail "the settings were not saved at SIGTERM"
grep -qxF '"ExitConfirmation"=dword:00000001' "$user_hive" || fail "an unanswered question changed ExitConfirmation"
echo "tray, minimise and exit question ok"
