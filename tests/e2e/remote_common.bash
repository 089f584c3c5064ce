# Shared steps of the Remote Control's end-to-end scripts (sourced, not run on its own): a private
# home and settings folder, starting and closing the real program, root grabs and the clipboard.
set -euo pipefail
: "${ZENTRAP_BIN:?ZENTRAP_BIN must name the bin folder of the build}"
: "${DISPLAY:?run under scripts/with-test-desktop}"

work=$(mktemp -d /tmp/zentrap-remote-e2e.XXXXXX)
export HOME="$work/home"
export XDG_CONFIG_HOME="$work/config"
export ZENTRAP_MACHINE_HIVE="$work/machine.reg"
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
user_hive="$XDG_CONFIG_HOME/zentrap/user.reg"
PY=/usr/bin/python3
started_pids=()

cleanup() {
  for pid in "${started_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${started_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/zentrap.log" ] && sed 's/^/  zentrap: /' "$work/zentrap.log" >&2
  exit 1
}

source "$ZENTRAP_SOURCE_DIR/tests/tools/wait_for.bash"

# write_hive FILE ROOT KEY LINES: a registry-export file with one key.
write_hive() {
  mkdir -p "$(dirname "$1")"
  printf 'REGEDIT4\n\n[%s\\%s]\n%b\n' "$2" "$3" "$4" >"$1"
}
write_user_values() { write_hive "$user_hive" HKEY_CURRENT_USER 'SOFTWARE\Morvane\Zentrap' "$1"; }
write_machine_values() {
  write_hive "$ZENTRAP_MACHINE_HIVE" HKEY_LOCAL_MACHINE 'SOFTWARE\Morvane Software\Zentrap' "$1"
}

# The settings file lies beside the program: run_program_copy makes zentrap run from a copy in
# the work folder so that it lands there; sets real_bin, ZENTRAP_BIN and ini.
run_program_copy() {
  real_bin=$ZENTRAP_BIN
  ZENTRAP_BIN="$work/bin"
  mkdir -p "$ZENTRAP_BIN"
  cp "$real_bin/zentrap" "$ZENTRAP_BIN/zentrap"
  ln -s "$real_bin/zentrap-test-pattern" "$ZENTRAP_BIN/zentrap-test-pattern"
  ini="$ZENTRAP_BIN/zentrap.ini"
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# The id of the visible window named exactly $1, polled every 10 ms for up to 20 s.
wait_window() {
  local deadline=$(($(now_ms) + 20000)) id
  while [ "$(now_ms)" -lt "$deadline" ]; do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.01
  done
  return 1
}

# Sets X, Y, WIDTH, HEIGHT of window $1 (screen position of its top-left pixel).
window_geometry() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
}

# Starts zentrap and waits for the Remote Control; sets remote_wid, zentrap_pid, startup_ms.
start_zentrap() {
  local t0
  t0=$(now_ms)
  "$ZENTRAP_BIN/zentrap" >"$work/zentrap.log" 2>&1 &
  zentrap_pid=$!
  started_pids+=("$zentrap_pid")
  remote_wid=$(wait_window "Zentrap Remote Control") || fail "the Remote Control did not appear"
  startup_ms=$(($(now_ms) - t0))
  # Let the first paints and the frame's appearance settle before grabbing.
  sleep 0.7
}

# Whether window $1 is the program's tray icon (a small window named "Zentrap").
is_tray_icon() {
  [ "$(xdotool getwindowname "$1" 2>/dev/null)" = Zentrap ] &&
    (eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null)" && [ "${WIDTH:-0}" -le 64 ])
}

# The visible windows of the running program, its tray icon left out, sorted.
program_windows() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$zentrap_pid" 2>/dev/null); do
    is_tray_icon "$w" || echo "$w"
  done | sort
}

# Clicks window-relative point ($1, $2) of the Remote Control.
click_remote() {
  window_geometry "$remote_wid"
  xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1
}

