# The program's settings as the scripts write and read them: the user hive (and the read-only
# machine hive), registry-export files in the private settings folder.

export ZENTRAP_MACHINE_HIVE="$work/machine.reg"
user_hive="$XDG_CONFIG_HOME/zentrap/user.reg"
user_key='HKEY_CURRENT_USER\SOFTWARE\Morvane\Zentrap'

# write_hive FILE KEY LINES: a registry-export file with one key.
write_hive() {
  mkdir -p "$(dirname "$1")"
  printf 'REGEDIT4\n\n[%s]\n%b\n' "$2" "$3" >"$1"
}
# write_user_values LINES: the user hive with the given "Name"=... lines (\n between them).
write_user_values() { write_hive "$user_hive" "$user_key" "$1"; }
write_machine_values() { write_hive "$ZENTRAP_MACHINE_HIVE" 'HKEY_LOCAL_MACHINE\SOFTWARE\Morvane Software\Zentrap' "$1"; }

# The program's key of the user hive, its header line included.
user_section() { sed -n '/^\[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap\]/,/^\[/p' "$user_hive"; }

# stored_value NAME: the stored double word as a signed decimal number.
stored_value() {
  local hex
  hex=$(grep -i "^\"$1\"=dword:" "$user_hive" | head -n1 | sed 's/.*dword://' | tr -d '\r')
  [ -n "$hex" ] || fail "no stored value $1"
  "$PY" -c "v=int('$hex',16); print(v-(1<<32) if v>=1<<31 else v)"
}
