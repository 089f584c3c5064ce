# On an 8-bit PseudoColor display the copy is still 24 bits, with the colormap's colours, and it
# carries the system palette with as many entries as the display reports.
source "$(dirname "${BASH_SOURCE[0]}")/lib/e2e.bash"

if [ -z "${ZENTRAP_PALETTE_DESKTOP:-}" ]; then
  # Runs itself again on a desktop of its own with an 8-bit screen (no window manager: only
  # the X server's colormap matters here).
  ZENTRAP_PALETTE_DESKTOP=1 TEST_DESKTOP_SCREEN=1024x768x8 TEST_DESKTOP_WM=0 \
    "$ZENTRAP_SOURCE_DIR/scripts/with-test-desktop" bash "${BASH_SOURCE[0]}"
  exit $?
fi

cli="$ZENTRAP_BIN/zentrap-cli"
w="$work"
xdpyinfo | grep -q "depth of root window: *8 planes" || fail "the test screen is not 8 bits deep"
entries=$(xdpyinfo | awk '/default visual id:/ {v=$4} /^ *visual id:/ {cur=$3}
  /available colormap entries:/ && cur==v {print $4; exit}')
[ -n "$entries" ] || fail "xdpyinfo reports no colormap size"

xsetroot -solid '#ff8000'
info=$("$cli" grab --info --rect 10,20,64,48 "$w/part.ppm")
[ "$info" = "size 64x48 bits 24 palette $entries" ] || fail "info: $info (the display reports $entries entries)"
check solid "$w/part.ppm" 0 0 64 48 255 128 0

xsetroot -solid '#2040c0'
info=$("$cli" grab --info --cursor "$w/full.png")
[ "$info" = "size 1024x768 bits 24 palette $entries" ] || fail "info: $info"
check solid "$w/full.png" 0 0 300 300 32 64 192
echo "grab_palette: ok"
