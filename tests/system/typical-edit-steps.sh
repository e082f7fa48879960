# Sourced by the typical-edit system tests: the steps that the Qt program and
# the Windows program share, as a user does them through the X11 probe. Both
# lay their controls out at the same client pixels. Expects `probe` and
# `title`; each step waits for what it started, with a time limit.

p() { "$probe" "$@"; }

# The block to be edited, 5479, starts as grassland (03), whatever the demo
# holds; original.MPC beside the map keeps the state before the edit.
edited_offset=$((68 + (5479 - 1) * 8))
prepare_map() {
  local map=$1
  printf '\003' | dd of="$map" bs=1 seek="$edited_offset" conv=notrunc status=none
  cp "$map" "$(dirname "$map")/original.MPC"
}

# Open: the dialog proposes SANGO7.MPC in the working folder.
open_proposed_map() {
  p click "$title" 200 384
  p wait-count 2 30
  p key Return
  p wait-count 1 30
}

# After city 001 西凉 (519, 351), block 5477 (column 17, row 11): step 2 to the
# right, to block 5479; double-click the legend item "05 道路"; write; take
# the screenshot. Sets `marker` to the colour of the block's marker.
step_pick_write() {
  local screenshot=$1
  p click "$title" 356 180
  p key ctrl+a
  p type 2
  p click "$title" 320 300
  sleep 0.3

  # Legend: select the first item, go down to "05 道路", double-click it.
  p click "$title" 450 145
  local first="" row="" previous=""
  for _ in $(seq 50); do
    first=$(p find-highlight "$title" 430 138 222 2>/dev/null) && break
    sleep 0.1
  done
  p key Down Down Down Down
  # Wait until the highlight has moved and stays put: the list has caught up.
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

# Exit code 0, a green marker, and of the map only the edited byte changed,
# from 03 to 05.
check_edit() {
  local map=$1
  local original
  original="$(dirname "$map")/original.MPC"
  local changes
  changes=$(cmp -l "$original" "$map" | tr -s ' ' || true)
  echo "exit code: $code; marker: $marker; changed bytes (1-based offset, old, new octal): $changes"
  [[ $code -eq 0 ]]
  [[ "$marker" == "00FF00" ]]
  [[ "$changes" == " $((edited_offset + 1)) 3 5" ]] || { echo "expected only the byte at $edited_offset to change, from 3 to 5"; exit 1; }
  [[ $(stat -c %s "$map") -eq $(stat -c %s "$original") ]]
}

# With the focus on the write button after the edit: Ctrl+Z puts the old
# byte back, Ctrl+Y writes the new one again, and Ctrl+Z, Ctrl+Shift+Z once
# more. Waits up to 10 s after each key for the map on disk to show it.
undo_redo_keys() {
  local map=$1
  local original
  original="$(dirname "$map")/original.MPC"
  local key want
  for step in ctrl+z:original ctrl+y:edited ctrl+z:original ctrl+shift+z:edited; do
    key=${step%%:*} want=${step##*:}
    p key "$key"
    local now=""
    for _ in $(seq 100); do
      if cmp -s "$original" "$map"; then now=original; else now=edited; fi
      [[ $now == "$want" ]] && break
      sleep 0.1
    done
    echo "after $key the map is $now"
    [[ $now == "$want" ]] || { echo "expected it $want"; exit 1; }
  done
}
