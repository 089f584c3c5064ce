#!/usr/bin/env bash
# Zentrap's hotkeys through the desktop's GlobalShortcuts portal, where the desktop offers it: a
# stand-in portal on the session bus (tests/wayland/lib/shortcuts_portal.py; sway's own portals
# have no GlobalShortcuts) gets the five shortcuts with their captions and the stored keys as the
# preferred triggers, and its activation of "capture" while a native Wayland window has the
# keyboard takes a capture of exactly what the compositor shows under the hole.
set -euo pipefail
# The capture it takes needs sway's screencopy: the mutter rig has no screen service for XWayland.
if [ "${RIG_COMPOSITOR:-sway}" != sway ]; then
  echo "SKIP: the activation's capture needs sway's screencopy; the $RIG_COMPOSITOR rig has none"
  exit 77
fi
# shellcheck source=tests/wayland/lib/session.bash
source "$(dirname "$0")/lib/session.bash"

start_session
show_native "$dir/native.png" 900 600 200 150

# A bus of its own, where the stand-in is the desktop portal.
bus="unix:path=$dir/portal-bus"
rig spawn "$dir" portal-bus dbus-daemon --session --nofork --nopidfile --address="$bus" >/dev/null
within 10 test -S "$dir/portal-bus" || fail "the portal's bus did not start"
cp "$(dirname "$0")/lib/shortcuts_portal.py" "$dir/shortcuts_portal.py"
chown "$owner:" "$dir/shortcuts_portal.py"
rig spawn "$dir" portal env DBUS_SESSION_BUS_ADDRESS="$bus" "$PY" "$dir/shortcuts_portal.py" "$dir/bound.jsonl" >/dev/null
within 10 grep -qx ready "$dir/logs/portal.log" || fail "the stand-in portal did not start"

# Capture stored as Ctrl+Alt+K, the other four at their defaults; no cursor in captures; the Remote
# Control away from the hole, at 1700,700.
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n%s\n' '"FCursor"=dword:00000000
"Left"=dword:000006a4
"Top"=dword:000002bc
"GlobalHotkeys"=dword:00000001
"FHKCapture"=dword:0000c04b' >"$dir/zentrap/config/zentrap/user.reg"
chown -R "$owner:" "$dir/zentrap/config"
start_zentrap zentrap DBUS_SESSION_BUS_ADDRESS="$bus"

bound_as_stored() {
  "$PY" - "$dir/bound.jsonl" <<'PY'
import json, sys
lines = open(sys.argv[1], encoding="utf-8").read().splitlines()
bound = json.loads(lines[-1])
want = {
    "capture": {"description": "Capture", "preferred_trigger": "CTRL+ALT+k"},
    "full-screen": {"description": "Full screen", "preferred_trigger": "CTRL+SHIFT+f"},
    "edit": {"description": "Edit...", "preferred_trigger": "CTRL+SHIFT+e"},
    "save": {"description": "Save as...", "preferred_trigger": "CTRL+SHIFT+s"},
    "print": {"description": "Print...", "preferred_trigger": "CTRL+SHIFT+p"},
}
assert bound == want, f"bound {bound}"
PY
}
within 30 test -s "$dir/bound.jsonl" || fail "Zentrap bound no shortcuts with the portal"
bound_as_stored || fail "the shortcuts bound are not the five hotkeys as stored: $(tail -n1 "$dir/bound.jsonl")"

# The desktop activates "capture" while the native window has the keyboard.
rig input "$dir" "move 399 300" "move 400 300" "click 1"
within 10 focused_native || fail "the native window did not get the keyboard"
press() {
  session dbus-send --bus="$bus" --print-reply --dest=org.freedesktop.portal.Desktop /org/freedesktop/portal/desktop \
    org.zentrap.test.ShortcutsPortal.Press "string:$1" | grep -q 'boolean true'
}
press capture || fail "the stand-in has no session with the capture shortcut"
within 30 clipboard_image || fail "the portal's activation took no capture"
clipboard_png "$dir/capture.png"
read -r fx fy fw fh <<<"$(window_geometry 'Zentrap Capture Frame')"
band=$(((fw - $("$PY" -c 'import sys; from PIL import Image; print(Image.open(sys.argv[1]).width)' "$dir/capture.png")) / 2))
rig grab "$dir" "$((fx + band)),$((fy + band)),$((fw - 2 * band)),$((fh - 2 * band))" "$dir/hole.png"
"$PY" -c 'import sys; from PIL import Image, ImageChops
a, b = (Image.open(p).convert("RGB") for p in sys.argv[1:3])
sys.exit(a.size != b.size or ImageChops.difference(a, b).getbbox() is not None)' "$dir/capture.png" "$dir/hole.png" ||
  fail "the capture is not what the compositor shows under the hole"
ok=1
echo "portal shortcuts ok: five shortcuts bound as stored, the portal's activation captures"
