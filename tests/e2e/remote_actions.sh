#!/usr/bin/env bash
# Actions from the command line, as a desktop's keyboard settings run them: "zentrap --capture"
# with none running starts Zentrap and captures; with one running, a start however the environment
# spells the display (unix:N for :N, another or no runtime folder) reaches that one, which captures
# again: never a second Remote Control.
source "$(dirname "$0")/lib/e2e.bash"

prepare_pattern_capture
clear_clipboard
start_zentrap --capture
read_clipboard_images "$work/first"
first=$(check locate "$work/first.png") || fail "the capture of the starting --capture is not the pattern"

one_remote_control() { [ "$(xdotool search --name '^Zentrap Remote Control$' | wc -l)" = 1 ]; }
other_runtime="$work/other-runtime"
mkdir -m 700 "$other_runtime"
spellings=("DISPLAY=unix:${DISPLAY#:} XDG_RUNTIME_DIR=$other_runtime" "XDG_RUNTIME_DIR=")
for spelling in "${spellings[@]}"; do
  clear_clipboard
  status=0
  # shellcheck disable=SC2086
  timeout 20 env $spelling "$ZENTRAP_BIN/zentrap" --capture >"$work/action.log" 2>&1 || status=$?
  [ "$status" = 0 ] || fail "zentrap --capture with $spelling ended with status $status: $(cat "$work/action.log")"
  read_clipboard_images "$work/again"
  [ "$(check locate "$work/again.png")" = "$first" ] || fail "the capture asked with $spelling is not the first one's area"
  kill -0 "$zentrap_pid" 2>/dev/null || fail "the running instance ended"
  one_remote_control || fail "a second Remote Control after a start with $spelling"
done

status=0
timeout 20 "$ZENTRAP_BIN/zentrap" --no-such-action >"$work/bad.log" 2>&1 || status=$?
[ "$status" = 2 ] && grep -q -- '--capture' "$work/bad.log" || fail "an unknown action: status $status, $(cat "$work/bad.log")"
close_zentrap
echo "actions ok: started by --capture, reached as unix:N and without a runtime folder"
