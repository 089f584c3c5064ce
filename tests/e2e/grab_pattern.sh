# zentrap-cli grab returns the screen's pixels exactly: inside a window, across the screen's
# edges (cut to the screen), for the whole screen, and through the image formats.
source "$(dirname "${BASH_SOURCE[0]}")/lib/e2e.bash"
cli="$ZENTRAP_BIN/zentrap-cli"
w="$work"

start_pattern 101,53,317,211
start_pattern 0,0,60,60
# The pointer sits inside the rectangle: without --cursor it must not show.
move_pointer 200 120

"$cli" grab --rect 101,53,317,211 "$w/window.ppm"
check size "$w/window.ppm" 317 211
check pattern "$w/window.ppm" 0 0 317 211 0 0

"$cli" grab --rect 150,80,50,40 "$w/inner.ppm"
check pattern "$w/inner.ppm" 0 0 50 40 49 27

# A rectangle is cut to the screen: only the part on it is read, kept and written.
"$cli" grab --rect -10,-5,30,30 "$w/corner.ppm"
check size "$w/corner.ppm" 20 25
check pattern "$w/corner.ppm" 0 0 20 25 0 0
"$cli" grab --rect 1900,1070,40,30 "$w/far.ppm"
check size "$w/far.ppm" 20 10
# 16384 x 16384 at the corner would be 768 MiB of pixels; the screen's part is 6 MiB.
peak=$( { /usr/bin/time -f %M "$cli" grab --rect 0,0,16384,16384 "$w/huge.ppm"; } 2>&1 >/dev/null)
check size "$w/huge.ppm" 1920 1080
check pattern "$w/huge.ppm" 101 53 317 211 0 0
[ "$peak" -lt 200000 ] || fail "a rectangle mostly off the screen took $peak KB"
# A rectangle entirely off the screen is an error, not a black picture.
for off in 5000,5000,8,8 -8,0,8,8 0,-8,8,8 1920,0,8,8 0,1080,8,8; do
  set +e
  "$cli" grab --rect "$off" "$w/outside.ppm" 2>"$w/err"
  status=$?
  set -e
  [ "$status" = 1 ] || fail "grab --rect $off exited with $status"
  grep -q "off the 1920 x 1080 screen" "$w/err" || fail "grab --rect $off: $(cat "$w/err")"
  [ ! -e "$w/outside.ppm" ] || fail "grab --rect $off wrote a file"
done

# Without --rect: the primary screen, here through the PNG and BMP writers.
info=$("$cli" grab --info "$w/full.png")
[ "$info" = "size 1920x1080 bits 24 palette 0" ] || fail "info: $info"
check size "$w/full.png" 1920 1080
check pattern "$w/full.png" 101 53 317 211 0 0
"$cli" grab --rect 101,53,317,211 "$w/window.bmp"
check pattern "$w/window.bmp" 0 0 317 211 0 0

# Bad arguments: one line of error, exit status 2, no file.
for bad in "" "--rect 1,2,3" "--rect 1,2,0,5" "--rect 1,2,x,5" "--rect 1,2,+3,5" "--rect 0,0,65536,5" \
  "--rect 0,0,16385,16385" "--bogus $w/x.ppm" "$w/a.ppm $w/b.ppm" "$w/x.xyz"; do
  set +e
  # shellcheck disable=SC2086
  "$cli" grab $bad 2>"$w/err"
  status=$?
  set -e
  [ "$status" = 2 ] || fail "grab $bad exited with $status"
  grep -q "zentrap-cli grab:" "$w/err" || fail "grab $bad printed no error"
done
[ ! -e "$w/x.ppm" ] || fail "a refused grab wrote a file"
# Sizes beyond the picture limits are refused as such, before the screen is read.
for huge in 0,0,65536,5 0,0,16385,16385; do
  set +e
  DISPLAY=:999 "$cli" grab --rect "$huge" "$w/x.ppm" 2>"$w/err"
  status=$?
  set -e
  [ "$status" = 2 ] && grep -q "Image too large" "$w/err" || fail "grab --rect $huge: $status $(cat "$w/err")"
done
# An unknown extension is a usage error found before the display is even opened.
set +e
DISPLAY=:999 "$cli" grab "$w/picture.xyz" 2>/dev/null
status=$?
set -e
[ "$status" = 2 ] || fail "an unknown extension exited with $status"
if DISPLAY=:999 "$cli" grab "$w/nodisplay.ppm" 2>/dev/null; then fail "a grab without a display succeeded"; fi
echo "grab_pattern: ok"
