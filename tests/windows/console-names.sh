#!/usr/bin/env bash
# Runs quarnet-terrain.exe under wine on a terminal, where wine gives it a
# console, and checks that the terrain names arrive whole: bytes written to a
# console would be read in its code page, so they must go out as UTF-16.
#   console-names.sh QUARNET_TERRAIN_EXE
set -euo pipefail
exe=$1
# Wine hands the console's text to the terminal in the locale's charset.
export LC_ALL=C.UTF-8
work=$(mktemp -d /tmp/quarnet-console.XXXXXX)
trap 'rm -rf "$work"' EXIT

# A map of three blocks after the 68-byte header: 02 雪原, 0D 深海, 19 森林.
{
  head -c 68 /dev/zero
  for code in '\x02' '\x0d' '\x19'; do printf "$code"; head -c 7 /dev/zero; done
} >"$work/SANGO7.MPC"

# script gives the program a terminal; wine makes it a console. script -e
# ends with the program's exit code.
set +e
script -qec "bash '$(dirname "$0")/run-under-wine.sh' '$exe' export '$work/SANGO7.MPC'" /dev/null \
  | tr -d '\r' >"$work/out"
code=${PIPESTATUS[0]}
set -e
for line in "1,1,1,02,雪原" "2,1,2,0D,深海" "3,1,3,19,森林"; do
  grep -qF "$line" "$work/out" || { echo "the console lacks \"$line\":"; cat -v "$work/out"; exit 1; }
done
[[ $code -eq 0 ]] || { echo "quarnet-terrain.exe export ended with exit code $code:"; cat -v "$work/out"; exit 1; }
echo "console shows the terrain names"
