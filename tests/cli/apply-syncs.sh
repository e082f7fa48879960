#!/usr/bin/env bash
# Runs quarnet-terrain apply under strace and checks the order of its system
# calls: the backup is synced once, before the first byte of the map is
# written, and the map is synced once, after the last one.
#   apply-syncs.sh QUARNET_TERRAIN
set -euo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
command -v strace >/dev/null || { echo "strace is missing (scripts/install-deps.sh test installs it)"; exit 1; }
work=$(mktemp -d /tmp/quarnet-syncs.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Ten records of 草原 (03) after the 68-byte header; two of them become 道路.
{
  head -c 68 /dev/zero
  for _ in $(seq 10); do printf '\x03'; head -c 7 /dev/zero; done
} >"$work/SANGO7.MPC"
printf '1,05\n7,05\n' >"$work/edits.csv"

# LeakSanitizer (the asan preset) stops the process's threads by tracing
# them, which a traced process can't have done.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
strace -f -qq -o "$work/calls" -e trace=openat,write,pwrite64,fsync,fdatasync,close \
  "$exe" apply "$work/SANGO7.MPC" "$work/edits.csv" >"$work/out"
grep -qF "the backup is $work/SANGO7.MPC.bak" "$work/out" || { echo "apply said:"; cat "$work/out"; exit 1; }

# The calls as the checker reads them.
awk -v map="\"$work/SANGO7.MPC\"" -v backup="\"$work/SANGO7.MPC.bak\"" '
  {
    line = $0; sub(/^[0-9]+ +/, "", line)  # the process id strace -f puts first
    call = line; sub(/\(.*/, "", call)
    fd = line; sub(/^[a-z0-9_]+\(/, "", fd); sub(/[,)].*/, "", fd)
    result = line; sub(/.*= /, "", result); sub(/ .*/, "", result)
  }
  call == "openat" && index(line, backup ",") { print "backup", result }
  call == "openat" && index(line, map ",") && index(line, "O_RDWR") { print "map", result }
  call == "close" { print "close", fd }
  call == "fsync" || call == "fdatasync" { print "sync", fd }
  call == "pwrite64" || call == "write" { print "write", fd }
' "$work/calls" | awk -v writes=2 -f "$here/../support/sync-order.awk" \
  || { echo "the calls:"; cat "$work/calls"; exit 1; }
