#!/usr/bin/env bash
# Skins on the real program: a skin that no longer exists warns at start-up and leaves the built-in
# body; a 120 x 300 skin shows from the top-left corner cut at the outline; an 80 x 200 skin leaves
# the rest of the window in one button-face colour; hostile files warn without crash or memory growth.
source "$(dirname "$0")/lib/e2e.bash"

# skin_pattern FILE W H: a lossless picture whose every pixel tells its own position.
skin_pattern() {
  "$PY" - "$@" <<'PYEOF'
import sys
from PIL import Image
path, w, h = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
img = Image.new("RGB", (w, h))
img.putdata([((x * 2) & 0xFF, y & 0xFF, 77 + (y >> 8) * 50) for y in range(h) for x in range(w)])
img.save(path)
PYEOF
}

# body_check GRAB DESKTOP W H: inside the capsule and away from the controls, the pixels show the
# W x H pattern where it reaches and one uniform colour elsewhere; outside it the desktop shows.
body_check() {
  "$PY" - "$@" <<'PYEOF'
import os, sys
sys.path.insert(0, os.path.join(os.environ["ZENTRAP_SOURCE_DIR"], "tests/tools"))
from image_check import in_capsule, load
grab, desk, w, h = load(sys.argv[1]), load(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
gp, dp = grab.load(), desk.load()
controls = [(21, 8, 17, 17), (62, 8, 17, 17), (10, 29, 80, 80), (10, 116, 22, 22), (39, 116, 22, 22),
            (68, 116, 22, 22), (10, 144, 80, 22), (10, 172, 22, 22), (39, 172, 22, 22), (68, 172, 22, 22)]
def on_control(x, y):
    return any(l <= x < l + cw and t <= y < t + ch for l, t, cw, ch in controls)
rest = set()
shown = 0
for y in range(260):
    for x in range(100):
        if not in_capsule(x, y):
            if gp[x, y] != dp[x, y]:
                sys.exit(f"pixel {x},{y} outside the outline is {gp[x, y]}, the desktop has {dp[x, y]}")
            continue
        if on_control(x, y):
            continue
        if x < w and y < h:
            want = ((x * 2) & 0xFF, y & 0xFF, 77 + (y >> 8) * 50)
            if gp[x, y] != want:
                sys.exit(f"pixel {x},{y} is {gp[x, y]}, the skin has {want} there")
            shown += 1
        else:
            rest.add(gp[x, y])
if len(rest) > 1:
    sys.exit(f"the part the skin leaves uncovered has {len(rest)} colours: {sorted(rest)[:4]}")
print(f"skin {w}x{h}: {shown} pixels show the skin, the rest is {sorted(rest)}")
PYEOF
}

# Starts zentrap expecting the skin warning: answers it, then waits for the Remote Control.
start_with_warning() {
  launch_zentrap
  local warning
  warning=$(wait_window "Warning") || fail "no skin warning for $1"
  activate "$warning"
  [ -n "${2:-}" ] && screenshot "$2"
  xdotool key --clearmodifiers Return
  await_remote
}

high_water_kb() { sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$zentrap_pid/status"; }

grab_root 910,410,100,260 "$work/desktop.png"

# A skin file that no longer exists: the warning, then the built-in body; the path is kept.
gone="$work/skins/gone.bmp"
write_user_values "\"Skin\"=\"$gone\""
start_with_warning "$gone" skin-warning
# Away from the buttons, which light up under the pointer.
move_pointer 5 5
grab_settled 910,410,100,260 "$work/builtin.png"
check capsule "$work/desktop.png" "$work/builtin.png" || fail "the built-in body does not fill the capsule"
screenshot skin-built-in 910,410,100,260
close_zentrap
grep -qxF "\"Skin\"=\"$gone\"" "$user_hive" || fail "the failed skin path was not kept"

# A larger and a smaller skin, each shown at its own size from the window's top-left corner.
mkdir -p "$work/skins"
for size in "120 300" "80 200"; do
  read -r w h <<<"$size"
  skin_pattern "$work/skins/pattern-${w}x$h.bmp" "$w" "$h"
  write_user_values "\"Skin\"=\"$work/skins/pattern-${w}x$h.bmp\""
  start_zentrap
  window_geometry "$remote_wid"
  grab_settled "$X,$Y,100,260" "$work/skin-${w}x$h.png"
  body_check "$work/skin-${w}x$h.png" "$work/desktop.png" "$w" "$h" || fail "the ${w} x $h skin is not shown as it should"
  screenshot "skin-${w}x$h" "$X,$Y,100,260"
  [ "$w" = 120 ] && baseline_kb=$(high_water_kb)
  close_zentrap
done
for example in Coral.bmp Graphite.jpg Midnight.jpg; do
  [ -f "$ZENTRAP_BIN/$example" ] || fail "the example skin $example is not beside the program"
done

# Hostile skin files: each warns, the program runs on, and memory stays near a good skin's.
"$PY" - "$work/skins" <<'PYEOF'
import os, sys
d = sys.argv[1]
good = open(os.path.join(d, "pattern-120x300.bmp"), "rb").read()
open(os.path.join(d, "truncated.bmp"), "wb").write(good[:len(good) // 3])
sof = b"\xff\xd8\xff\xc0\x00\x11\x08" + (30000).to_bytes(2, "big") * 2 + b"\x03\x01\x11\x00\x02\x11\x01\x03\x11\x01"
open(os.path.join(d, "huge.jpg"), "wb").write(sof + b"\x00" * 4096)
open(os.path.join(d, "empty.jpg"), "wb").close()
open(os.path.join(d, "words.bmp"), "w").write("not a picture\n" * 100)
os.mkdir(os.path.join(d, "folder.jpg"))
PYEOF
for hostile in truncated.bmp huge.jpg empty.jpg folder.jpg words.bmp; do
  write_user_values "\"Skin\"=\"$work/skins/$hostile\""
  start_with_warning "$hostile"
  # Away from the buttons, which light up under the pointer.
  move_pointer 5 5
  wait_for 10 "the built-in body after $hostile" grab_is 910,410,100,260 "$work/builtin.png"
  used=$(high_water_kb)
  [ "$used" -lt $((baseline_kb + 51200)) ] || fail "$hostile took $((used - baseline_kb)) kB more than a good skin"
  close_zentrap
done
echo "skins ok"
