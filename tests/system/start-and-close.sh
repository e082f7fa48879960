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
sleep 1 # let the first frame paint
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
