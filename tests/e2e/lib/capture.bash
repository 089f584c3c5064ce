# A capture of the test pattern through the Capture Frame, as the save, edit and print scripts
# start: the pattern window at 200,150 (900 x 600), the frame at 400,300 with 320 x 220 pixels (a
# 292 x 192 hole), the Remote Control at 1792,768, the cursor left out.

pattern_capture_values='"CropLeft"=dword:00000190\n"CropTop"=dword:0000012c\n"CropWidth"=dword:00000140\n"CropHeight"=dword:000000dc\n"Left"=dword:00000700\n"Top"=dword:00000300\n"FCursor"=dword:00000000'

# prepare_pattern_capture [LINES]: shows the pattern and writes the user hive (with LINES added).
prepare_pattern_capture() {
  start_pattern 200,150,900,600
  write_user_values "$pattern_capture_values${1:+\n$1}"
}

# capture_pattern FILE: the Remote Control's Capture button; the clipboard's image in FILE.png/.bmp.
# The clipboard is cleared first: an image still kept from an earlier run is not the capture.
capture_pattern() {
  clear_clipboard
  click_remote 50 155
  read_clipboard_images "$1"
}
