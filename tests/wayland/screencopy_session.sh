#!/usr/bin/env bash
# Zentrap in sway, whose compositor offers wlr-screencopy: captures come straight from the
# compositor. A picture in a native Wayland window; zentrap-cli grab over it, and the hole of the
# Capture Frame placed over it (the Remote Control over the hole too, hidden for the capture), give
# exactly the picture's pixels, the same as the compositor's own grab (grim) there; a second,
# rotated output beside the first is placed where the layout has it; a compositor that stops
# answering gives a failure with its reason, not a hang. Silent: the session's Screenshot portal is
# never asked.
set -euo pipefail
# shellcheck source=tests/wayland/lib/session.bash
source "$(dirname "$0")/lib/session.bash"

start_session
# Every call to the Screenshot portal on the session's bus is written down.
rig spawn "$dir" portalwatch dbus-monitor --session "interface='org.freedesktop.portal.Screenshot'" >/dev/null
within 10 grep -q NameAcquired "$dir/logs/portalwatch.log" || fail "the bus monitor did not start"

# same_pixels CAPTURE REFERENCE [X Y]: CAPTURE equals REFERENCE, or REFERENCE's part at X,Y.
same_pixels() {
  "$PY" - "$@" <<'PY'
import sys
from PIL import Image, ImageChops
capture = Image.open(sys.argv[1]).convert("RGB")
reference = Image.open(sys.argv[2]).convert("RGB")
if len(sys.argv) > 3:
    x, y = int(sys.argv[3]), int(sys.argv[4])
    reference = reference.crop((x, y, x + capture.width, y + capture.height))
assert capture.size == reference.size, f"{capture.size} against {reference.size}"
box = ImageChops.difference(capture, reference).getbbox()
assert box is None, f"{sys.argv[1]} differs from {sys.argv[2]} in {box}"
PY
}
# cli_matches_grim X,Y,W,H NAME: zentrap-cli grab of the rectangle is the compositor's grab of it.
cli_matches_grim() {
  session "$dir/zentrap/zentrap-cli" grab --rect "$1" "$dir/zentrap/$2.png" 2>"$dir/cli.err" ||
    fail "zentrap-cli grab --rect $1: $(cat "$dir/cli.err")"
  rig grab "$dir" "$1" "$dir/$2-grim.png"
  same_pixels "$dir/zentrap/$2.png" "$dir/$2-grim.png"
}

# shows_picture X Y W H PX PY: the compositor shows the layout's rectangle as the picture's pixels,
# the picture's top-left corner at PX,PY (a moved window draws itself anew on an output it enters).
shows_picture() {
  rig grab "$dir" "$1,$2,$3,$4" "$dir/shown.png" && same_pixels "$dir/shown.png" "$dir/native.png" $(($1 - $5)) $(($2 - $6))
}

show_native "$dir/native.png" 1100 700 300 200
# Part of the picture, the background and the pointer's corner of the screen around it.
cli_matches_grim 250,150,1000,800 cli || fail "zentrap-cli grab is not the compositor's picture"
same_pixels "$dir/zentrap/cli.png" "$dir/native.png" 50 50 2>/dev/null &&
  fail "the test picture does not differ from its surroundings"
session "$dir/zentrap/zentrap-cli" grab --rect 310,220,500,400 "$dir/zentrap/inside.png" >/dev/null
same_pixels "$dir/zentrap/inside.png" "$dir/native.png" 10 20 || fail "zentrap-cli grab is not the picture's pixels"

# The Capture Frame's hole over the picture (larger than the hole, and below Zentrap's windows),
# the Remote Control over part of the hole: it is hidden for the capture.
move_remote() { session swaymsg "[title=\"^Zentrap Remote Control\$\"] floating enable, move absolute position $1 $2" >/dev/null; }
settings_without_cursor
start_zentrap zentrap
read -r fx fy fw fh <<<"$(window_geometry 'Zentrap Capture Frame')"
picture_x=$((fx - 40)) picture_y=$((fy - 40))
[ $((fw + 80)) -le 1100 ] && [ $((fh + 80)) -le 700 ] || fail "a ${fw}x${fh} frame is larger than the picture"
session swaymsg "[app_id=\"^native\$\"] move absolute position $picture_x $picture_y" >/dev/null
within 10 shows_picture $((fx + fw)) "$picture_y" $((picture_x + 1100 - fx - fw)) 700 "$picture_x" "$picture_y" ||
  fail "the picture is not shown after its move"
