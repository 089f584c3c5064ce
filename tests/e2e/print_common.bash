# Shared steps of the printing end-to-end scripts (sourced): the program runs from a copy in the
# work folder so that its settings file lands there, with the Print Preview placed clear of the
# Remote Control; a capture of the test pattern; opening the Print Preview.
source "$(dirname "${BASH_SOURCE[0]}")/remote_common.bash"

run_program_copy

# The frame at 400,300 with 320 x 220 pixels (a 292 x 192 hole); the Remote Control at the right.
# The exit question stays on: closing without it shows that printing cleared the unsaved mark.
start_pattern 200,150,900,600
capture_values='"CropLeft"=dword:00000190\n"CropTop"=dword:0000012c\n"CropWidth"=dword:00000140\n"CropHeight"=dword:000000dc\n"Left"=dword:00000700\n"Top"=dword:00000300\n"FCursor"=dword:00000000'
write_user_values "$capture_values"

# Captures the pattern into $work/capture.png (from the clipboard).
capture_pattern() {
  click_remote 50 155
  read_clipboard_images "$work/capture"
}

# Presses the Remote Control's Print button.
press_print_button() {
  click_remote 21 127
}

# Saves a screen grab as $SHOTS_DIR/$1.png when SHOTS_DIR is set (for looking at the window).
screenshot() {
  [ -n "${SHOTS_DIR:-}" ] || return 0
  mkdir -p "$SHOTS_DIR"
  grab_root 0,0,1920,1080 "$SHOTS_DIR/$1.png"
}