# Closes the program with the Remote Control's close button and waits for it to end; the exit
# question (asked while a capture is unsaved) is answered "Yes".
close_zentrap() {
  local answered=0 w
  click_remote 70 16
  for _ in $(seq 1 200); do
    kill -0 "$zentrap_pid" 2>/dev/null || break
    if [ "$answered" = 0 ]; then
      for w in $(xdotool search --onlyvisible --pid "$zentrap_pid" --name '^Zentrap$' 2>/dev/null); do
        window_geometry "$w" 2>/dev/null || continue
        if [ "$HEIGHT" = 150 ]; then
          xdotool key Return
          answered=1
        fi
      done
    fi
    sleep 0.05
  done
  kill -0 "$zentrap_pid" 2>/dev/null && fail "zentrap did not end after its close button"
  wait "$zentrap_pid" || fail "zentrap ended with status $?"
}

# grab_root L,T,W,H FILE: the screen's pixels read with Xlib's XGetImage (independent of the
# program's own grabber), saved in the format the file name says.
grab_root() {
  check grab "$1" "$2" || fail "the root grab failed"
}

# Waits until the clipboard offers image/png and writes it (and image/bmp) into FILE.png/.bmp.
read_clipboard_images() {
  for _ in $(seq 1 100); do
    if xclip -selection clipboard -t TARGETS -o 2>/dev/null | grep -qx 'image/png'; then
      timeout 20 xclip -selection clipboard -t image/png -o >"$1.png" || fail "no PNG from the clipboard"
      timeout 20 xclip -selection clipboard -t image/bmp -o >"$1.bmp" || fail "no BMP from the clipboard"
      return 0
    fi
    sleep 0.05
  done
  fail "the clipboard never offered image/png"
}

# Starts the pattern window at L,T,W,H and waits until it says it is in place.
start_pattern() {
  "$ZENTRAP_BIN/zentrap-test-pattern" --geometry "$1" >"$work/pattern.out" 2>"$work/pattern.log" &
  started_pids+=("$!")
  for _ in $(seq 1 400); do
    grep -qx ready "$work/pattern.out" 2>/dev/null && return 0
    sleep 0.05
  done
  fail "the pattern window did not start: $(cat "$work/pattern.log")"
}

# In the Save As window $save_wid: presses Save... (Return on the format list), types NAME into the
# file dialog and waits for FILE.
save_through_dialog() {
  local name=$1 file=$2 dialog
  xdotool key --clearmodifiers Return
  for _ in $(seq 1 200); do
    dialog=$(program_windows | grep -vx "$save_wid" | grep -vx "$remote_wid" | tail -n1 || true)
    [ -n "$dialog" ] && break
    sleep 0.05
  done
  [ -n "$dialog" ] || fail "no file dialog after Save..."
  sleep 0.4
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 5 "$name"
  xdotool key --clearmodifiers Return
  for _ in $(seq 1 200); do
    [ -s "$file" ] && break
    sleep 0.05
  done
  [ -s "$file" ] || fail "$file was not written"
  sleep 0.3
}

# check VERB ARGS...: image checks in Python (Pillow reads PPM, PNG and BMP).
#   capsule BEFORE AFTER          outside the capsule AFTER equals BEFORE; inside it differs
#   pattern IMAGE [W H]           IMAGE is a piece of the test pattern; prints "X Y" of its origin
#   same IMAGE1 IMAGE2            both hold the same pixels
#   screen IMAGE L T W H          IMAGE is the whole screen with the pattern window at L,T,W,H intact
cat >"$work/check.py" <<'PYEOF'
import os
import sys
from PIL import Image
sys.path.insert(0, os.path.join(os.environ["ZENTRAP_SOURCE_DIR"], "tests/tools"))
from test_pattern import LIMIT, position_of, reference

def load(path):
    return Image.open(path).convert("RGB")

def inside_ellipse(l, t, r, b, x, y):
    w, h = r - l, b - t
    dx, dy = 2 * x + 1 - (l + r), 2 * y + 1 - (t + b)
    return dx * dx * h * h + dy * dy * w * w <= w * w * h * h

