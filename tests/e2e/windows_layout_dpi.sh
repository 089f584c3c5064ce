#!/usr/bin/env bash
# The About box, the View and every settings page of Save As give each of their texts the room it needs
# at 96, 120, 144 and 192 pixels per inch, in the fonts of the test desktop: zentrap-layout-check shows
# the real windows and measures every label, check box, list and button against its text.
set -uo pipefail
: "${ZENTRAP_BIN:?ZENTRAP_BIN must name the bin folder of the build}"
: "${DISPLAY:?run under scripts/with-test-desktop}"

status=0
for dpi in 96 120 144 192; do
  # Toolkits read the font DPI from this resource when they start.
  echo "Xft.dpi: $dpi" | xrdb -merge - || { echo "FAIL: xrdb could not set the DPI"; exit 1; }
  "$ZENTRAP_BIN/zentrap-layout-check" || status=1
done
exit $status
