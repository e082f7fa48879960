#!/usr/bin/env bash
# A painted terrain picture dropped on the real program in a real X server,
# as a file manager drops it (XDND): the preview shows with its question,
# Yes writes every edit the command line's import finds for the picture,
# and Ctrl+Z takes the whole import back. The map's bytes are checked after
# each step; the preview's screenshot is kept.
#   drop-import.sh PROGRAM_DIR PROBE SCREENSHOT QUARNET_TERRAIN
set -euo pipefail
program_dir=$(cd "$1" && pwd) probe=$2 screenshot=$3 terrain=$4
title="Quarnet --- By Velloran"

source "$(dirname "$0")/xvfb-session.sh"
source "$(dirname "$0")/typical-edit-steps.sh"

"$program_dir/quarnet-make-demo-map" "$program_dir" >/dev/null
work="$xvfb_tmp/work"
mkdir "$work"
cp "$program_dir/SANGO7.MPC" "$work/SANGO7.MPC"
cp "$work/SANGO7.MPC" "$work/original.MPC"

# The picture: the map as render draws it, with a desert painted over a
# stretch of ten blocks on each of three rows near 西凉 (page 0, 0), as an
# image editor's fill would paint it.
mkdir "$work/painting"
cp "$work/SANGO7.MPC" "$work/painting/MODDED.MPC"
for row in 11 12 13; do
  for column in $(seq 15 24); do
    echo "$(( (row - 1) * 546 + column )),0E"
  done
done >"$work/painting/desert.csv"
"$terrain" apply "$work/painting/MODDED.MPC" "$work/painting/desert.csv" >/dev/null
"$terrain" render "$work/painting/MODDED.MPC" "$work/painted.png"
# What Yes must write: the command line's own import of the same picture.
cp "$work/SANGO7.MPC" "$work/painting/expected.MPC"
"$terrain" import "$work/painting/expected.MPC" "$work/painted.png" --apply >/dev/null 2>&1

(cd "$work" && exec "$program_dir/quarnet" SANGO7.MPC) &
running=$!
p wait "$title" 30
p wait-count 1 30

# Dropped on the map canvas; the preview and its question show. The
# changed blocks in full colour on the dimmed map: block column 15, row 11
# is picture pixels 56..59 x 40..43 on page (0, 0).
p drop "$title" 500 300 "$work/painted.png"
p wait-count 2 30
preview=$(p wait-pixel "$title" $((360 + 57)) $((240 + 41)) DEC482 0 10) \
  || { echo "expected the desert's colour DEC482 in the preview"; exit 1; }
echo "preview pixel of a painted block: $preview"
p screenshot "$screenshot"
cmp -s "$work/original.MPC" "$work/SANGO7.MPC" || { echo "the map changed before Yes"; exit 1; }

p key y # 是(Y)
p wait-count 1 30
for _ in $(seq 100); do
  cmp -s "$work/painting/expected.MPC" "$work/SANGO7.MPC" && break
  sleep 0.1
done
if ! cmp -s "$work/painting/expected.MPC" "$work/SANGO7.MPC"; then
  echo "after Yes the map is not what import --apply writes:"
  cmp -l "$work/painting/expected.MPC" "$work/SANGO7.MPC" | head
  exit 1
fi
cmp -s "$work/original.MPC" "$work/SANGO7.MPC.bak" || { echo "the backup is not the map before the import"; exit 1; }
echo "after Yes: $(cmp -l "$work/original.MPC" "$work/SANGO7.MPC" | wc -l) bytes written, as import --apply writes them"
marker=$(p wait-pixel "$title" $((360 + 56)) $((240 + 40)) 00FF00 0 10) || { echo "expected a green marker"; exit 1; }
echo "marker of a written block: $marker"

# Ctrl+Z with the focus on a button: the whole import back in one step.
p click "$title" 300 440 # 图片定位: nothing before a calculation
p key ctrl+z
for _ in $(seq 100); do
  cmp -s "$work/original.MPC" "$work/SANGO7.MPC" && break
  sleep 0.1
done
cmp -s "$work/original.MPC" "$work/SANGO7.MPC" || { echo "Ctrl+Z did not take the import back"; exit 1; }
echo "after Ctrl+Z the map is as before the import"

p click "$title" 200 464 # close and exit
await_exit "$running"
[[ $code -eq 0 ]]