def in_capsule(x, y):
    return (31 <= y < 179) or inside_ellipse(0, 0, 100, 62, x, y) or inside_ellipse(0, 98, 100, 260, x, y)

def grab(rect, out):
    import ctypes
    import ctypes.util

    class XImage(ctypes.Structure):
        _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                    ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                    ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                    ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                    ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]

    x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XGetImage.restype = ctypes.POINTER(XImage)
    x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                              ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("no display")
    l, t, w, h = map(int, rect.split(","))
    image = x11.XGetImage(display, x11.XDefaultRootWindow(display), l, t, w, h, 0xFFFFFFFF, 2)
    if not image:
        sys.exit("XGetImage failed")
    xi = image.contents
    if xi.bits_per_pixel != 32 or xi.byte_order != 0:
        sys.exit(f"unexpected screen layout: {xi.bits_per_pixel} bits, byte order {xi.byte_order}")
    raw = ctypes.string_at(xi.data, xi.bytes_per_line * h)
    Image.frombuffer("RGB", (w, h), raw, "raw", "BGRX", xi.bytes_per_line, 1).save(out)

verb, args = sys.argv[1], sys.argv[2:]
if verb == "grab":
    grab(args[0], args[1])
elif verb == "capsule":
    before, after = load(args[0]), load(args[1])
    assert before.size == after.size == (100, 260), (before.size, after.size)
    bp, ap = before.load(), after.load()
    inside = differing = 0
    for y in range(260):
        for x in range(100):
            # The thumbnail and its well are black before the first capture, like the bare root.
            in_thumbnail = 8 <= x < 92 and 27 <= y < 111
            if in_capsule(x, y) and not in_thumbnail:
                inside += 1
                differing += bp[x, y] != ap[x, y]
            elif not in_capsule(x, y) and bp[x, y] != ap[x, y]:
                sys.exit(f"pixel {x},{y} outside the capsule is {ap[x, y]}, the desktop there is {bp[x, y]}")
    if differing < inside * 0.9:
        sys.exit(f"only {differing} of {inside} pixels inside the capsule show the window")
    print(f"capsule ok: {inside} pixels inside, {differing} differ from the desktop")
elif verb == "pattern":
    img = load(args[0])
    if len(args) == 3 and img.size != (int(args[1]), int(args[2])):
        sys.exit(f"image is {img.size}, expected {args[1]} x {args[2]}")
    px = img.load()
    x0, y0 = position_of(px[0, 0])
    if x0 + img.size[0] > LIMIT or y0 + img.size[1] > LIMIT:
        sys.exit(f"pixel 0,0 is {px[0, 0]}: the image cannot be a piece of the pattern")
    pattern = reference(x0 + img.size[0], y0 + img.size[1]).load()
    for y in range(img.size[1]):
        for x in range(img.size[0]):
            if px[x, y] != pattern[x0 + x, y0 + y]:
                sys.exit(f"pixel {x},{y} is {px[x, y]}, the pattern has {pattern[x0 + x, y0 + y]}")
    print(x0, y0)
elif verb == "same":
    a, b = load(args[0]), load(args[1])
    if a.size != b.size or a.tobytes() != b.tobytes():
        sys.exit(f"{args[0]} {a.size} and {args[1]} {b.size} differ")
elif verb == "screen":
    img = load(args[0])
    l, t, w, h = map(int, args[1:5])
    if img.size != (1920, 1080):
        sys.exit(f"full-screen image is {img.size}")
    px = img.load()
    pattern = reference(w, h).load()
    for y in range(h):
        for x in range(w):
            if px[l + x, t + y] != pattern[x, y]:
                sys.exit(f"screen pixel {l + x},{t + y} is {px[l + x, t + y]}, the pattern has {pattern[x, y]}")
else:
    sys.exit(f"unknown check {verb}")
PYEOF
check() { "$PY" "$work/check.py" "$@"; }
