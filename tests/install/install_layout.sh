#!/usr/bin/env bash
# `make install` puts the program beside its clipboard keeper, help file and example skins with a link on the PATH, the command line on
# the PATH, and a desktop entry whose icon exists, so the program shows up in desktop menus.
set -euo pipefail
build=${ZENTRAP_BINARY_DIR:?}
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR="$dest" cmake --install "$build" --prefix /opt/zt >/dev/null
root=$dest/opt/zt
fail() { echo "install_layout: $*" >&2; exit 1; }

program=$(readlink -f "$root/bin/zentrap") || fail "bin/zentrap is missing"
[ -x "$program" ] || fail "bin/zentrap does not lead to an executable program"
[ -f "$(dirname "$program")/ztp.chm" ] || fail "ztp.chm is not beside the program ($program)"
[ -x "$(dirname "$program")/zentrap-keeper" ] || fail "the clipboard keeper is not beside the program ($program)"
for skin in Coral.bmp Graphite.jpg Midnight.jpg; do
  [ -s "$(dirname "$program")/$skin" ] || fail "the example skin $skin is not beside the program"
done
[ -x "$root/bin/zentrap-cli" ] || fail "bin/zentrap-cli is missing"

entry=$root/share/applications/zentrap.desktop
[ -f "$entry" ] || fail "the desktop entry is missing"
grep -qx 'Exec=zentrap' "$entry" || fail "the desktop entry does not start zentrap"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$root/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the entry's icon '$icon' is not installed"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$entry"; fi
echo "install_layout: ok"
