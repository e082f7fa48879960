#!/usr/bin/env bash
# Runs quarnet-terrain.exe apply under wine with its calls into KERNEL32
# relayed, and checks where FlushFileBuffers comes: once on the backup,
# before the first byte of the map is written, and once on the map, after
# the last one.
#   apply-flushes.sh QUARNET_TERRAIN_EXE
set -euo pipefail
exe=$1
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
  function fail(why) { print "apply: " why; failed = 1; exit 1 }
  {
    line = $0; sub(/^[0-9a-f]+:/, "", line)
    handle = line; sub(/^[A-Za-z]+ +KERNEL32\.[A-Za-z]+\(/, "", handle); sub(/[,)].*/, "", handle)
  }
  line ~ /^Call KERNEL32\.CreateFileW\(/ {
    creating = index(line, "L\"SANGO7.MPC.bak\"") ? "backup" : index(line, "L\"SANGO7.MPC\"") ? "map" : ""
    next
  }
  line ~ /^Ret +KERNEL32\.CreateFileW\(/ && creating != "" {
    opened = line; sub(/.*retval=/, "", opened); sub(/ .*/, "", opened)
    if (creating == "backup") { backup = opened; backupOpen = 1 } else { map = opened }
    creating = ""; next
  }
  line ~ /^Call KERNEL32\.CloseHandle\(/ && backupOpen && handle == backup { backupOpen = 0; next }
  line ~ /^Call KERNEL32\.FlushFileBuffers\(/ && backupOpen && handle == backup {
    if (mapWrites) fail("the backup was flushed after the map was written")
    ++backupFlushes; next
  }
  line ~ /^Call KERNEL32\.FlushFileBuffers\(/ && map != "" && handle == map { ++mapFlushes; next }
  line ~ /^Call KERNEL32\.WriteFile\(/ && map != "" && handle == map {
    if (backupFlushes != 1) fail("the map was written with " backupFlushes + 0 " flushes of its backup before it")
    if (mapFlushes) fail("the map was written after its flush")
    ++mapWrites; next
  }
  END {
    if (failed) exit 1
    if (backup == "") { print "apply: no backup was created"; exit 1 }
    if (backupFlushes != 1) { print "apply: the backup was flushed " backupFlushes + 0 " times"; exit 1 }
    if (mapWrites != 2) { print "apply: the map was written " mapWrites + 0 " times, not twice"; exit 1 }
    if (mapFlushes != 1) { print "apply: the map was flushed " mapFlushes + 0 " times after its writes, not once"; exit 1 }
    print "backup flushed once before the map was written; map flushed once after its writes"
  }
' calls || { echo "the calls:"; grep -E "KERNEL32\.(CreateFileW|WriteFile|FlushFileBuffers|CloseHandle)" calls | head -100; exit 1; }
