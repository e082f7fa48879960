#!/usr/bin/env bash
# Runs quarnet-terrain.exe apply under wine with its calls into KERNEL32
# relayed, and checks where FlushFileBuffers comes: once on the backup,
# before the first byte of the map is written, and once on the map, after
# the last one.
#   apply-flushes.sh QUARNET_TERRAIN_EXE
set -euo pipefail
exe=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/quarnet-flushes.XXXXXX)
export WINEPREFIX=$work/prefix
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
wine=$(command -v wine64 || command -v wine)
export DISPLAY=

# The prefix is made first, quietly; then only the file calls are relayed.
WINEDEBUG=-all "$wine" reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /f \
  /d 'KERNEL32.CreateFileW;KERNEL32.WriteFile;KERNEL32.FlushFileBuffers;KERNEL32.CloseHandle' >/dev/null 2>&1

cd "$work"
# Ten records of 草原 (03) after the 68-byte header; two of them become 道路.
{
  head -c 68 /dev/zero
  for _ in $(seq 10); do printf '\x03'; head -c 7 /dev/zero; done
} >SANGO7.MPC
printf '1,05\n7,05\n' >edits.csv

WINEDEBUG=-all,+relay "$wine" "$exe" apply SANGO7.MPC edits.csv >out 2>calls
tr -d '\r' <out | grep -qF "the backup is SANGO7.MPC.bak" || { echo "apply said:"; cat out; exit 1; }

# Lines look like "0024:Call KERNEL32.WriteFile(00000038,...) ret=..." and
# "0024:Ret  KERNEL32.CreateFileW() retval=0000003c ret=...".
awk '
  {
    line = $0; sub(/^[0-9a-f]+:/, "", line)
    handle = line; sub(/^[A-Za-z]+ +KERNEL32\.[A-Za-z]+\(/, "", handle); sub(/[,)].*/, "", handle)
  }
  line ~ /^Call KERNEL32\.CreateFileW\(/ {
    creating = index(line, "L\"SANGO7.MPC.bak\"") ? "backup" : index(line, "L\"SANGO7.MPC\"") ? "map" : ""
  }
  line ~ /^Ret +KERNEL32\.CreateFileW\(/ && creating != "" {
    opened = line; sub(/.*retval=/, "", opened); sub(/ .*/, "", opened)
    print creating, opened
    creating = ""
  }
  line ~ /^Call KERNEL32\.CloseHandle\(/ { print "close", handle }
  line ~ /^Call KERNEL32\.FlushFileBuffers\(/ { print "sync", handle }
  line ~ /^Call KERNEL32\.WriteFile\(/ { print "write", handle }
' calls | awk -v writes=2 -f "$here/../support/sync-order.awk" \
  || { echo "the calls:"; grep -E "KERNEL32\.(CreateFileW|WriteFile|FlushFileBuffers|CloseHandle)" calls | head -100; exit 1; }
