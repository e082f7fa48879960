#!/usr/bin/env bash
# Makes every picture in docs/ as a user could have taken it: the real program
# in a private X server and the command line, on the demo map kept in
# ~/游戏/SANGO7 of a user named modder, with the program in ~/Quarnet. The home
# is /home/modder in a mount namespace of the script's own, so no picture shows
# a temporary path and nothing outside is touched.
#   make-screenshots.sh [BUILD_DIR [OUT_DIR]]    (build/default and docs)
# BUILD_DIR holds the built quarnet, quarnet-terrain, quarnet-make-demo-map and
# quarnet-x11-probe (cmake --build --preset default).
set -euo pipefail
title="Quarnet --- By Velloran"

if [[ "${1:-}" != --inside ]]; then
  root=$(cd "$(dirname "$0")/.." && pwd)
  build=$(cd "${1:-$root/build/default}" && pwd)
  mkdir -p "${2:-$root/docs}"
  out=$(cd "${2:-$root/docs}" && pwd)
  for tool in qt/quarnet cli/quarnet-terrain qt/quarnet-make-demo-map tools/quarnet-x11-probe; do
    [[ -x "$build/$tool" ]] || { echo "missing $build/$tool: build the default preset first"; exit 2; }
  done
  source "$root/tests/system/xvfb-session.sh"
  mkdir "$xvfb_tmp/home"
  # The user namespace lets a user who isn't root mount; its root is the user.
  unshare --user --map-root-user --mount bash -c \
    'mount --bind "$1" /home && exec bash "$2" --inside "$3" "$4" "$5"' \
    bash "$xvfb_tmp/home" "$0" "$root" "$build" "$out"
  exit
fi

# Inside: /home is the script's own.
root=$2 build=$3 out=$4
export HOME=/home/modder LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORMTHEME=
unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME
export XDG_RUNTIME_DIR=$HOME/.run
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
probe=$build/tools/quarnet-x11-probe
games=$HOME/游戏/SANGO7
programs=$HOME/Quarnet
map=$games/SANGO7.MPC
mkdir -p "$games" "$programs"
cp "$build/qt/quarnet" "$build/cli/quarnet-terrain" "$programs/"
"$build/qt/quarnet-make-demo-map" "$games" >/dev/null
mv "$games/SANGO7.0.125.jpg" "$programs/"
cp "$map" "$games/SANGO7.MPC.orig"
source "$root/tests/system/typical-edit-steps.sh"
prepare_map "$map" # the demo as shipped: block 5479 is 05 道路
rm "$games/original.MPC"
shot() { p window-screenshot "$title" "$out/$1"; echo "$out/$1"; }

