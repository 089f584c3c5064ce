#!/usr/bin/env bash
# The Remote Control shows its tooltips whenever the pointer rests on a control, also while another
# window (here the Capture Frame) has the keyboard, and none with "ShowHint" off. A hovered button is
# highlighted without turning into a glaring white box on the dark body.
source "$(dirname "$0")/lib/e2e.bash"

write_user_values '"FCursor"=dword:00000000'
start_zentrap
frame_wid=$(wait_window "Zentrap Capture Frame") || fail "no Capture Frame"

# tooltip_after_rest X Y: succeeds when a new window of the program (the tooltip) shows up within 3 s
# of the pointer resting on window point X,Y of the Remote Control.
tooltip_shown() { [ -n "$(tooltip)" ]; }
no_tooltip() { [ -z "$(tooltip)" ]; }
# The shown tooltip: a visible override-redirect window of the program.
tooltip() {
  local w
  for w in $(program_windows); do override_redirect "$w" && echo "$w" && return 0; done
  return 0
}
tooltip_after_rest() {
  window_geometry "$remote_wid"
  move_pointer $((X + 50)) $((Y + 300)) # off the window
  wait_for 10 "the last tooltip to go" no_tooltip
  move_pointer $((X + $1)) $((Y + $2))
  # The tooltip's delay is part of what is tested: it must come within 3 s of the rest.
  poll 3 tooltip_shown
}

xdotool windowactivate --sync "$frame_wid" 2>/dev/null || true
wait_active "$frame_wid" || fail "the Capture Frame cannot be given the keyboard"
tooltip_after_rest 50 155 || fail "no tooltip on the Capture button while the Capture Frame has the keyboard"
tooltip_after_rest 29 16 || fail "no tooltip on the Menu button while the Capture Frame has the keyboard"
xdotool windowactivate --sync "$remote_wid" 2>/dev/null || true
tooltip_after_rest 79 183 || fail "no tooltip on the Preferences button while the Remote Control has the keyboard"

# hover_check NAME X Y W H: the control at window rectangle X,Y,W,H, plain and with the pointer on it.
hover_check() {
  window_geometry "$remote_wid"
  local left=$((X + $2)) top=$((Y + $3))
  move_pointer $((X + 50)) $((Y + 300))
  wait_for 10 "the tooltip to go" no_tooltip
  grab_settled "$left,$top,$4,$5" "$work/$1-plain.png"
  move_pointer $((left + $4 / 2)) $((top + $5 / 2))
  # The highlight is painted after the pointer arrives: wait for a change (if one comes), then for
  # the painting to settle.
  poll 5 grab_is_not "$left,$top,$4,$5" "$work/$1-plain.png" || true
  grab_settled "$left,$top,$4,$5" "$work/$1-hovered.png"
  window_check hover "$work/$1-plain.png" "$work/$1-hovered.png" || fail "$1: the hover look is wrong"
}
hover_check capture 10 144 80 22
hover_check menu 21 8 17 17
hover_check close 62 8 17 17
hover_check timer 39 172 22 22
close_zentrap

# With "ShowHint" off no tooltip appears.
write_user_values '"FCursor"=dword:00000000\n"ShowHint"=dword:00000000'
start_zentrap
tooltip_after_rest 50 155 && fail "a tooltip appeared with ShowHint off"
close_zentrap
echo "tooltips and hover ok"
