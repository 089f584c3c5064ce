#!/usr/bin/env bash
# First start without any hive: the Remote Control is centred, capsule-shaped, and closing it writes
# every value to the user hive in order. Reports the start-up time to the first shown window.
source "$(dirname "$0")/lib/e2e.bash"

# 1920 x 1080: (1920 div 2 - 50, 1080 div 2 - 130).
grab_root 910,410,100,260 "$work/desktop.png"
[ ! -e "$user_hive" ] || fail "the user hive exists before the first start"
start_zentrap
echo "start-up to the first shown Remote Control: ${startup_ms} ms"

window_geometry "$remote_wid"
[ "$X,$Y,$WIDTH,$HEIGHT" = "910,410,100,260" ] || fail "Remote Control at $X,$Y size ${WIDTH}x$HEIGHT"
grab_root 910,410,100,260 "$work/remote.png"
check capsule "$work/desktop.png" "$work/remote.png" || fail "the window is not the capsule"

close_zentrap
[ -f "$user_hive" ] || fail "closing did not write the user hive"
section=$(sed -n '/^\[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap\]/,/^\[/p' "$user_hive")
ours="FCursor FGlobalHotkeys ShowRulers UpdateRulers HideRemote ExitConfirmation TrayMinimize ShowHint \
UsePrintScreen GlobalHotkeys Skin Top Left FHKCapture FHKFullScreen FHKEdit FHKSave FHKPrint"
written=$(grep -o '^"[^"]*"' <<<"$section" | tr -d '"' | grep -xF -f <(tr ' ' '\n' <<<"$ours") | xargs)
[ "$written" = "$ours" ] || fail "values written in the order: $written"
for expected in '"Left"=dword:0000038e' '"Top"=dword:0000019a' '"FCursor"=dword:00000001' \
  '"HideRemote"=dword:00000001' '"TrayMinimize"=dword:00000000' '"Skin"=""' '"FHKCapture"=dword:00006043' \
  '"FHKFullScreen"=dword:00006046' '"FHKEdit"=dword:00006045' '"FHKSave"=dword:00006053' \
  '"FHKPrint"=dword:00006050' '"GlobalHotkeys"=dword:00000001'; do
  grep -qxF "$expected" <<<"$section" || fail "the user hive lacks $expected"
done
echo "first start ok"
