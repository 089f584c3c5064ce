#!/usr/bin/env bash
# The printable area is the queue's own, for the paper in use: on a queue without margins Fit fills
# the whole sheet, on a queue with unequal margins an image dragged past the printable area is cut at
# its edge on paper as in the preview. A queue deleted and a scheduler stopped while the Print
# Preview is open are reported in plain words.
if [ -z "${PRINT_SERVER_DIR:-}" ]; then
  exec "$(dirname "$0")/../../scripts/with-print-server" bash "$0" "$@"
fi
source "$(dirname "$0")/lib/e2e.bash"
run_program_copy
prepare_pattern_capture '"ExitConfirmation"=dword:00000000'

# A second queue like the first but printing to the sheet's edges.
sed 's|^\*ImageableArea Letter/US Letter: .*|*ImageableArea Letter/US Letter: "0 0 612 792"|' \
  "$ZENTRAP_SOURCE_DIR/tests/data/print/ZentrapTestPDF.ppd" >"$work/borderless.ppd"
borderless_pdf="$PRINT_SERVER_DIR/out/Borderless.pdf"
lpadmin -p Borderless -v "file://$borderless_pdf" -P "$work/borderless.ppd" -E 2>/dev/null || fail "lpadmin failed"
lpadmin -d Borderless

# open_preview: captures the pattern and opens the Print Preview; its id in $preview_wid.
open_preview() {
  capture_pattern "$work/capture"
  click_remote 21 127 # Print
  preview_wid=$(wait_window "Zentrap Print Preview") || fail "the Print Preview did not open"
  activate "$preview_wid"
}
# print_to PDF: Enter in the Print Preview, then the page at 300 dpi in $work/page-1.png.
print_to() {
  rm -f "$1" "$work"/page-*.png
  activate "$preview_wid"
  xdotool key --clearmodifiers Return
  wait_for 30 "the job to reach $1" test -s "$1"
  wait_for 10 "the PDF to be complete" grep -q '%%EOF' "$1"
  pdftoppm -r 300 -png "$1" "$work/page" || fail "pdftoppm failed"
}
# message_after_enter TEXT: Enter in the Print Preview gives a message box holding TEXT.
message_after_enter() {
  local before box
  before=$(program_windows)
  activate "$preview_wid"
  xdotool key --clearmodifiers Return
  box=$(new_window "$before") || fail "no message box for: $1"
  screenshot "print-message-$2"
  echo none | xclip -selection clipboard
  activate "$box"
  wait_for 10 "the message box to take the keyboard" window_focused "$box"
  xdotool key --clearmodifiers ctrl+c
  message_is() { xclip -selection clipboard -o 2>/dev/null | grep -qF -- "$1"; }
  poll 5 message_is "$1" || fail "the message box says '$(xclip -selection clipboard -o 2>/dev/null)', not '$1'"
  xdotool key --clearmodifiers Return
  wait_for 5 "the message box to close" window_unmapped "$box"
}

cat >"$work/placed.py" <<'PYEOF'
import sys
from PIL import Image

# page.png capture.png dpi ppi: margins "l,t,r,b" in printer pixels, then the layout's values.
page_path, capture_path, margins, mode = sys.argv[1:5]
dpi, ppi = 300, 96
ml, mt, mr, mb = (int(v) for v in margins.split(","))
page = Image.open(page_path).convert("RGB")
capture = Image.open(capture_path).convert("RGB")
pw, ph = page.size
w, h = capture.size
if (pw, ph) != (2550, 3300):
    sys.exit(f"the page is {page.size} pixels, not US Letter at 300 dpi")
