#!/usr/bin/env bash
# A painted terrain picture imported in the real quarnet.exe under wine, as a
# user does it in a real X server on the demo map: open SANGO7.MPC, choose
# 导入地形图… in the window menu (Alt+Space), choose the picture in the open
# dialog, answer Yes to the preview's question, then press Ctrl+Z. The
# picture is the command line's terrain picture with a rectangle of blocks
# painted over in another terrain's colour. After Yes the map must hold
# exactly what quarnet-terrain import --apply writes for the same picture;
# after Ctrl+Z exactly what it held before. The screenshot shows the preview
# behind the question.
#   wine-import-picture.sh PROGRAM TERRAIN_PROGRAM DEMO_DIR PROBE SCREENSHOT
set -euo pipefail
program=$1 terrain=$2 demo_dir=$3 probe=$4 screenshot=$5
title="Quarnet --- By Velloran"
here=$(cd "$(dirname "$0")" && pwd)

source "$here/xvfb-session.sh"
source "$here/wine-prefix.sh"
p() { "$probe" "$@"; }

work="$xvfb_tmp/work"
mkdir "$work" "$work/expected"
cp "$program" "$terrain" "$demo_dir/SANGO7.0.125.jpg" "$demo_dir/SANGO7.MPC" "$work/"
cp "$work/SANGO7.MPC" "$work/original.MPC"

# The terrain picture at one pixel a block, a rectangle of blocks on the
# first page, right of where the question shows, painted in the colour of the map's top-left block.
(cd "$work" && run_wine_timeout 60 ./quarnet-terrain.exe render SANGO7.MPC terrain.png --scale 1 >/dev/null)
python3 "$here/paint-terrain.py" "$work/terrain.png" "$work/painted.png" 78 38 92 54 0 0
# What the command line writes for it, in a copy of its own.
cp "$work/SANGO7.MPC" "$work/painted.png" "$work/expected/"
(cd "$work/expected" && run_wine_timeout 60 ../quarnet-terrain.exe import SANGO7.MPC painted.png --apply >/dev/null)
! cmp -s "$work/SANGO7.MPC" "$work/expected/SANGO7.MPC" || { echo "the painted picture changes nothing"; exit 1; }

# expect_map STATE STEP: the map equals STATE's file, waiting up to 10 s.
expect_map() {
  local want=$1 step=$2
  for _ in $(seq 100); do
    cmp -s "$work/SANGO7.MPC" "$want" && { echo "after $step the map is $(basename "$(dirname "$want")")/$(basename "$want")"; return; }
    sleep 0.1
  done
  echo "after $step the map is not $want: $(cmp -l "$want" "$work/SANGO7.MPC" | wc -l) bytes differ"
  exit 1
}

(cd "$work" && exec timeout --kill-after=5 120 "$wine" ./quarnet.exe) &
running=$!
p wait "$title" 60
p wait-count 1 30

# Open: the dialog proposes SANGO7.MPC in the working folder.
p click "$title" 200 384
p wait-count 2 30
p key Return
p wait-count 1 30

# The window menu, the system's items first: from its first item, Up wraps
# round to the last of ours (重做), then 撤销, 制作补丁…, 导出地形图…,
# 应用补丁…, 导入地形图….
p key Alt_L+space
p wait-count 2 30
p key Up Up Up Up Up Up Return
p wait-count 2 30 # the open dialog in the map's folder
p type painted.png
p key Return
# The dialog closes and the question opens over the preview: two windows
# again, after the dialog's count has passed.
sleep 3
p wait-count 2 30
p screenshot "$screenshot"
expect_map "$work/original.MPC" "the preview"
p key Return # 是, the default button
p wait-count 1 30
expect_map "$work/expected/SANGO7.MPC" "Yes"

p key ctrl+z
expect_map "$work/original.MPC" "ctrl+z"
p key ctrl+y
expect_map "$work/expected/SANGO7.MPC" "ctrl+y"

p close "$title"
for _ in $(seq 150); do kill -0 "$running" 2>/dev/null || break; sleep 0.1; done
set +e
wait "$running"
code=$?
set -e
echo "exit code: $code"
[[ $code -eq 0 ]]
expect_map "$work/expected/SANGO7.MPC" "the program's end"
