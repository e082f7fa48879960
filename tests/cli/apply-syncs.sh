#!/usr/bin/env bash
# Runs quarnet-terrain apply under strace and checks the order of its system
# calls: the backup is synced once, before the first byte of the map is
# written, and the map is synced once, after the last one.
#   apply-syncs.sh QUARNET_TERRAIN
set -euo pipefail
exe=$1
command -v strace >/dev/null || { echo "strace is missing (scripts/install-deps.sh test installs it)"; exit 1; }
work=$(mktemp -d /tmp/quarnet-syncs.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Ten records of 草原 (03) after the 68-byte header; two of them become 道路.
{
  head -c 68 /dev/zero
  for _ in $(seq 10); do printf '\x03'; head -c 7 /dev/zero; done
} >"$work/SANGO7.MPC"
printf '1,05\n7,05\n' >"$work/edits.csv"

strace -f -qq -o "$work/calls" -e trace=openat,write,pwrite64,fsync,fdatasync,close \
  "$exe" apply "$work/SANGO7.MPC" "$work/edits.csv" >"$work/out"
grep -qF "the backup is $work/SANGO7.MPC.bak" "$work/out" || { echo "apply said:"; cat "$work/out"; exit 1; }

awk -v map="\"$work/SANGO7.MPC\"" -v backup="\"$work/SANGO7.MPC.bak\"" '
  function fail(why) { print "apply: " why; failed = 1; exit 1 }
  {
    line = $0; sub(/^[0-9]+ +/, "", line)  # the process id strace -f puts first
    call = line; sub(/\(.*/, "", call)
    fd = line; sub(/^[a-z0-9_]+\(/, "", fd); sub(/[,)].*/, "", fd)
    result = line; sub(/.*= /, "", result); sub(/ .*/, "", result)
  }
  call == "openat" && index(line, backup ",") { backupFd = result; backupOpen = 1; next }
  call == "openat" && index(line, map ",") && index(line, "O_RDWR") { mapFd = result; next }
  call == "close" && backupOpen && fd == backupFd { backupOpen = 0; next }
  (call == "fsync" || call == "fdatasync") && backupOpen && fd == backupFd {
    if (mapWrites) fail("the backup was synced after the map was written")
    ++backupSyncs; next
  }
  (call == "fsync" || call == "fdatasync") && fd == mapFd { ++mapSyncs; next }
  (call == "pwrite64" || call == "write") && mapFd != "" && fd == mapFd {
    if (backupSyncs != 1) fail("the map was written with " backupSyncs + 0 " syncs of its backup before it")
    if (mapSyncs) fail("the map was written after its sync")
    ++mapWrites; next
  }
  END {
    if (failed) exit 1
    if (backupFd == "") { print "apply: no backup was created"; exit 1 }
    if (backupSyncs != 1) { print "apply: the backup was synced " backupSyncs + 0 " times"; exit 1 }
    if (mapWrites != 2) { print "apply: the map was written " mapWrites + 0 " times, not twice"; exit 1 }
    if (mapSyncs != 1) { print "apply: the map was synced " mapSyncs + 0 " times after its writes, not once"; exit 1 }
    print "backup synced once before the map was written; map synced once after its writes"
  }
' "$work/calls" || { echo "the calls:"; cat "$work/calls"; exit 1; }
