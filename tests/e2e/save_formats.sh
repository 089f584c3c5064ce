#!/usr/bin/env bash
# Save As on a real capture: each of the five formats chosen on the active variant and saved through
# the file dialog gives exactly the bytes of `zentrap-cli encode` with the same settings, and the
# window's values (format, folder, placement, background) come back after a restart.
source "$(dirname "$0")/lib/e2e.bash"

run_program_copy
# Keep the Save As window clear of the always-on-top Remote Control.
printf '[Save]\nLeft=60\nTop=60\n' >"$ini"

out="$work/saved"
mkdir -p "$out"

prepare_pattern_capture

# Captures, then opens Save As with the Remote Control's button; sets save_wid.
capture_and_open_save_as() {
  rm -f "$work/capture.png" "$work/capture.bmp"
  capture_pattern "$work/capture"
  click_remote 79 127
  save_wid=$(wait_window "Zentrap Save As") || fail "the Save As window did not open"
  wait_active "$save_wid" || fail "the Save As window did not take the keyboard"
}

start_zentrap
capture_and_open_save_as
window_geometry "$save_wid"
echo "Save As window at $X,$Y size ${WIDTH}x$HEIGHT"

cli="$real_bin/zentrap-cli"
formats=(bmp jpeg gif png tiff)
extensions=(bmp jpg gif png tif)
options=("" "--quality 75 --progressive" "--palette 8 --colors 32 --dither 0 --compression lzw" "" "")
xdotool key --clearmodifiers Home
for i in 0 1 2 3 4; do
  [ "$i" -gt 0 ] && xdotool key --clearmodifiers Down
  file="$out/variant$i.${extensions[$i]}"
  save_through_dialog "$out/variant$i" "$file"
  # shellcheck disable=SC2086
  "$cli" encode --format "${formats[$i]}" ${options[$i]} "$work/capture.png" "$work/expected$i.${extensions[$i]}" ||
    fail "zentrap-cli encode ${formats[$i]} failed"
  cmp -s "$file" "$work/expected$i.${extensions[$i]}" ||
    fail "${formats[$i]}: the saved file ($(stat -c %s "$file") bytes) differs from zentrap-cli encode ($(stat -c %s "$work/expected$i.${extensions[$i]}") bytes)"
  echo "${formats[$i]} ok: $(stat -c %s "$file") bytes, equal to zentrap-cli encode"
done

# The user moves the window; it opens there again after the restart.
xdotool windowmove --sync "$save_wid" 300 200 || true
window_geometry "$save_wid"
moved_to="$X,$Y"

# Close the window (Esc) and the program: the values are written.
xdotool key --clearmodifiers Escape
wait_for 5 "the Save As window to close" window_unmapped "$save_wid"
close_zentrap
section=$(sed -n '/^\[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap\]/,/^\[/p' "$user_hive")
for expected in '"Fmt1"=dword:00000004' '"Fmt2"=dword:00000001' '"ActiveVar"=dword:00000001' \
  "\"SaveDir\"=\"$out/\"" '"JPEGCompressionQuality2"=dword:0000004b' '"GIFColorReduction3"=dword:00000008'; do
  grep -qxF "$expected" <<<"$section" || fail "the user hive lacks $expected"
done
grep -qx 'Background=8421376' "$ini" || fail "the settings file lacks Background=8421376: $(cat "$ini")"
grep -qx 'Width=690' "$ini" || fail "the settings file lacks Width=690: $(cat "$ini")"

# After a restart the window starts in TIFF on variant 1 and offers the folder just used.
start_zentrap
capture_and_open_save_as
window_geometry "$save_wid"
[ "$X,$Y" = "$moved_to" ] || fail "Save As reopened at $X,$Y, it was left at $moved_to ($(tr '\n' ' ' <"$ini"))"
save_through_dialog "again" "$out/again.tif"
"$cli" encode --format tiff "$work/capture.png" "$work/again.tif"
cmp -s "$out/again.tif" "$work/again.tif" || fail "after the restart the TIFF differs from zentrap-cli encode"
xdotool key --clearmodifiers Escape
wait_for 5 "the Save As window to close" window_unmapped "$save_wid"
close_zentrap
echo "save formats ok"
