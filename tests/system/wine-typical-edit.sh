#!/usr/bin/env bash
# The typical edit in the real quarnet.exe under wine, as a user does it in a
# real X server on the demo map: open SANGO7.MPC in the system's open dialog,
# pick the first city, step two blocks right, double-click the legend item
# "02 雪原", write, then close the window by its title bar. Expects exactly
# one byte of the map file changed, a green marker, and exit code 0.
#   wine-typical-edit.sh PROGRAM DEMO_DIR PROBE SCREENSHOT
set -euo pipefail
program=$1 demo_dir=$2 probe=$3 screenshot=$4
title="Quarnet --- By Velloran"

source "$(dirname "$0")/xvfb-session.sh"
source "$(dirname "$0")/wine-prefix.sh"
source "$(dirname "$0")/typical-edit-steps.sh"

# The program with the demo picture beside it, started in the map's folder.
work="$xvfb_tmp/work"
mkdir "$work"
cp "$program" "$demo_dir/SANGO7.0.125.jpg" "$demo_dir/SANGO7.MPC" "$work/"
prepare_map "$work/SANGO7.MPC"

(cd "$work" && exec timeout --kill-after=5 120 "$wine" ./quarnet.exe) &
running=$!

p wait "$title" 60
p wait-count 1 30
open_proposed_map

pick_first_city "$work/SANGO7.MPC" click "$title" 600 116
step_pick_write "$work/SANGO7.MPC" "$screenshot"

p close "$title" # the title bar's close button
await_exit "$running"
check_edit "$work/SANGO7.MPC"
