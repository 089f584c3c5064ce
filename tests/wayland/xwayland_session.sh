#!/usr/bin/env bash
# Zentrap as a user of a Wayland desktop meets it: sway with XWayland, a picture in a native Wayland
# window, the session's QT_QPA_PLATFORM=wayland. Zentrap's windows come up on XWayland all the same.
# Without a compositor to ask (no WAYLAND_DISPLAY, so no screencopy), zentrap-cli grab over the
# picture exits 1 and says why instead of writing a black picture; "zentrap --capture" run by
# another client while the native window has the keyboard reaches the running Zentrap, which
# captures through the desktop's Screenshot portal exactly the pixels that the compositor shows
# under the hole, or, without a session bus, says why and hands over nothing.
set -euo pipefail
# GNOME's mutter, the rig's other compositor, places native windows itself and has no Screenshot
# portal without gnome-shell: this route cannot be shown there (compositor_placement.sh runs there).
if [ "${RIG_COMPOSITOR:-sway}" != sway ]; then
  echo "SKIP: the portal route needs sway's portal; the $RIG_COMPOSITOR rig has no Screenshot portal"
  exit 77
fi
# shellcheck source=tests/wayland/lib/session.bash
source "$(dirname "$0")/lib/session.bash"

start_session
show_native "$dir/native.png" 400 300 100 100

status=0
session env -u WAYLAND_DISPLAY "$dir/zentrap/zentrap-cli" grab --rect 150,150,100,100 "$dir/zentrap/cli.png" \
  2>"$dir/cli.err" || status=$?
[ "$status" = 1 ] || fail "zentrap-cli grab over the native window: status $status"
grep -q 'Wayland session' "$dir/cli.err" || fail "zentrap-cli grab does not say why: $(cat "$dir/cli.err")"
[ ! -e "$dir/zentrap/cli.png" ] || fail "zentrap-cli grab wrote a picture it could not take"

# The reference: what the compositor shows before Zentrap runs.
rig grab "$dir" 0,0,1920,1080 "$dir/reference.png"
settings_without_cursor

# Without a session bus there is no desktop to ask: said once, nothing black on the clipboard.
start_zentrap nobus -u DBUS_SESSION_BUS_ADDRESS -u WAYLAND_DISPLAY
capture_from_outside
within 30 visible Zentrap || fail "no message after a capture that XWayland cannot give"
if clipboard_image; then fail "a picture went to the clipboard from a screen that gave none"; fi
kill "$zentrap_pid"
within 30 sh -c "[ \"\$(pgrep -c -f '^$dir/zentrap/zentrap\$')\" = 0 ]" || fail "Zentrap did not end on SIGTERM"

# With the session's Screenshot portal: the hole's pixels are exactly the compositor's there.
start_zentrap zentrap -u WAYLAND_DISPLAY
capture_from_outside
# check_capture NAME: the clipboard's capture is the reference's pixels under the hole, where the X
# server has the Capture Frame.
check_capture() {
  within 30 clipboard_image || fail "no capture on the clipboard ($1)"
  clipboard_png "$dir/$1.png"
  read -r fx fy fw fh <<<"$(window_geometry 'Zentrap Capture Frame')"
  "$PY" - "$dir/$1.png" "$dir/reference.png" "$fx" "$fy" "$fw" "$fh" <<'PY' || fail "$1: not the compositor's pixels under the hole"
import sys
from PIL import Image, ImageChops
capture = Image.open(sys.argv[1]).convert("RGB")
fx, fy, fw, fh = map(int, sys.argv[3:7])
band = (fw - capture.width) // 2
assert band > 0 and fh - capture.height == 2 * band, f"{capture.size} in a {fw}x{fh} frame"
reference = Image.open(sys.argv[2]).convert("RGB").crop((fx + band, fy + band, fx + band + capture.width, fy + band + capture.height))
box = ImageChops.difference(capture, reference).getbbox()
assert box is None, f"differs from the reference grab in {box} (hole at {fx + band},{fy + band})"
print(f"capture {capture.width}x{capture.height} at {fx + band},{fy + band} equals the reference grab")
PY
}
check_capture capture

# The frame dragged by its band, as a user does: sway puts it back, and the capture follows where
# it is, not where the drag would have put it.
read -r fx fy fw fh <<<"$(window_geometry 'Zentrap Capture Frame')"
rig input "$dir" "move $((fx + fw / 2 - 1)) $((fy + 6))" "move $((fx + fw / 2)) $((fy + 6))" "down 1"
for i in 1 2 3 4 5 6 7 8 9 10; do rig input "$dir" "move $((fx + fw / 2 - 10 * i)) $((fy + 6 - 6 * i))"; done
rig input "$dir" "up 1"
session sh -c 'echo dragged | xclip -selection clipboard'
within 10 no_clipboard_image || fail "the clipboard kept the capture"
capture_from_outside
check_capture dragged
ok=1
echo "wayland session ok: windows on XWayland, grab refused with its reason, --capture through the portal exact"
