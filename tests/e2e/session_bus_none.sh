#!/usr/bin/env bash
# Started without a session bus, the program starts none: no D-Bus process of its display is new
# once it has ended.
source "$(dirname "$0")/lib/e2e.bash"

unset DBUS_SESSION_BUS_ADDRESS
bus_processes() { { display_pids dbus-daemon; display_pids dbus-launch; } | sort; }
# One left by an earlier desktop of the same display number is not the program's.
before=$(bus_processes)
start_zentrap
capture_pattern "$work/capture"
close_zentrap
new=$(comm -13 <(echo "$before") <(bus_processes))
[ -z "$new" ] || fail "D-Bus processes left behind: $(echo "$new" | xargs)"
echo "no session bus started"
