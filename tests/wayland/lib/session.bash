# The shared steps of the Wayland-session tests: a session of the shared Wayland rig (sway with
# XWayland) with Zentrap's programs where the session's user can run them, waits with deadlines,
# Zentrap started and driven as a user of that desktop would, and the Capture Frame's place.
# Sourced by the scripts in tests/wayland/; skips (77) without the rig.
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

# start_session: the rig's session, Zentrap's programs and its settings folder in it.
start_session() {
  rig start "$dir" >/dev/null
  mkdir -p "$dir/zentrap/config/zentrap"
  cp "$ZENTRAP_BIN/zentrap" "$ZENTRAP_BIN/zentrap-cli" "$dir/zentrap/"
  owner=$(stat -c %U "$dir")
  chown -R "$owner:" "$dir/zentrap"
}

# show_native FILE WIDTH HEIGHT X Y: a Mandelbrot picture of that size in a native Wayland window
# (app_id "native"), floating with its top-left corner at X,Y.
show_native() {
  "$PY" -c 'import sys; from PIL import Image; Image.effect_mandelbrot((int(sys.argv[2]), int(sys.argv[3])), (-2, -1.2, 1, 1.2), 60).convert("RGB").save(sys.argv[1])' "$1" "$2" "$3"
  chown "$owner:" "$1"
  rig show "$dir" native "$1" wayland >/dev/null
  within 20 grep -qx shown "$dir/logs/native.log" || fail "the native window did not show"
  session swaymsg "[app_id=\"^native\$\"] floating enable, move absolute position $4 $5" >/dev/null
}

# Zentrap's settings: the cursor left out of captures (the compositor's reference grab has none).
settings_without_cursor() {
  printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n"FCursor"=dword:00000000\n' \
    >"$dir/zentrap/config/zentrap/user.reg"
  chown -R "$owner:" "$dir/zentrap/config"
}

# start_zentrap LOG [ENV-ARGS...]: Zentrap in the session (env's arguments change its environment),
# up when its Remote Control is visible; $zentrap_pid is its PID.
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
# capture_from_outside [X Y]: the keyboard to the native window by a click at X,Y (150,150 unless
# given), as a user's click gives it, then the action from another client, as a desktop's shortcut
# runs it.
capture_from_outside() {
  local x=${1:-150} y=${2:-150}
  rig input "$dir" "move $((x - 1)) $y" "move $x $y" "click 1"
  within 10 focused_native || fail "the native window did not get the keyboard"
  session "$dir/zentrap/zentrap" --capture 2>"$dir/action.err" || fail "zentrap --capture: $(cat "$dir/action.err")"
  [ "$(zentrap_count)" = 1 ] || fail "zentrap --capture started a second instance"
}
focused_native() { session swaymsg -t get_tree | "$PY" -c '
import json, sys
def walk(n):
    return (n.get("focused") and n.get("app_id") == "native") or any(walk(c) for c in n.get("nodes", []) + n.get("floating_nodes", []))
sys.exit(0 if walk(json.load(sys.stdin)) else 1)'; }
# window_geometry NAME: "X Y WIDTH HEIGHT" of the X11 window titled NAME, where the X server has it.
window_geometry() {
  session xwininfo -name "$1" | awk '/Absolute upper-left X/ {x=$NF}
    /Absolute upper-left Y/ {y=$NF} /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}'
}
# The capture on the clipboard, as PNG, into FILE.
clipboard_png() { session xclip -selection clipboard -t image/png -o >"$1"; }
