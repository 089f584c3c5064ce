#!/usr/bin/env bash
# The clipboard is taken as soon as a picture is placed: a paste that comes before its PNG is made
# waits for that PNG and gets it, never an earlier picture or nothing; a picture placed while the
# last one is still being encoded replaces it at once; the BMP is made only when a program asks;
# formats asked together wait for their bytes alike.
source "$(dirname "$0")/lib/e2e.bash"

mkfifo "$work/harness.in"
"$ZENTRAP_BIN/zentrap-clipboard-harness" <"$work/harness.in" >"$work/harness.out" 2>"$work/harness.err" &
started "$!"
log_on_failure harness "$work/harness.err"
exec 7>"$work/harness.in"
at_exit 'exec 7>&- 2>/dev/null'
answered() { [ "$(wc -l <"$work/harness.out")" -gt "$1" ]; }
# ask LINE: sends LINE to the harness and prints its answer.
ask() {
  local before
  before=$(wc -l <"$work/harness.out")
  echo "$1" >&7
  wait_for 10 "an answer to '$1'" answered "$before"
  tail -n1 "$work/harness.out"
}
# colour_of FILE: the one colour of the picture in FILE as "R G B" (fails for a mixed picture).
colour_of() {
  "$PY" -c "import sys; from PIL import Image; c = Image.open(sys.argv[1]).convert('RGB').getcolors(); print(*c[0][1]) if len(c) == 1 else sys.exit(1)" "$1"
}
paste_as() { timeout 20 xclip -selection clipboard -t "image/$1" -o >"$2" || fail "no image/$1 from the clipboard"; }

# A red picture whose PNG takes 3 s, replaced at once by a blue one: the paste gets the blue one.
ask "put 200 0 0 3000" >/dev/null
ask "put 0 0 200 0" >/dev/null
paste_as png "$work/second.png"
[ "$(colour_of "$work/second.png")" = "0 0 200" ] || fail "the paste got $(colour_of "$work/second.png"), not the blue picture"
ask count | grep -q ' bmp 0$' || fail "a BMP was made before any program asked: $(ask count)"
paste_as bmp "$work/second.bmp"
[ "$(colour_of "$work/second.bmp")" = "0 0 200" ] || fail "the BMP paste got $(colour_of "$work/second.bmp")"
ask count | grep -q ' bmp 1$' || fail "one BMP paste made $(ask count)"
echo "a quick second picture replaces the first; the BMP is made when asked"

# A paste started right after a green picture whose PNG takes 1.5 s waits for it.
ask "put 0 200 0 1500" >/dev/null
before=$(now_ms)
paste_as png "$work/third.png"
waited=$(($(now_ms) - before))
[ "$(colour_of "$work/third.png")" = "0 200 0" ] || fail "the early paste got $(colour_of "$work/third.png"), not the green picture"
echo "an early paste waited ${waited} ms for its PNG and got it"

# Both formats asked together (MULTIPLE) right after a yellow picture whose PNG takes 1 s: the one
# answer waits for the PNG and for the BMP made on request, and both are the yellow picture.
ask "put 200 200 0 1000" >/dev/null
"$PY" "$ZENTRAP_SOURCE_DIR/tests/tools/clipboard_multiple.py" "$work/multiple" image/png image/bmp >"$work/multiple.txt" ||
  fail "the MULTIPLE request failed"
for format in png bmp; do
  [ "$(colour_of "$work/multiple.$format")" = "200 200 0" ] || fail "the MULTIPLE request's $format is not the yellow picture"
done
echo "a MULTIPLE request waited for both formats and got them"
echo "clipboard answers ok"
