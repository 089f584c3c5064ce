#!/usr/bin/env bash
# The X11 hotkey service and PrintScreen watch through the hotkey harness, against other X
# clients: a combination another client holds is refused while the rest work, lock keys do not
# matter, a keyboard-map change moves the grabs to the new keys, key names come from the map, and
# PrintScreen is reported (also while held) while the focused window still receives it, and presses
# that pile up while the program is busy are delivered once.
source "$(dirname "$0")/lib/e2e.bash"
xmodmap -pke >"$work/keymap"
at_exit 'exec 7>&- 2>/dev/null; xmodmap "$work/keymap" 2>/dev/null'
log_on_failure harness "$work/harness.out"
log_on_failure harness "$work/harness.err"

# wait_line FILE LINE: waits up to 10 s until FILE holds LINE.
wait_line() { poll 10 file_has_line "$1" "$2"; }
# mark TEXT: writes TEXT through the harness, which echoes it once it has handled every key pressed
# before, so that later lines can be told apart.
mark() {
  echo "$1" >&7
  wait_line "$work/harness.out" "$1" || fail "the harness did not echo $1"
}
# between FROM TO: the harness's lines between the marks FROM and TO, as one line.
between() { sed -n "/^$1\$/,/^$2\$/p" "$work/harness.out" | sed '1d;$d' | tr '\n' '|'; }

start_test_keys "$work/grabber.out" grabbed --grab 5 p

mkfifo "$work/in"
exec 7<>"$work/in"
"$ZENTRAP_BIN/zentrap-hotkey-harness" 6043 6046 6045 6053 6050 <&7 >"$work/harness.out" 2>"$work/harness.err" &
started "$!"
wait_line "$work/harness.out" ready || fail "the harness did not start"
for id in 101 102 103 104; do
  grep -qx "registered $id yes" "$work/harness.out" || fail "hotkey $id was not registered"
done
grep -qx "registered 105 no" "$work/harness.out" || fail "Ctrl+Shift+P, held by another client, was not refused"

start_test_keys "$work/window.out" ready --window
xdotool search --name '^zentrap-test-keys$' windowactivate --sync >/dev/null
wait_line "$work/window.out" focus || fail "the test window did not get the focus"

mark plain
xdotool key ctrl+shift+c ctrl+shift+p
mark locks
xdotool key Caps_Lock Num_Lock ctrl+shift+f Caps_Lock ctrl+shift+e Num_Lock
mark done-locks
[ "$(between plain locks)" = "hotkey 101|" ] || fail "Ctrl+Shift+C, then Ctrl+Shift+P held elsewhere: $(between plain locks)"
[ "$(between locks done-locks)" = "hotkey 102|hotkey 103|" ] ||
  fail "with CapsLock and NumLock on: $(between locks done-locks)"

# Presses that arrive while the program is busy (a held key's repeats) give one delivery, not five.
mark busy
echo "block 1500" >&7
wait_line "$work/harness.out" blocking || fail "the harness did not block"
xdotool key ctrl+shift+c ctrl+shift+c ctrl+shift+c ctrl+shift+c ctrl+shift+c
wait_line "$work/harness.out" unblocked || fail "the harness did not come back"
mark done-busy
[ "$(between busy done-busy)" = "blocking|unblocked|hotkey 101|" ] ||
  fail "five presses while busy: $(between busy done-busy)"

# expect_moved CHANGE OLD NEW REPORT: after the map change marked CHANGE, the keys OLD (the
# combination's old key) start nothing and the keys NEW give REPORT.
expect_moved() {
  mark "$1-moved"
  xdotool key "$2"
  mark "$1-new"
  xdotool key "$3"
  mark "$1-done"
  [ "$(between "$1" "$1-moved")" = "" ] || fail "the change $1 itself gave: $(between "$1" "$1-moved")"
  [ "$(between "$1-moved" "$1-new")" = "" ] || fail "after $1, the old key $2 still starts: $(between "$1-moved" "$1-new")"
  [ "$(between "$1-new" "$1-done")" = "$4" ] || fail "after $1, $3 on its new key: $(between "$1-new" "$1-done")"
}

# A keyboard-map change: C and X swap keys; the hotkey follows C to its new key.
mark remapped
xmodmap -e "keycode $(xmodmap -pke | awk '$4 == "c" {print $2; exit}') = x X" \
        -e "keycode $(xmodmap -pke | awk '$4 == "x" {print $2; exit}') = c C"
# The change's notice reached the harness before this mark: the grabs have moved once it is echoed.
expect_moved remapped ctrl+shift+x ctrl+shift+c "hotkey 101|"

# A layout switched through the keyboard extension, as desktops switch them: Ctrl+Alt+Z follows the
# Z keysym to the key where the German layout puts it, and the key it left (Y now) is free.
at_exit 'setxkbmap us 2>/dev/null'
echo "register 106 C05A" >&7
wait_line "$work/harness.out" "registered 106 yes" || fail "Ctrl+Alt+Z was not registered"
mark layout
setxkbmap de
expect_moved layout ctrl+alt+y ctrl+alt+z "hotkey 106|"
setxkbmap us
echo "unregister 106" >&7
wait_line "$work/harness.out" "unregistered 106" || fail "Ctrl+Alt+Z was not released"

# Key names from the keyboard map; a key this keyboard lacks has no text at all.
mark names
printf 'names 6091\nnames 606A\nnames 60BA\nnames 6000\nnames 7FFF\n' >&7
mark done-names
[ "$(between names done-names)" = "text Shift+Ctrl+Scroll Lock|text Shift+Ctrl+KP Multiply|text Shift+Ctrl+;|text |text |" ] ||
  fail "key names: $(between names done-names)"

# PrintScreen: reported, and still delivered to the focused window.
mark one-press
xdotool key Print
mark held
xdotool keydown Print
# Held longer than the keyboard's repeat delay, so that the server sends repeats: the point of the test.
sleep 1.1
xdotool keyup Print
mark done-print
[ "$(between one-press held)" = "print|" ] || fail "one PrintScreen press: $(between one-press held)"
held=$(between held done-print | tr '|' '\n' | grep -cx print || true)
[ "$held" -ge 4 ] && [ "$held" -le 6 ] || fail "PrintScreen held for 1.1 s reported $held times"
grep -qx "key Print" "$work/window.out" || fail "the focused window did not receive the Print key"
echo "hotkey service ok: refusal, locks, map change, names, PrintScreen ($held reports while held)"
