#!/usr/bin/env bash
# quarnet-terrain.exe double-clicked: started with a console of its own, as
# Explorer starts it (here wine's start, in a private X server), it shows its
# help and waits for Enter instead of closing at once; Enter ends it with exit
# code 0. The console window's screenshot lands in SCREENSHOT.
#   own-console.sh QUARNET_TERRAIN_EXE PROBE SCREENSHOT
set -euo pipefail
exe=$1 probe=$2 screenshot=$3
source "$(dirname "$0")/../system/xvfb-session.sh"
source "$(dirname "$0")/../system/wine-prefix.sh"

"$wine" start /wait "$(winepath -w "$exe" 2>/dev/null || echo "$exe")" >/dev/null 2>&1 &
started=$!
# The console window: the one top-level window with a title besides wine's own.
console=""
for _ in $(seq 600); do
  console=$(xwininfo -root -children 2>/dev/null | grep -o '"[^"]*quarnet-terrain[^"]*"' | head -1 | tr -d '"') || true
  [[ -n "$console" ]] && break
  sleep 0.1
done
[[ -n "$console" ]] || { echo "no console window for quarnet-terrain.exe"; exit 1; }
sleep 3
"$probe" window-screenshot "$console" "$screenshot"
if ! kill -0 "$started" 2>/dev/null; then
  echo "quarnet-terrain.exe closed its console without waiting for Enter"; exit 1
fi

"$probe" click "$console" 40 40
"$probe" key Return
for _ in $(seq 100); do
  kill -0 "$started" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$started" 2>/dev/null; then
  echo "Enter did not close quarnet-terrain.exe"; exit 1
fi
set +e
wait "$started"
code=$?
set -e
[[ $code == 0 ]] || { echo "exit code $code"; exit 1; }
echo "quarnet-terrain.exe waited for Enter, then ended with exit code 0"
