#!/usr/bin/env bash
# Starts the real program on the demo map in a real X server, waits for its
# window, takes a screenshot, closes the window by the title bar's message
# (WM_DELETE_WINDOW) and expects exit code 0.
#   start-and-close.sh PROGRAM_DIR PROBE SCREENSHOT
set -euo pipefail
program_dir=$1 probe=$2 screenshot=$3
title="Quarnet --- By Velloran"

source "$(dirname "$0")/xvfb-session.sh"

"$program_dir/quarnet-make-demo-map" "$program_dir" >/dev/null
(cd "$program_dir" && exec ./quarnet) &
program=$!

"$probe" wait "$title" 30
# The first frame shows page (0, 0) of the map picture on the canvas, which
# starts at client (360, 240): a point in the sea of the demo picture, where
# a few pixels either way are alike, so it holds at every display scale.
want=$("$probe" picture-pixel "$program_dir/SANGO7.0.125.jpg" 300 20)
at() { awk -v v="$1" -v s="${QT_SCALE_FACTOR:-1}" 'BEGIN { printf "%d", v * s }'; }
"$probe" wait-pixel "$title" "$(at $((360 + 300)))" "$(at $((240 + 20)))" "$want" 8 30 >/dev/null \
  || { echo "the canvas does not show the map picture"; "$probe" screenshot "$screenshot"; exit 1; }
"$probe" screenshot "$screenshot"
"$probe" close "$title"

for _ in $(seq 100); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$program" 2>/dev/null; then
  echo "the program did not end after its window was closed"
  kill "$program"; exit 1
fi
set +e
wait "$program"
code=$?
set -e
echo "exit code: $code; screenshot: $screenshot"
[[ $code -eq 0 ]]
