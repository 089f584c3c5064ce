# The rulers' ticks sit at absolute screen positions in each unit, read back from a root grab and
# compared with the rules computed here independently (96 pixels per inch on the test desktop).
source "$(dirname "$0")/lib/e2e.bash"

# The hole spans screen columns 95..766 and rows 77..548.
write_user_values '"CropLeft"=dword:00000051\n"CropTop"=dword:0000003f\n"CropWidth"=dword:000002bc\n"CropHeight"=dword:000001f4\n"FUnits"=dword:00000000'
start_frame
[ "$FX $FY $FW $FH $FB" = "81 63 700 500 14" ] || fail "frame at $FX $FY $FW $FH, band $FB"

# ticks_agree UNIT: a grab of the screen shows the rulers' ticks in UNIT where the rules put them.
ticks_agree() {
  grab_screen "$work/screen.png"
  $PY - "$work/screen.png" "$work/labels" "$1" "$FX" "$FY" "$FW" "$FH" "$FB" <<'PYEOF'
import sys
from PIL import Image

path, labels_path = sys.argv[1], sys.argv[2]
unit, ox, oy, W, H, B = (int(v) for v in sys.argv[3:])
px = Image.open(path).convert("RGB").load()
labels = [tuple(int(v) for v in line.split()[1:]) for line in open(labels_path)]
X0, X1, Y0, Y1 = ox + B, ox + W - B - 1, oy + B, oy + H - B - 1

def ticks(first, last):
    """Screen position -> long?, by the rules of each unit."""
    if unit == 0:
        return {s: s % 50 == 0 for s in range(first, last + 1) if s % 10 == 0}
    if unit == 1:
        return {s: (4 * s) % 96 == 0 for s in range(first, last + 1) if (16 * s) % 96 == 0}
    result = {}
    for m in range(round(first * 25.4 / 96), round(last * 25.4 / 96) + 1):
        result[round(m * 96 / 25.4)] = m % 10 == 0
    return result

# Rows (client) where any tick is black, and where only long ticks are.
any_depth = B - 1
long_depth = 7 if unit == 0 else 8
black = lambda x, y: px[x, y] == (0, 0, 0)

# Client columns (top and bottom bands) or rows (left and right bands) under an opaque label.
covered = {"top": set(), "bottom": set(), "left": set(), "right": set()}
for l, t, r, b in labels:
    if t == 0 or t == H - B - 1:
        covered["top" if t == 0 else "bottom"].update(range(l, r))
    else:
        covered["left" if l == 0 else "right"].update(range(t, b))

errors, checked = [], 0
columns = ticks(X0, X1)
for cx in range(B + 1, W - B - 1):
    sx = ox + cx
    for band, y_any, y_long in (("top", oy + any_depth, oy + long_depth),
                                ("bottom", oy + H - 1 - any_depth, oy + H - 1 - long_depth)):
        if cx in covered[band]:
            continue
        checked += 1
        if black(sx, y_any) != (sx in columns):
            errors.append(f"column {sx} row {y_any}: black={black(sx, y_any)}, tick={sx in columns}")
        if black(sx, y_long) != columns.get(sx, False):
            errors.append(f"column {sx} row {y_long}: black={black(sx, y_long)}, long={columns.get(sx, False)}")
rows = ticks(Y0, Y1)
for cy in range(B + 1, H - B - 1):
    sy = oy + cy
    for band, x_any, x_long in (("left", ox + any_depth, ox + long_depth),
                                ("right", ox + W - 1 - any_depth, ox + W - 1 - long_depth)):
        if cy in covered[band]:
            continue
        checked += 1
        if black(x_any, sy) != (sy in rows):
            errors.append(f"row {sy} column {x_any}: black={black(x_any, sy)}, tick={sy in rows}")
        if black(x_long, sy) != rows.get(sy, False):
            errors.append(f"row {sy} column {x_long}: black={black(x_long, sy)}, long={rows.get(sy, False)}")
if checked < 1000 or errors:
    sys.exit(f"{checked} places checked; " + "; ".join(errors[:10]))
print(f"unit {unit}: {checked} places agree")
PYEOF
}

for unit in 0 1 2; do
  frame_ask "units $unit" ok >/dev/null
  frame_ask labels end | grep '^label' >"$work/labels" || true
  # The frame repaints its rulers after the change: wait until the screen shows this unit's ticks.
  wait_for 10 "the ticks in unit $unit" ticks_agree "$unit"
done

stop_frame
[ "$(stored_value FUnits)" = 2 ] || fail "the unit was not stored"
echo "frame_rulers: ok"
