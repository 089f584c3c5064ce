#!/usr/bin/env bash
# Every window that lays itself out (About, View, Save As with each settings page, Preferences, the
# Image Editor, the Print Preview, the exit question, the hotkey failure dialog, help) gives each of
# its texts the room it needs, keeps its controls inside and apart, at 96, 120, 144 and 192 pixels per
# inch in the fonts of the test desktop: zentrap-layout-check shows the real windows and measures them.
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
