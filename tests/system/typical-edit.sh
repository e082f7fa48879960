#!/usr/bin/env bash
# The typical edit, end to end, as a user does it in a real X server on the
# demo map: open SANGO7.MPC in the dialog, pick the first city, step two
# blocks right, double-click the legend item "05 道路", write, close and exit.
# Expects exactly one byte of the map file changed, a green marker, and exit 0.
#   typical-edit.sh PROGRAM_DIR PROBE SCREENSHOT
set -euo pipefail
program_dir=$(cd "$1" && pwd) probe=$2 screenshot=$3
title="Quarnet --- By Velloran"

source "$(dirname "$0")/xvfb-session.sh"
export QT_QPA_PLATFORMTHEME= # the plain Qt file dialog, whatever the desktop

"$program_dir/quarnet-make-demo-map" "$program_dir" >/dev/null
work="$xvfb_tmp/work"
mkdir "$work"
cp "$program_dir/SANGO7.MPC" "$work/SANGO7.MPC"
# The block to be edited starts as grassland (03), whatever the demo holds.
offset=$((68 + (5479 - 1) * 8))
printf '\003' | dd of="$work/SANGO7.MPC" bs=1 seek="$offset" conv=notrunc status=none
cp "$work/SANGO7.MPC" "$work/original.MPC"

(cd "$work" && exec "$program_dir/quarnet") &
program=$!
p() { "$probe" "$@"; }

p wait "$title" 30
p wait-count 1 30

# Open: the dialog proposes SANGO7.MPC in the working folder.
p click "$title" 200 384
p wait-count 2 30
p key Return
p wait-count 1 30

# City 001 西凉 (519, 351): block 5477, column 17, row 11.
p click "$title" 616 98
p wait-count 2 30
p key Return # the popup opens on the first item
p wait-count 1 30

# Step 2, then right: block 5479.
p click "$title" 356 180
p key ctrl+a
p type 2
p click "$title" 320 300
sleep 0.3

# Legend: select the first item, go down to "05 道路", double-click it.
p click "$title" 450 145
first=""
for _ in $(seq 50); do
  first=$(p find-highlight "$title" 430 138 222 2>/dev/null) && break
  sleep 0.1
done
p key Down Down Down Down
# Wait until the highlight has moved and stays put: the list has caught up.
row="" previous=""
for _ in $(seq 100); do
  sleep 0.1
  row=$(p find-highlight "$title" 430 138 222 2>/dev/null || true)
  [[ -n "$row" && "$row" != "$first" && "$row" == "$previous" ]] && break
  previous=$row
done
p doubleclick "$title" 450 "$row"
sleep 0.3

p click "$title" 256 300 # write
sleep 0.5
p screenshot "$screenshot"
# The marker of block column 19, row 11: picture pixels 72..75 x 40..43 on
# page (0, 0); the canvas starts at client (360, 240).
marker=$(p pixel "$title" $((360 + 72)) $((240 + 40)))

p click "$title" 200 464 # close and exit
for _ in $(seq 100); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
set +e
wait "$program"
code=$?
set -e

changes=$(cmp -l "$work/original.MPC" "$work/SANGO7.MPC" | tr -s ' ' || true)
echo "exit code: $code; marker: $marker; changed bytes (1-based offset, old, new octal): $changes"
[[ $code -eq 0 ]]
[[ "$marker" == "00FF00" ]]
[[ "$changes" == " $((offset + 1)) 3 5" ]] || { echo "expected only the byte at $offset to change, from 3 to 5"; exit 1; }
[[ $(stat -c %s "$work/SANGO7.MPC") -eq $(stat -c %s "$work/original.MPC") ]]
