#!/usr/bin/env bash
# Started without a session bus, the program starts none: no D-Bus daemon of its display is left
# once it has ended.
source "$(dirname "$0")/lib/e2e.bash"

unset DBUS_SESSION_BUS_ADDRESS
bus_processes() { display_pids dbus-daemon; display_pids dbus-launch; }
[ -z "$(bus_processes)" ] || fail "a D-Bus daemon of this display runs before the start: $(bus_processes | xargs)"
start_zentrap
capture_pattern "$work/capture"
close_zentrap
[ -z "$(bus_processes)" ] || fail "D-Bus processes left behind: $(bus_processes | xargs)"
echo "no session bus started"
