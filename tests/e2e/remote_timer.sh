#!/usr/bin/env bash
# The Timer button: a Capture with the button down captures about 7.1 s later; raising the button
# during the countdown cancels it, and the next Capture is immediate.
source "$(dirname "$0")/lib/e2e.bash"

write_user_values '"FCursor"=dword:00000000\n"HideRemote"=dword:00000000'
start_zentrap
clear_clipboard

click_remote 50 183
click_remote 50 155
t0=$(now_ms)
image_within 10 || fail "no capture within 10 s of the delayed Capture"
elapsed=$(($(now_ms) - t0))
[ "$elapsed" -ge 6900 ] && [ "$elapsed" -le 7900 ] || fail "the delayed capture came after $elapsed ms, not about 7100"

clear_clipboard
click_remote 50 183
click_remote 50 155
# The Timer button goes up three seconds into the countdown: the wait is what the test is about.
sleep 3
click_remote 50 183
if image_within 6; then fail "the countdown captured although the Timer button went up"; fi
t1=$(now_ms)
click_remote 50 155
image_within 2 || fail "the Capture after the cancelled countdown was not immediate"
echo "timer ok: delayed capture after $elapsed ms, cancelled countdown, immediate capture after $(($(now_ms) - t1)) ms"
close_zentrap