def muldiv(a, b, c):
    return (a * b + c // 2) // c
printable_w, printable_h = pw - ml - mr, ph - mt - mb
if mode == "fit":
    # Fit: the side that fills the printable area first decides the zoom; centred on that area.
    if printable_w / w > printable_h / h:
        zoom = (printable_h / dpi) / (h / ppi)
    else:
        zoom = (printable_w / dpi) / (w / ppi)
    img_w, img_h = w / ppi * zoom, h / ppi * zoom
    left = ml / dpi + (printable_w / dpi - img_w) / 2
    top = mt / dpi + (printable_h / dpi - img_h) / 2
else:
    zoom, left, top = (float(v) for v in mode.split(","))
x, y = round(left * dpi), round(top * dpi)
width, height = round(muldiv(w, dpi, ppi) * zoom), round(muldiv(h, dpi, ppi) * zoom)
# On paper only the printable area's part of the image.
want = (max(x, ml), max(y, mt), min(x + width, pw - mr), min(y + height, ph - mb))
box = page.point(lambda v: 255 - v).getbbox()
if box is None or any(abs(a - b) > 1 for a, b in zip(box, want)):
    sys.exit(f"the image covers {box} on paper; with the queue's margins {margins} it belongs at {want}")
px, cp = page.load(), capture.load()
bad = 0
# pdftoppm smooths images enlarged less than four times: only those enlarged more are compared.
for j in range(0, h if width >= 4 * w else 0, 7):
    for i in range(0, w, 7):
        sx, sy = int(x + (i + 0.5) * width / w), int(y + (j + 0.5) * height / h)
        if want[0] <= sx < want[2] and want[1] <= sy < want[3] and px[sx, sy] != cp[i, j]:
            bad += 1
if bad:
    sys.exit(f"{bad} sampled image pixels differ from the capture")
print(f"image at {box}")
PYEOF

# The queue without margins, Fit on: the image fills the sheet's width or height.
printf '[Print]\nFitToPage=1\nCopies=1\nShowMargins=1\n' >"$ini"
start_zentrap
open_preview
screenshot print-preview-borderless
print_to "$borderless_pdf"
"$PY" "$work/placed.py" "$work/page-1.png" "$work/capture.png" 0,0,0,0 fit || fail "Fit on the queue without margins"

# After a click on Defaults (fit off, 100 %, centred on the sheet) Enter prints again. The button is
# the last thing in the settings panel: the lowest pixels there that are not the window's face.
defaults_at() {
  grab_window "$preview_wid" "$work/preview.png"
  "$PY" - "$work/preview.png" "$(scaled 81)" "$(scaled 40)" <<'PYEOF'
import sys
from PIL import Image
img = Image.open(sys.argv[1]).convert("RGB")
w, h = img.size
x = w - int(sys.argv[2])
y = h - int(sys.argv[3])
face = img.getpixel((x, y))
while y > 0 and img.getpixel((x, y)) == face:
    y -= 1
print(x, y - 6)
PYEOF
}
read -r dx dy < <(defaults_at)
window_geometry "$preview_wid"
move_pointer $((X + dx)) $((Y + dy)) click 1
print_to "$borderless_pdf"
"$PY" "$work/placed.py" "$work/page-1.png" "$work/capture.png" 0,0,0,0 \
  "1,$("$PY" -c "print((8.5 - 292 / 96) / 2)"),$("$PY" -c "print((11 - 192 / 96) / 2)")" \
  || fail "Enter after Defaults did not print the image at 100 % in the middle of the sheet"

# The queue disappears while the window is open.
lpadmin -x Borderless
message_after_enter 'The printer "Borderless" no longer exists.' gone
close_preview() {
  activate "$preview_wid"
  xdotool key --clearmodifiers Escape
  wait_for 5 "Esc to close the Print Preview" window_unmapped "$preview_wid"
}
close_preview
close_zentrap

# The queue with margins of 0.25, 0.75, 0.5 and 0.5 inch (left, top, right, bottom): the image at
# 200 % placed 4 inches from the left runs over the printable area's right edge.
lpadmin -d ZentrapPDF
printf '[Print]\nFitToPage=0\nCenterHorz=0\nCenterVert=0\nInches=1\nXOffset=4\nYOffset=1.5\nZoom=200\nCopies=1\n' >"$ini"
start_zentrap
open_preview
screenshot print-preview-margins
print_to "$PRINT_SERVER_OUTPUT"
"$PY" "$work/placed.py" "$work/page-1.png" "$work/capture.png" 75,225,150,150 2,4,1.5 \
  || fail "the image on the queue with unequal margins"

# The scheduler stops while the window is open.
kill "$PRINT_SERVER_PID"
wait_for 10 "the scheduler to stop" process_ended "$PRINT_SERVER_PID"
message_after_enter 'The print service is not running.' stopped
xdotool search --onlyvisible --name '^Zentrap Print Preview$' >/dev/null || fail "the Print Preview closed after the failure"
close_preview
close_zentrap
echo "printable area ok"
