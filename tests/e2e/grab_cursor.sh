# zentrap-cli grab --cursor draws the cursor that the window under the pointer shows, with its
# hot spot at the pointer; only when the hot spot lies inside the rectangle (its first column and
# row included, the column and row just past it excluded), clipped to the rectangle.
source "$(dirname "${BASH_SOURCE[0]}")/lib/e2e.bash"
cli="$ZENTRAP_BIN/zentrap-cli"
w="$work"

# The root shows the X cursor; the pattern window on the left shows a text beam.
xsetroot -cursor_name X_cursor
start_pattern 100,100,300,300 --ibeam
start_pattern 600,100,400,300

# grab_case NAME X Y LEFT TOP WIDTH HEIGHT drawn|absent
grab_case() {
  local name=$1 x=$2 y=$3 left=$4 top=$5 width=$6 height=$7 expectation=$8
  move_pointer "$x" "$y"
  "$ZENTRAP_BIN/zentrap-test-cursor" >"$w/$name.cursor"
  "$cli" grab --rect "$left,$top,$width,$height" "$w/$name.plain.ppm"
  "$cli" grab --cursor --rect "$left,$top,$width,$height" "$w/$name.with.ppm"
  check cursor "$w/$name.plain.ppm" "$w/$name.with.ppm" "$w/$name.cursor" "$left" "$top" "$expectation"
}

# Over the second pattern window, rectangle (700, 200) - (799, 279).
grab_case inside 750 240 700 200 100 80 drawn
grab_case left-column 700 240 700 200 100 80 drawn
grab_case top-row 750 200 700 200 100 80 drawn
grab_case last-column-and-row 799 279 700 200 100 80 drawn
grab_case past-right 800 240 700 200 100 80 absent
grab_case past-bottom 750 280 700 200 100 80 absent
grab_case before-left 699 240 700 200 100 80 absent
grab_case above-top 750 199 700 200 100 80 absent

# Over the text-beam window: the copy shows the text beam, not the root's cursor.
move_pointer 250 250
beam=$(head -n1 <("$ZENTRAP_BIN/zentrap-test-cursor"))
move_pointer 750 250
root=$(head -n1 <("$ZENTRAP_BIN/zentrap-test-cursor"))
[ "${beam% * *}" != "${root% * *}" ] || fail "the text beam and the root cursor look alike ($beam)"
grab_case text-beam 250 250 200 200 100 100 drawn

# A whole-screen grab with the cursor keeps the screen's size.
move_pointer 10 10
"$cli" grab --cursor "$w/full.ppm"
check size "$w/full.ppm" 1920 1080
echo "grab_cursor: ok"
