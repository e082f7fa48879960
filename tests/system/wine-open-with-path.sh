#!/usr/bin/env bash
# The real quarnet.exe under wine started the way Explorer starts it for a
# file ("Open with", a file dropped on quarnet.exe: the path as its
# argument), here with a relative path whose folder name is not ASCII: the
# map is open at once, without the dialog. Then the typical edit from the
# first city, undone and redone with the keys, and the title bar's close.
# Expects exactly the edited byte changed, a green marker, and exit code 0.
#   wine-open-with-path.sh PROGRAM DEMO_DIR PROBE SCREENSHOT
set -euo pipefail
program=$1 demo_dir=$2 probe=$3 screenshot=$4
title="Quarnet --- By Velloran"

source "$(dirname "$0")/xvfb-session.sh"
source "$(dirname "$0")/wine-prefix.sh"
source "$(dirname "$0")/typical-edit-steps.sh"

# The program with the demo picture beside it; the map in a folder of its own.
mkdir "$xvfb_tmp/program"
cp "$program" "$demo_dir/SANGO7.0.125.jpg" "$xvfb_tmp/program/"
work="$xvfb_tmp/地图 目录"
mkdir "$work"
cp "$demo_dir/SANGO7.MPC" "$work/"
prepare_map "$work/SANGO7.MPC"

(cd "$xvfb_tmp" && exec timeout --kill-after=5 120 "$wine" program/quarnet.exe "地图 目录\\SANGO7.MPC") &
running=$!

p wait "$title" 60
p wait-count 1 30

pick_first_city "$work/SANGO7.MPC" click "$title" 600 116
step_pick_write "$work/SANGO7.MPC" "$screenshot"
undo_redo_keys "$work/SANGO7.MPC"

p close "$title" # the title bar's close button
await_exit "$running"
check_edit "$work/SANGO7.MPC"
