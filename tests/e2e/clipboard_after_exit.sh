#!/usr/bin/env bash
# Without a clipboard manager the last capture stays pasteable after the program ends: a keeper
# serves its PNG and BMP (a full-screen one in pieces, also when asked for together with MULTIPLE)
# without a visible window. Starting the program again leaves the capture pasteable until a new
# capture replaces it; across start and exit cycles one keeper at most runs, and it ends within a
# second of another client copying.
source "$(dirname "$0")/lib/e2e.bash"

# exit_and_expect_kept NAME: closes the program; one keeper runs ($keeper) and the clipboard's PNG
# and BMP are the capture in $work/NAME.png.
exit_and_expect_kept() {
  close_zentrap
  [ "$(keeper_count)" = 1 ] || fail "keepers after the exit: $(keeper_pids | xargs)"
  keeper=$(keeper_pids)
  read_clipboard "$work/kept-$1"
  check same "$work/$1.png" "$work/kept-$1.png" || fail "the kept PNG is not the capture $1"
  check same "$work/$1.png" "$work/kept-$1.bmp" || fail "the kept BMP is not the capture $1"
}

# expect_multiple_answers NAME: one MULTIPLE request, as clipboard managers make, gets the capture
# $work/NAME.png as PNG and BMP, the target list and the time, and only the unknown target refused.
expect_multiple_answers() {
  local answers="$work/multiple-$1.txt"
  "$PY" "$ZENTRAP_SOURCE_DIR/tests/tools/clipboard_multiple.py" "$work/multiple-$1" \
    image/png TARGETS text/plain image/bmp TIMESTAMP >"$answers" || fail "the MULTIPLE request failed"
  log_on_failure "multiple-$1" "$answers"
  [ "$(grep -c ' refused$' "$answers")" = 1 ] && grep -qx 'text/plain refused' "$answers" ||
    fail "the MULTIPLE request was not answered pair by pair"
  grep -qE '^TARGETS( \S+)* MULTIPLE( |$)' "$answers" && grep -qE '^TARGETS( \S+)* image/bmp( |$)' "$answers" ||
    fail "the target list lacks MULTIPLE or image/bmp"
  grep -qE '^TIMESTAMP [1-9][0-9]*$' "$answers" || fail "no time in the MULTIPLE answer"
  check same "$work/$1.png" "$work/multiple-$1.png" || fail "the MULTIPLE request's PNG is not the capture $1"
  check same "$work/$1.png" "$work/multiple-$1.bmp" || fail "the MULTIPLE request's BMP is not the capture $1"
}

# capture_over_keeper NAME: a capture while the keeper $keeper serves the last one; taking the
# clipboard ends that keeper. The capture is in $work/NAME.png/.bmp.
capture_over_keeper() {
  click_remote 50 155
  poll 10 keeper_gone "$keeper" || fail "the keeper still runs after a new capture took the clipboard"
  read_clipboard_images "$work/$1"
}

prepare_pattern_capture
start_zentrap
capture_pattern "$work/first"
exit_and_expect_kept first
[ -z "$(xdotool search --onlyvisible --pid "$keeper" 2>/dev/null)" ] || fail "the keeper shows a window"
expect_multiple_answers first
echo "kept after the exit: PNG and BMP are the capture, asked one by one or together"

# Started again, the program leaves the keeper serving until its own capture replaces the picture.
start_zentrap
[ "$(keeper_pids)" = "$keeper" ] || fail "keepers after a new start: '$(keeper_pids | xargs)', not $keeper"
read_clipboard "$work/restarted"
check same "$work/first.png" "$work/restarted.png" || fail "after a new start the clipboard's PNG is not the capture"
check same "$work/first.png" "$work/restarted.bmp" || fail "after a new start the clipboard's BMP is not the capture"
click_remote 21 183
capture_over_keeper full
exit_and_expect_kept full
[ "$(stat -c %s "$work/kept-full.bmp")" -gt $((1 << 20)) ] || fail "the full-screen BMP is too small to need pieces"
expect_multiple_answers full
echo "a new start kept the capture pasteable; the next capture replaced it and is kept whole"

# Start and exit cycles, with and without a capture: one keeper, serving the last capture.
last=full
for cycle in 1 2 3; do
  start_zentrap
  if [ "$cycle" = 2 ]; then
    capture_over_keeper "cycle$cycle"
    last=cycle$cycle
  fi
  exit_and_expect_kept "$last"
done
echo "three start and exit cycles left one keeper with the last capture"

echo text | xclip -selection clipboard
poll 1 keeper_gone "$keeper" || fail "the keeper still runs a second after another client copied"
echo "the keeper ended when another client copied"

# Text copied over the capture before the exit: nothing is kept.
start_zentrap
capture_pattern "$work/third"
clear_clipboard
close_zentrap
[ "$(keeper_count)" = 0 ] || fail "a keeper started although the clipboard held text"
echo "clipboard after exit ok"
