#!/usr/bin/env bash
# A capture through the Capture Frame's hole over the pattern window: the clipboard's PNG and BMP
# hold exactly the pattern under the hole, and the image has the hole's size.
source "$(dirname "$0")/lib/e2e.bash"

start_pattern 200,150,900,600
write_user_values '"CropLeft"=dword:00000190\n"CropTop"=dword:0000012c\n"CropWidth"=dword:00000140\n"CropHeight"=dword:000000dc\n"Left"=dword:00000514\n"Top"=dword:000000c8\n"FCursor"=dword:00000000'
start_zentrap

frame_wid=$(wait_window "Zentrap Capture Frame") || fail "the Capture Frame is not shown"
window_geometry "$frame_wid"
frame="$X $Y $WIDTH $HEIGHT"

capture_pattern "$work/capture"
origin=$(check locate "$work/capture.png") || fail "the capture is not the pattern"
check same "$work/capture.png" "$work/capture.bmp" || fail "the clipboard's PNG and BMP differ"
size=$("$PY" -c "from PIL import Image; print(*Image.open('$work/capture.png').size)")
read -r fx fy fw fh <<<"$frame"
read -r iw ih <<<"$size"
read -r ox oy <<<"$origin"
border=$(((fw - iw) / 2))
[ $((fh - ih)) -eq $((2 * border)) ] || fail "image ${iw}x$ih in a ${fw}x$fh frame: the bands differ"
[ "$border" -gt 0 ] || fail "image ${iw}x$ih is not smaller than the frame ${fw}x$fh"
[ "$ox,$oy" = "$((fx + border - 200)),$((fy + border - 150))" ] ||
  fail "the image starts at pattern $ox,$oy; the hole starts at $((fx + border - 200)),$((fy + border - 150))"
echo "capture ok: ${iw}x$ih through a $border-pixel band, pattern origin $ox,$oy"
