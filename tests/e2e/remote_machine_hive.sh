#!/usr/bin/env bash
# The machine-wide hive is a read-only fallback: its values are honoured where the user hive has
# none, the user hive wins where it has one, and the machine hive is never written.
source "$(dirname "$0")/lib/e2e.bash"

write_machine_values '"Left"=dword:00000064\n"Top"=dword:00000078\n"HideRemote"=dword:00000000\n"Skin"="/nowhere/skin.bmp"'
cp "$ZENTRAP_MACHINE_HIVE" "$work/machine.before"
write_user_values '"Top"=dword:00000096\n"Skin"=""'

# The machine hive's skin does not exist: the warning comes first, then the built-in body.
launch_zentrap
warning=$(wait_window "Warning") || fail "no warning for the machine hive's missing skin"
activate "$warning"
xdotool key --clearmodifiers Return
await_remote
window_geometry "$remote_wid"
[ "$X,$Y" = "100,150" ] || fail "Remote Control at $X,$Y, expected Left from the machine hive and Top from the user's"
close_zentrap

cmp -s "$ZENTRAP_MACHINE_HIVE" "$work/machine.before" || fail "the machine hive was written"
for expected in '"Left"=dword:00000064' '"Top"=dword:00000096' '"HideRemote"=dword:00000000' \
  '"Skin"="/nowhere/skin.bmp"'; do
  grep -qxF "$expected" "$user_hive" || fail "the user hive lacks $expected"
done
echo "machine hive ok"
