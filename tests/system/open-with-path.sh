#!/usr/bin/env bash
# The real program started the way a desktop starts it for a file (quarnet
# PATH: the desktop file's %f, "Open with"), here with a relative path whose
# folder name is not ASCII: the map is open at once, without the dialog. Then
# the typical edit from the first city, undone and redone with the keys, and
# close and exit. Expects exactly the edited byte changed, a green marker,
# and exit 0.
#   open-with-path.sh PROGRAM_DIR PROBE SCREENSHOT
set -euo pipefail
program_dir=$(cd "$1" && pwd) probe=$2 screenshot=$3
title="Quarnet --- By Velloran"

source "$(dirname "$0")/xvfb-session.sh"
source "$(dirname "$0")/typical-edit-steps.sh"

"$program_dir/quarnet-make-demo-map" "$program_dir" >/dev/null
work="$xvfb_tmp/地图 目录"
mkdir "$work"
cp "$program_dir/SANGO7.MPC" "$work/SANGO7.MPC"
prepare_map "$work/SANGO7.MPC"

(cd "$xvfb_tmp" && exec "$program_dir/quarnet" "地图 目录/SANGO7.MPC") &
running=$!

p wait "$title" 30
p wait-count 1 30

pick_first_city "$work/SANGO7.MPC" key Return
step_pick_write "$work/SANGO7.MPC" "$screenshot"
undo_redo_keys "$work/SANGO7.MPC"

p click "$title" 200 464 # close and exit
await_exit "$running"
check_edit "$work/SANGO7.MPC"