move_remote $((fx + 30)) $((fy + 30))
within 10 sh -c "bash '$rig_script' run '$dir' xwininfo -name 'Zentrap Remote Control' | grep -q 'Absolute upper-left X: *$((fx + 30))\$'" ||
  fail "the Remote Control did not move over the hole"
# The pointer away from the hole (the headless compositor draws it into every picture).
rig input "$dir" "move 1900 1070"
session "$dir/zentrap/zentrap" --capture 2>"$dir/action.err" || fail "zentrap --capture: $(cat "$dir/action.err")"
within 30 clipboard_image || fail "no capture on the clipboard"
clipboard_png "$dir/capture.png"
band=$("$PY" -c 'import sys; from PIL import Image; print((int(sys.argv[2]) - Image.open(sys.argv[1]).width) // 2)' "$dir/capture.png" "$fw")
read -r hw hh <<<"$("$PY" -c 'import sys; from PIL import Image; print(*Image.open(sys.argv[1]).size)' "$dir/capture.png")"
[ "$band" -gt 0 ] && [ $((fh - hh)) = $((2 * band)) ] || fail "a ${hw}x${hh} capture in a ${fw}x${fh} frame"
same_pixels "$dir/capture.png" "$dir/native.png" $((fx + band - picture_x)) $((fy + band - picture_y)) ||
  fail "the capture through the hole is not the picture's pixels"
within 10 visible 'Zentrap Remote Control' || fail "the Remote Control did not come back after the capture"
# The compositor's own grab of the hole, the Remote Control moved off it.
move_remote $((fx + fw + 20)) "$fy"
within 10 sh -c "bash '$rig_script' run '$dir' xwininfo -name 'Zentrap Remote Control' | grep -q 'Absolute upper-left X: *$((fx + fw + 20))\$'" ||
  fail "the Remote Control did not move off the frame"
rig grab "$dir" "$((fx + band)),$((fy + band)),$hw,$hh" "$dir/hole-grim.png"
same_pixels "$dir/capture.png" "$dir/hole-grim.png" || fail "the capture through the hole is not the compositor's picture"

# A second output, smaller and lower than the first, the picture across both: the layout's offsets
# hold, and so does each of the output's transforms (turned, flipped; width 600 or 800).
session swaymsg create_output >/dev/null
session swaymsg output HEADLESS-2 mode 800x600 position 1920 200 >/dev/null
session swaymsg '[app_id="^native$"] move absolute position 1700 300' >/dev/null
for transform in 90 180 270 flipped flipped-90 flipped-180 flipped-270; do
  session swaymsg output HEADLESS-2 transform "$transform" >/dev/null
  case $transform in *90 | *270) width=2520 ;; *) width=2720 ;; esac
  within 10 sh -c "bash '$rig_script' run '$dir' xdpyinfo | grep -q 'dimensions: *${width}x1080'" ||
    fail "XWayland did not take the second output turned $transform"
  # Retried: the picture's window may still be drawing itself for the changed output.
  within 10 cli_matches_grim "0,0,$width,1080" "output-$transform" ||
    fail "zentrap-cli grab of two outputs, the second turned $transform, is not the compositor's picture"
done

# A compositor that stops answering: zentrap-cli gives up with the reason and writes nothing.
sway_pid=$(pgrep -f -x "sway -c $dir/sway.conf")
kill -STOP "$sway_pid"
status=0
timeout 60 bash "$rig_script" run "$dir" "$dir/zentrap/zentrap-cli" grab --rect 0,0,10,10 "$dir/zentrap/stopped.png" \
  2>"$dir/stopped.err" || status=$?
kill -CONT "$sway_pid"
[ "$status" = 1 ] || fail "zentrap-cli grab from a stopped compositor: status $status"
grep -q 'did not answer' "$dir/stopped.err" || fail "zentrap-cli grab from a stopped compositor: $(cat "$dir/stopped.err")"
[ ! -e "$dir/zentrap/stopped.png" ] || fail "zentrap-cli grab wrote a picture from a stopped compositor"

# The monitor sees a call to the portal when one is made; none was made by Zentrap.
grep -q 'member=Screenshot' "$dir/logs/portalwatch.log" && fail "Zentrap asked the Screenshot portal"
session dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop /org/freedesktop/portal/desktop \
  org.freedesktop.portal.Screenshot.Unknown >/dev/null 2>&1 || true
within 10 grep -q 'member=Unknown' "$dir/logs/portalwatch.log" || fail "the bus monitor sees no portal calls"
ok=1
echo "screencopy session ok: zentrap-cli grab, two outputs and the hole exact, no portal asked"
