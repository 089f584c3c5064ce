#!/usr/bin/env bash
# Printing for real through a private CUPS with a PDF queue: a capture of the test pattern printed
# with Copies 3 is one job of three pages; on each page, read back with pdftoppm at the queue's
# resolution, the image lies where the page model puts it and holds the capture's pixels. A job
# refused by the queue is reported after it has ended, and the window goes on working.
if [ -z "${PRINT_SERVER_DIR:-}" ]; then
  exec "$(dirname "$0")/../../scripts/with-print-server" bash "$0" "$@"
fi
source "$(dirname "$0")/lib/e2e.bash"
queue=ZentrapPDF
run_program_copy
# The exit question stays on: closing without it shows that printing cleared the unsaved mark.
prepare_pattern_capture

# Placed by offsets: 1.00 inch from the left edge, 1.50 inch from the top, at 200 % (pdftoppm smooths
# images enlarged less than four times, and the pixel check needs them sharp).
printf '[Print]\nLeft=60\nTop=60\nInches=1\nCenterHorz=0\nCenterVert=0\nXOffset=1\nYOffset=1.5\nZoom=200\nFitToPage=0\nCopies=3\n' >"$ini"

start_zentrap
capture_pattern "$work/capture"
click_remote 21 127 # Print
preview_wid=$(wait_window "Zentrap Print Preview") || fail "the Print Preview did not open"
activate "$preview_wid"
screenshot print-preview
xdotool key --clearmodifiers Return

completed_jobs() { lpstat -W completed -o "$queue" 2>/dev/null | wc -l; }
first_job_done() { [ "$(completed_jobs)" -ge 1 ] && [ -s "$PRINT_SERVER_OUTPUT" ]; }
wait_for 30 "the first job to complete" first_job_done
[ "$(completed_jobs)" -eq 1 ] || fail "expected one completed job, CUPS lists $(completed_jobs)"
pages=$(pdfinfo "$PRINT_SERVER_OUTPUT" | awk '/^Pages:/ {print $2}')
[ "$pages" = 3 ] || fail "the job has $pages pages, not 3"
lpstat -W completed -o "$queue" | grep -q . || fail "no job listed"

# The queue's resolution is 300 dpi; Xvfb's screen has 96 pixels per inch.
pdftoppm -r 300 -png "$PRINT_SERVER_OUTPUT" "$work/page" || fail "pdftoppm failed"
cat >"$work/printed.py" <<'PYEOF'
import sys
from PIL import Image

capture = Image.open(sys.argv[1]).convert("RGB")
w, h = capture.size
dpi, ppi = 300, 96
def muldiv(a, b, c):  # halves away from zero
    return (a * b + c // 2) // c
def half_even(v):
    return round(v)
# The page model: left 1.00 in, top 1.50 in, zoom 2; positions on the sheet in printer pixels.
left, top = half_even(1.0 * dpi), half_even(1.5 * dpi)
width, height = half_even(muldiv(w, dpi, ppi) * 2.0), half_even(muldiv(h, dpi, ppi) * 2.0)
cp = capture.load()
for path in sys.argv[2:]:
    page = Image.open(path).convert("RGB")
    if page.size != (2550, 3300):
        sys.exit(f"{path}: page is {page.size} pixels, not US Letter at 300 dpi")
    px = page.load()
    box = page.point(lambda v: 255 - v).getbbox()  # everything that is not white paper
    want = (left, top, left + width, top + height)
    if box is None or any(abs(a - b) > 1 for a, b in zip(box, want)):
        sys.exit(f"{path}: the image covers {box}, the page model puts it at {want}")
    # The middle of each image pixel's block holds that pixel.
    sx, sy = width / w, height / h
    bad = 0
    for j in range(h):
        for i in range(w):
            x, y = int(left + (i + 0.5) * sx), int(top + (j + 0.5) * sy)
            if px[x, y] != cp[i, j]:
                bad += 1
                if bad < 5:
                    print(f"{path}: image pixel {i},{j} printed as {px[x, y]}, captured {cp[i, j]}")
    if bad:
        sys.exit(f"{path}: {bad} of {w * h} image pixels differ from the capture")
    print(f"{path}: image at {box}, {w}x{h} pixels as captured")
PYEOF
"$PY" "$work/printed.py" "$work/capture.png" "$work"/page-*.png || fail "the printed pages do not show the capture where the layout puts it"

# The queue stops accepting jobs while the window is open: the error comes after the job.
cupsreject "$queue"
activate "$preview_wid"
xdotool key --clearmodifiers Return
box_wid=$(wait_window "Zentrap") || fail "no error box for the refused job"
screenshot print-error
transient=$(xprop -id "$box_wid" WM_TRANSIENT_FOR 2>/dev/null | grep -o '0x[0-9a-f]*' || true)
[ -n "$transient" ] || fail "the error box is not transient for a window"
activate "$box_wid"
xdotool key --clearmodifiers Return
wait_for 5 "the error box to close" window_unmapped "$box_wid"
xdotool search --onlyvisible --name '^Zentrap Print Preview$' >/dev/null || fail "the Print Preview closed after the failed job"

# Once the queue accepts jobs again the same window prints again.
cupsaccept "$queue"
activate "$preview_wid"
xdotool key --clearmodifiers Return
second_job_done() { [ "$(completed_jobs)" -ge 2 ]; }
poll 30 second_job_done || true
[ "$(completed_jobs)" -eq 2 ] || fail "the window did not print again after the refused job"

activate "$preview_wid"
xdotool key --clearmodifiers Escape
wait_for 5 "Esc to close the Print Preview" window_unmapped "$preview_wid"
xdotool search --onlyvisible --name '^Zentrap Print Preview$' >/dev/null && fail "Esc did not close the Print Preview"
grep -q '^Copies=3' "$ini" || fail "the Copies text was not written back: $(cat "$ini")"
close_zentrap
echo "print job ok"
