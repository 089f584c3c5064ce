# The clipboard, read with xclip: waiting for an image on it, and clearing it so that the next
# image can only be a new one.

clipboard_has_image() { xclip -selection clipboard -t TARGETS -o 2>/dev/null | grep -qx 'image/png'; }
clipboard_has_no_image() { ! clipboard_has_image; }

# Puts text on the clipboard and waits until no image is offered any more.
clear_clipboard() {
  echo empty | xclip -selection clipboard 2>/dev/null
  wait_for 5 "the clipboard to drop its image" clipboard_has_no_image
}

# image_within SECONDS: true when an image is on the clipboard within SECONDS.
image_within() { poll "$1" clipboard_has_image; }

# read_clipboard_images FILE: waits until the clipboard offers image/png and writes it (and
# image/bmp) into FILE.png and FILE.bmp.
read_clipboard_images() {
  wait_for 20 "an image on the clipboard" clipboard_has_image
  timeout 20 xclip -selection clipboard -t image/png -o >"$1.png" || fail "no PNG from the clipboard"
  timeout 20 xclip -selection clipboard -t image/bmp -o >"$1.bmp" || fail "no BMP from the clipboard"
}

# The clipboard keepers serving this test desktop's display, one PID a line.
keeper_pids() { display_pids zentrap-keeper; }
keeper_count() { keeper_pids | wc -l; }
# keeper_gone PID: the keeper has ended (an ended one may wait as a zombie for its new parent to
# reap it; it is no longer listed then).
keeper_gone() { ! keeper_pids | grep -qx "$1"; }

# read_clipboard FILE: the clipboard's image/png and image/bmp as they are now, into FILE.png/.bmp.
read_clipboard() {
  timeout 20 xclip -selection clipboard -t image/png -o >"$1.png" || fail "no PNG from the clipboard"
  timeout 20 xclip -selection clipboard -t image/bmp -o >"$1.bmp" || fail "no BMP from the clipboard"
}
