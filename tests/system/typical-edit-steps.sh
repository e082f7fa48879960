# Sourced by the typical-edit system tests: the steps that the Qt program and
# the Windows program share, as a user does them through the X11 probe. Both
# lay their controls out at the same client pixels. Expects `probe` and
# `title`; each step waits for what it started, with a time limit.

p() { "$probe" "$@"; }

# The guides' example on the demo map as shipped: block 5479, two to the
# right of 西凉, is road (05) and becomes snow field (02).
# original.MPC beside the map keeps the state before the edit.
edited_offset=$((68 + (5479 - 1) * 8))
prepare_map() {
  local map=$1 old
  old=$(od -An -tx1 -j "$edited_offset" -N1 "$map" | tr -d ' ')
  [[ $old == 05 ]] || { echo "block 5479 of the demo map holds $old, not the guides' 05"; exit 1; }
  cp "$map" "$(dirname "$map")/original.MPC"
}

# The writes a guide claims, each as "OFFSET:OLD>NEW " (the offset decimal,
# the bytes hexadecimal), in the form changes_of gives: from its sentences
# "偏移 0xAB74 处的字节由 05 改为 02" and "the byte at offset 0xAB74 goes
# from 05 to 02", wherever their lines break.
#   guide_writes GUIDE
guide_writes() {
  perl -0777 -ne 's/\s+/ /g;
    while (/偏移 ?0x([0-9A-F]+) ?处的字节由 ?([0-9A-F]{2}) ?改为 ?([0-9A-F]{2})|offset 0x([0-9A-F]+) goes from ([0-9A-F]{2}) to ([0-9A-F]{2})/g) {
      printf "%d:%s>%s ", hex($1 // $4), $2 // $5, $3 // $6 }' "$1"
}

# Open: the dialog proposes SANGO7.MPC in the working folder.
open_proposed_map() {
  p click "$title" 200 384
  p wait-count 2 30
  p key Return
  p wait-count 1 30
}

# Controls whose pixels show that a step has been handled (client x, y,
# width, height): the current block number and the new terrain code.
current_block_box=(96 136 104 24)
new_code_box=(304 200 104 24)
snapshot() { p region "$title" "$@"; }
# await_change DIGEST X Y W H: waits up to 10 s for the control to show
# something other than it did when DIGEST was taken.
await_change() { p wait-region-change "$title" "${@:2}" "$1" 10 >/dev/null; }

# The map's changed bytes against ORIGINAL (original.MPC beside it), one line:
# "OFFSET:OLD>NEW " each, the offset from 0, the bytes in hexadecimal.
#   changes_of MAP [ORIGINAL]
changes_of() {
  local map=$1 original=${2:-$(dirname "$1")/original.MPC}
  { cmp -l "$original" "$map" || true; } | awk '
    function octal(text,  value, i) { for (i = 1; i <= length(text); i++) value = value * 8 + substr(text, i, 1); return value }
    { printf "%d:%02X>%02X ", $1 - 1, octal($2), octal($3) }'
}
# What the map must show, edited or not: exactly the edited byte, 05 to 02,
# or no change at all.
edited_changes="$edited_offset:05>02 "
# expect_map MAP STATE STEP: of the map, only the edited byte as STATE says
# (edited or original), waiting up to 10 s for it.
expect_map() {
  local map=$1 state=$2 step=$3 want="" now=""
  [[ $state == edited ]] && want=$edited_changes
  for _ in $(seq 100); do
    now=$(changes_of "$map")
    [[ "$now" == "$want" ]] && break
    sleep 0.1
  done
  echo "after $step the map's changed bytes: ${now:-none}"
  [[ "$now" == "$want" ]] || { echo "expected it $state: ${want:-none}"; exit 1; }
  [[ $(stat -c %s "$map") -eq $(stat -c %s "$(dirname "$map")/original.MPC") ]]
}

# City 001 西凉 from the city box's drop-down list, its first item picked
# by the probe command given (the Qt list opens on it, wine's below the box).
#   pick_first_city MAP PROBE-COMMAND...
pick_first_city() {
  local map=$1 before
  shift
  before=$(snapshot "${current_block_box[@]}")
  p click "$title" 616 98
  p wait-count 2 30
  p "$@"
  p wait-count 1 30
  await_change "$before" "${current_block_box[@]}"
  expect_map "$map" original "the city pick"
}

# Steps the current block two to the right (步长 2, then 右移) and waits for
# the block box to show it.
step_two_right() {
  local before
  before=$(snapshot "${current_block_box[@]}")
  p click "$title" 356 180
  p key ctrl+a
  p type 2
  p click "$title" 320 300
  await_change "$before" "${current_block_box[@]}"
}

# Legend: select the first item, go down to "02 雪原", double-click it, and
# wait for the new code box to show it.
pick_legend_snow() {
  local before first="" row="" previous=""
  before=$(snapshot "${new_code_box[@]}")
  p click "$title" 450 145
  for _ in $(seq 50); do
    first=$(p find-highlight "$title" 430 138 222 2>/dev/null) && break
    sleep 0.1
  done
  p key Down
  # Wait until the highlight has moved and stays put: the list has caught up.
  for _ in $(seq 100); do
    sleep 0.1
    row=$(p find-highlight "$title" 430 138 222 2>/dev/null || true)
    [[ -n "$row" && "$row" != "$first" && "$row" == "$previous" ]] && break
    previous=$row
  done
  p doubleclick "$title" 450 "$row"
  await_change "$before" "${new_code_box[@]}"
}

# After city 001 西凉 (519, 351), block 5477 (column 17, row 11): step 2 to the
# right, to block 5479; double-click the legend item "02 雪原"; write; take
# the screenshot. Each step waits for what it shows, and the map is checked
# after each. Sets `marker` to the colour of the block's marker.
#   step_pick_write MAP SCREENSHOT
step_pick_write() {
  local map=$1 screenshot=$2
  step_two_right
  expect_map "$map" original "the step to the right"
  pick_legend_snow
  expect_map "$map" original "the legend pick"

  p click "$title" 256 300 # write
  expect_map "$map" edited "the write"
  # The marker of block column 19, row 11: picture pixels 72..75 x 40..43 on
  # page (0, 0); the canvas starts at client (360, 240).
  marker=$(p wait-pixel "$title" $((360 + 72)) $((240 + 40)) 00FF00 0 10) \
    || { echo "the marker is ${marker:-not there}, not green"; exit 1; }
  p screenshot "$screenshot"
}

# Waits up to 15 s for the program's process to end; sets `code` to its exit
# code.
await_exit() {
  local pid=$1
  for _ in $(seq 150); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "the program did not end"
    kill "$pid"
  fi
  set +e
  wait "$pid"
  code=$?
  set -e
}

# Exit code 0, and of the map only the edited byte changed, from 05 to 02.
check_edit() {
  local map=$1
  echo "exit code: $code; marker: $marker"
  [[ $code -eq 0 ]] || { echo "expected exit code 0"; exit 1; }
  expect_map "$map" edited "the program's end"
}

# With the focus on the write button after the edit: Ctrl+Z puts the old
# byte back, Ctrl+Y writes the new one again, and Ctrl+Z, Ctrl+Shift+Z once
# more. After each key the map on disk must show exactly that.
undo_redo_keys() {
  local map=$1
  for step in ctrl+z:original ctrl+y:edited ctrl+z:original ctrl+shift+z:edited; do
    p key "${step%%:*}"
    expect_map "$map" "${step##*:}" "${step%%:*}"
  done
}
