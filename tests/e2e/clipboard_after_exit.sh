#!/usr/bin/env bash
# Without a clipboard manager the last capture stays pasteable after the program ends: a keeper
# serves its PNG and BMP (a full-screen one in pieces) without a visible window, a new start ends
# it so that one keeper at most runs, and it ends within a second of another client copying.
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

prepare_pattern_capture
start_zentrap
capture_pattern "$work/first"
exit_and_expect_kept first
[ -z "$(xdotool search --onlyvisible --pid "$keeper" 2>/dev/null)" ] || fail "the keeper shows a window"
echo "kept after the exit: PNG and BMP are the capture"

# Started again, the program ends the keeper; a full-screen capture is then kept in its place.
start_zentrap
poll 10 keeper_gone "$keeper" || fail "the keeper still runs after a new start"
click_remote 21 183
capture_pattern "$work/full"
exit_and_expect_kept full
[ "$(stat -c %s "$work/kept-full.bmp")" -gt $((1 << 20)) ] || fail "the full-screen BMP is too small to need pieces"
echo "a new start ended the first keeper; the full-screen capture is kept whole"

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