# Starts the program on the map from the home folder and waits until the
# canvas shows something other than its empty background.
start() {
  (cd "$HOME" && exec "$programs/quarnet" "$map") &
  running=$!
  p wait "$title" 30
  p wait-count 1 30
  for _ in $(seq 100); do
    [[ "$(p pixel "$title" 560 360)" != 303030 ]] && break
    sleep 0.1
  done
  sleep 0.5
}
stop() {
  p close "$title"
  await_exit "$running"
}
# Chooses the city N (1 to 103) in 城池及座标 and waits for its block.
choose_city() {
  local before downs=()
  before=$(snapshot "${current_block_box[@]}")
  p click "$title" 616 98
  p wait-count 2 30
  for _ in $(seq $(($1 - 1))); do downs+=(Down); done
  ((${#downs[@]})) && p key "${downs[@]}"
  p key Return # the popup opens on the first item
  p wait-count 1 30
  await_change "$before" "${current_block_box[@]}"
  sleep 0.3
}
# Two blocks to the right, the legend's "02 雪原", write; waits for the
# marker's colour, RRGGBB.
step_pick_write_marked() {
  local marker=$1
  step_two_right
  pick_legend_snow
  p click "$title" 256 300 # write
  p wait-pixel "$title" $((360 + 72)) $((240 + 40)) "$marker" 0 10 >/dev/null
  sleep 0.3
}

# The typical edit with the map picture: open, a city, two blocks right, 02 雪原, write, undo.
start
shot guide-open.png
choose_city 1
shot guide-city.png
step_pick_write_marked 00FF00
# The write is the one each guide's text claims, byte for byte, on the demo
# as shipped.
written=$(changes_of "$map" "$games/SANGO7.MPC.orig")
for guide in "$root/docs/guide.zh-CN.md" "$root/docs/guide.md"; do
  claimed=$(guide_writes "$guide")
  [[ -n $claimed && $claimed == "$written" ]] \
    || { echo "$(basename "$guide") claims the write ${claimed:-of nothing}; the program wrote ${written:-nothing}" >&2; exit 1; }
done
shot main-window.png
report_box=(252 373 95 37)
before=$(snapshot "${report_box[@]}")
p key ctrl+z
await_change "$before" "${report_box[@]}"
sleep 0.3
shot guide-undo.png
stop

# Without the picture: the map's own terrain, at the city 041 筑阳.
mv "$programs/SANGO7.0.125.jpg" "$HOME/"
start
choose_city 41
shot terrain-view.png
stop

# The empty window, started without a map and without the picture, with a
# demo map in the demo folder beside the program (as the Windows .zip holds
# it): the start hint names it.
mkdir "$programs/demo"
"$build/qt/quarnet-make-demo-map" "$programs/demo" >/dev/null
(cd "$HOME" && exec "$programs/quarnet") &
running=$!
p wait "$title" 30
p wait-count 1 30
p wait-region-change "$title" 360 240 384 240 0 10 >/dev/null
sleep 0.5
shot guide-start.png
stop
rm -r "$programs/demo"
mv "$HOME/SANGO7.0.125.jpg" "$programs/"

# The command line: a river and a desert written by an edit list, drawn by
# diff --picture; the picture's part that holds them.
cd "$games"
awk 'BEGIN {
  print "block,code"
  for (column = 368; column <= 476; ++column) {       # a river, two blocks wide
    row = int(254 + (column - 368) * 0.3 + 3 * sin(column / 7))
    for (r = row; r <= row + 1; ++r) print (r - 1) * 546 + column ",01"
  }
  for (row = 252; row <= 268; ++row)                   # a desert
    for (column = 420; column <= 458; ++column)
      if (((column - 439) / 19) ^ 2 + ((row - 260) / 8) ^ 2 <= 1) print (row - 1) * 546 + column ",0E"
}' > river-and-desert.csv
"$programs/quarnet-terrain" apply SANGO7.MPC river-and-desert.csv --backup SANGO7.MPC.before >/dev/null
set +e
"$programs/quarnet-terrain" diff SANGO7.MPC.before SANGO7.MPC --picture change.png >/dev/null
set -e
p crop-picture change.png $((361 * 4)) $((248 * 4)) 480 180 "$out/diff-picture.png"
echo "$out/diff-picture.png"
cp SANGO7.MPC.before SANGO7.MPC

# The window's import: the same river and desert painted on the exported
# terrain picture, dropped onto the window; the preview beside the question.
"$programs/quarnet-terrain" render SANGO7.MPC.before SANGO7-terrain.png  # the unpainted picture
cp SANGO7.MPC.before painted.MPC
"$programs/quarnet-terrain" apply painted.MPC river-and-desert.csv --backup painted.MPC.before >/dev/null
"$programs/quarnet-terrain" render painted.MPC SANGO7-terrain.png        # as painted
rm painted.MPC painted.MPC.before
cd "$HOME"
start
before=$(snapshot 360 240 384 240)
p drop "$title" 500 300 "$games/SANGO7-terrain.png"
p wait-count 2 30
p wait-region-change "$title" 360 240 384 240 "$before" 10 >/dev/null
sleep 0.5
p screenshot "$HOME/screen.png"
p crop-picture "$HOME/screen.png" 50 50 751 514 "$out/guide-import.png" # the window; the box lies over its left part
echo "$out/guide-import.png"
rm "$HOME/screen.png"
p key n # 否(N): nothing written
p wait-count 1 30
stop
cmp -s "$map" "$games/SANGO7.MPC.before" || { echo "the import's preview changed the map"; exit 1; }

# A map that can't be written: the folder made read-only. The open fails and
# the write turns red.
mount --bind "$games" "$games"
mount -o remount,bind,ro "$games"
start
choose_city 1
step_pick_write_marked FF0000
shot guide-red.png
stop
