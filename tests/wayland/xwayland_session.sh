#!/usr/bin/env bash
# Zentrap as a user of a Wayland desktop meets it: sway with XWayland, a picture in a native Wayland
# window, the session's QT_QPA_PLATFORM=wayland. Zentrap's windows come up on XWayland all the same;
# zentrap-cli grab over the picture exits 1 and says why instead of writing a black picture;
# "zentrap --capture" run by another client while the native window has the keyboard reaches the
# running Zentrap, which captures through the desktop's Screenshot portal exactly the pixels that
# the compositor shows under the hole, or, without a session bus, says why and hands over nothing.
set -euo pipefail
: "${ZENTRAP_BIN:?}" "${ZENTRAP_SOURCE_DIR:?}"
rig_script=${WAYLAND_RIG:-$ZENTRAP_SOURCE_DIR/../shared/tools/wayland-rig.sh}
if [ ! -f "$rig_script" ]; then
  echo "SKIP: no Wayland rig at $rig_script (set WAYLAND_RIG)"
  exit 77
fi
rig() { bash "$rig_script" "$@"; }
"$ZENTRAP_SOURCE_DIR/scripts/install-wayland-deps"
PY=/usr/bin/python3

dir=$(mktemp -d /tmp/zentrap-wayland.XXXXXX)
ok=0
cleanup() {
  rig stop "$dir" >/dev/null 2>&1 || true
  if [ "$ok" = 1 ]; then rm -rf "$dir"; else echo "kept: $dir (logs/)"; fi
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  tail -n 20 "$dir/logs/zentrap.log" >&2 2>/dev/null || true
  exit 1
}
# within SECONDS CMD...: polls CMD every 0.2 s until it succeeds or the time is up.
within() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}
session() { rig run "$dir" "$@"; }

rig start "$dir" >/dev/null
# Readable by the session's user, which the rig runs everything as.
mkdir -p "$dir/zentrap/config/zentrap"
cp "$ZENTRAP_BIN/zentrap" "$ZENTRAP_BIN/zentrap-cli" "$dir/zentrap/"
owner=$(stat -c %U "$dir")
chown -R "$owner:" "$dir/zentrap"

"$PY" -c 'import sys; from PIL import Image; Image.effect_mandelbrot((400, 300), (-2, -1.2, 1, 1.2), 60).convert("RGB").save(sys.argv[1])' "$dir/native.png"
chown "$owner:" "$dir/native.png"
rig show "$dir" native "$dir/native.png" wayland >/dev/null
within 20 grep -qx shown "$dir/logs/native.log" || fail "the native window did not show"
session swaymsg '[app_id="^native$"] floating enable, move absolute position 100 100' >/dev/null

status=0
session "$dir/zentrap/zentrap-cli" grab --rect 150,150,100,100 "$dir/zentrap/cli.png" 2>"$dir/cli.err" || status=$?
[ "$status" = 1 ] || fail "zentrap-cli grab over the native window: status $status"
grep -q 'Wayland session' "$dir/cli.err" || fail "zentrap-cli grab does not say why: $(cat "$dir/cli.err")"
[ ! -e "$dir/zentrap/cli.png" ] || fail "zentrap-cli grab wrote a picture it could not take"

# Zentrap with the session's bus (the Screenshot portal) or without one; $1 names its log.
start_zentrap() {
  local log=$1
  shift
  rig spawn "$dir" "$log" env "$@" QT_QPA_PLATFORM=wayland XDG_CONFIG_HOME="$dir/zentrap/config" \
    ZENTRAP_MACHINE_HIVE=/nonexistent "$dir/zentrap/zentrap" >/dev/null
  within 60 visible "Zentrap Remote Control" || fail "no Remote Control on XWayland"
  zentrap_pid=$(pgrep -f "^$dir/zentrap/zentrap\$")
}
zentrap_count() { pgrep -c -f "^$dir/zentrap/zentrap( |\$)" || true; }
visible() { session xdotool search --onlyvisible --name "^$1\$"; }
clipboard_image() { session xclip -selection clipboard -t TARGETS -o 2>/dev/null | grep -qx image/png; }
no_clipboard_image() { ! clipboard_image; }
# capture_from_outside: the keyboard to the native window, as a user's click gives it, then the
# action from another client, as a desktop's shortcut runs it.
capture_from_outside() {
  rig input "$dir" "move 149 150" "move 150 150" "click 1"
  within 10 focused_native || fail "the native window did not get the keyboard"
  session "$dir/zentrap/zentrap" --capture 2>"$dir/action.err" || fail "zentrap --capture: $(cat "$dir/action.err")"
  [ "$(zentrap_count)" = 1 ] || fail "zentrap --capture started a second instance"
}
focused_native() { session swaymsg -t get_tree | "$PY" -c '
import json, sys
def walk(n):
    return (n.get("focused") and n.get("app_id") == "native") or any(walk(c) for c in n.get("nodes", []) + n.get("floating_nodes", []))
sys.exit(0 if walk(json.load(sys.stdin)) else 1)'; }

# The reference: what the compositor shows before Zentrap runs.
rig grab "$dir" 0,0,1920,1080 "$dir/reference.png"
# The cursor left out: the compositor's grab has none.
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n"FCursor"=dword:00000000\n' \
  >"$dir/zentrap/config/zentrap/user.reg"
chown -R "$owner:" "$dir/zentrap/config"

# Without a session bus there is no desktop to ask: said once, nothing black on the clipboard.
start_zentrap nobus -u DBUS_SESSION_BUS_ADDRESS
capture_from_outside
within 30 visible Zentrap || fail "no message after a capture that XWayland cannot give"
if clipboard_image; then fail "a picture went to the clipboard from a screen that gave none"; fi
kill "$zentrap_pid"
within 30 sh -c "[ \"\$(pgrep -c -f '^$dir/zentrap/zentrap\$')\" = 0 ]" || fail "Zentrap did not end on SIGTERM"

# With the session's Screenshot portal: the hole's pixels are exactly the compositor's there.
start_zentrap zentrap
capture_from_outside
# check_capture NAME: the clipboard's capture is the reference's pixels under the hole, where the X
# server has the Capture Frame.
check_capture() {
  within 30 clipboard_image || fail "no capture on the clipboard ($1)"
  session xclip -selection clipboard -t image/png -o >"$dir/$1.png"
  read -r fx fy fw fh <<<"$(session xwininfo -name 'Zentrap Capture Frame' | awk '/Absolute upper-left X/ {x=$NF}
    /Absolute upper-left Y/ {y=$NF} /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}')"
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
read -r fx fy fw fh <<<"$(session xwininfo -name 'Zentrap Capture Frame' | awk '/Absolute upper-left X/ {x=$NF}
  /Absolute upper-left Y/ {y=$NF} /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}')"
rig input "$dir" "move $((fx + fw / 2 - 1)) $((fy + 6))" "move $((fx + fw / 2)) $((fy + 6))" "down 1"
for i in 1 2 3 4 5 6 7 8 9 10; do rig input "$dir" "move $((fx + fw / 2 - 10 * i)) $((fy + 6 - 6 * i))"; done
rig input "$dir" "up 1"
session sh -c 'echo dragged | xclip -selection clipboard'
within 10 no_clipboard_image || fail "the clipboard kept the capture"
capture_from_outside
check_capture dragged
ok=1
echo "wayland session ok: windows on XWayland, grab refused with its reason, --capture through the portal exact"
