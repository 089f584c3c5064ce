# The hole belongs to the windows below: they show through it, and a click in it reaches them.
source "$(dirname "$0")/lib/e2e.bash"

clicks="$work/clicks"
: >"$clicks"
start_pattern 200,100,800,600 --normal --clicks "$clicks"

write_user_values '"CropLeft"=dword:0000012c\n"CropTop"=dword:000000c8\n"CropWidth"=dword:00000190\n"CropHeight"=dword:0000012c'
start_frame
[ "$FX $FY $FW $FH" = "300 200 400 300" ] || fail "frame at $FX $FY $FW $FH"

# The whole hole shows the pattern, pixel for pixel; the band does not.
hole_shows_pattern() {
  grab_screen "$work/screen.png"
  $PY - "$work/screen.png" <<'PYEOF'
import os, sys
from PIL import Image
sys.path.insert(0, os.path.join(os.environ["ZENTRAP_SOURCE_DIR"], "tests/tools"))
from test_pattern import reference
px = Image.open(sys.argv[1]).convert("RGB").load()
shown = reference(800, 600).load()
def pattern(x, y):
    return shown[x, y]
for y in range(214, 486):
    for x in range(314, 686):
        if px[x, y] != pattern(x - 200, y - 100):
            sys.exit(f"hole pixel {x},{y} is {px[x, y]}")
band = sum(px[x, 205] == pattern(x - 200, 105) for x in range(320, 680))
if band > 10:
    sys.exit(f"{band} band pixels show the pattern")
PYEOF
}
# The frame paints its band after it maps: wait until the screen shows it, then say why if it never does.
if ! (wait_for 5 "the frame's band over the pattern" hole_shows_pattern); then
  hole_shows_pattern || fail "the hole does not show the window below"
fi

# A click in the hole reaches the pattern window; one on the band does not.
move_pointer 500 350 click 1
move_pointer 600 480 click 1
move_pointer 600 207 click 1
move_pointer 309 300 click 1
# A last click in the hole: once it arrives, every click before it has been delivered.
move_pointer 400 300 click 1
wait_for 5 "the clicks in the hole" file_has_lines "$clicks" . 3
got=$(tr '\n' ' ' <"$clicks")
[ "$got" = "500 350 600 480 400 300 " ] || fail "clicks that reached the window below: $got"

# After a resize the new hole lets clicks through as well, and the old one is band now.
frame_ask "where" >/dev/null
drag_pointer 1 699 499 799 549 window_placed "$frame_wid" 300 200 500 350
window_geometry "$frame_wid"
[ "$WIDTH $HEIGHT" = "500 350" ] || fail "resized to $WIDTH x $HEIGHT"
: >"$clicks"
move_pointer 780 530 click 1
wait_for 5 "the click in the grown hole" file_has_lines "$clicks" . 1
[ "$(tr '\n' ' ' <"$clicks")" = "780 530 " ] || fail "a click in the grown hole did not reach the window below"
stop_frame
echo "frame_click_through: ok"
