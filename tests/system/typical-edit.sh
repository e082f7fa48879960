#!/usr/bin/env bash
# The typical edit, end to end, as a user does it in a real X server on the
# demo map: open SANGO7.MPC in the dialog, pick the first city, step two
# blocks right, double-click the legend item "02 雪原", write, close and exit.
# Expects exactly one byte of the map file changed, a green marker, and exit 0.
#   typical-edit.sh PROGRAM_DIR PROBE SCREENSHOT
set -euo pipefail
program_dir=$(cd "$1" && pwd) probe=$2 screenshot=$3
title="Quarnet --- By Velloran"

source "$(dirname "$0")/xvfb-session.sh"
source "$(dirname "$0")/typical-edit-steps.sh"
export QT_QPA_PLATFORMTHEME= # the plain Qt file dialog, whatever the desktop

"$program_dir/quarnet-make-demo-map" "$program_dir" >/dev/null
work="$xvfb_tmp/work"
mkdir "$work"
cp "$program_dir/SANGO7.MPC" "$work/SANGO7.MPC"
prepare_map "$work/SANGO7.MPC"

(cd "$work" && exec "$program_dir/quarnet") &
running=$!

p wait "$title" 30
p wait-count 1 30
open_proposed_map

pick_first_city "$work/SANGO7.MPC" key Return
step_pick_write "$work/SANGO7.MPC" "$screenshot"

p click "$title" 200 464 # close and exit
await_exit "$running"
check_edit "$work/SANGO7.MPC"
