#!/usr/bin/env bash
# The terrain command line against bare programs doing the same input and
# output, each a ratio of medians from one run, alternating the two sides:
#   bash bench/cli-bench.sh [BUILD_DIR] [RUNS]   (default build/default, 21)
# Expects a built default preset (run-all.sh builds it). Prints table rows:
# the times, then the page faults of the same commands.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build/default}" && pwd)
runs=${2:-21}
terrain=$build/cli/quarnet-terrain
bin=$build/bench
work=$(mktemp -d /tmp/quarnet-cli-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

"$build/qt/quarnet-make-demo-map" "$work" >/dev/null
map=$work/SANGO7.MPC

# 10,000 edits: every 21st block gets the next code, so each one differs.
"$terrain" export "$map" | awk -F, '
  NR > 1 && (NR - 1) % 21 == 0 && n < 10000 {
    code = (index("0123456789ABCDEF", substr($4, 1, 1)) - 1) * 16 + index("0123456789ABCDEF", substr($4, 2, 1)) - 1
    printf "%d,%02X\n", $1, code % 34 + 1; n++
  }' >"$work/edits.csv"
cp "$map" "$work/MODDED.MPC"
"$terrain" apply "$work/MODDED.MPC" "$work/edits.csv" --backup "$work/setup.bak" >/dev/null
summary=$("$terrain" diff "$map" "$work/MODDED.MPC" | tail -1 || true) # exit code 1: they differ
[[ "$summary" == "10000 blocks differ"* ]] || { echo "the modded map doesn't differ in 10000 blocks: $summary"; exit 1; }
"$terrain" patch "$map" "$work/MODDED.MPC" "$work/modded.bps" >/dev/null

# The modded map as render draws it: a painted picture of the same change,
# less the blocks whose new code has the old one's name, which no picture
# shows.
"$terrain" render "$work/MODDED.MPC" "$work/painted.png"
imported=$(("$terrain" import "$map" "$work/painted.png" 2>/dev/null || true) | tail -n +2 | wc -l) # exit code 1: edits
((imported > 5000)) || { echo "the painted picture imports as only $imported edits"; exit 1; }
# The same edits as a list, for apply: what the window's Yes writes.
"$terrain" import "$map" "$work/painted.png" -o "$work/imported.csv" 2>/dev/null || true

# Wall time of one run in microseconds; "prepare" runs first, untimed.
elapsed() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 || true # diff exits 1 when the maps differ
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }
fresh_copy() { cp "$map" "$work/apply.MPC"; rm -f "$work/apply.MPC.bak"; sync "$work/apply.MPC"; }

: >"$work/render" ; : >"$work/render-bare" ; : >"$work/diff" ; : >"$work/cmp" ; : >"$work/apply" ; : >"$work/apply-bare"
: >"$work/import" ; : >"$work/import-bare" ; : >"$work/diff-picture" ; : >"$work/render-same"
: >"$work/patch" ; : >"$work/apply-bps" ; : >"$work/apply-imported" ; : >"$work/window-preview" ; : >"$work/window-write"
for _ in $(seq "$runs"); do
  elapsed "$terrain" render "$map" "$work/out.png" >>"$work/render"
  elapsed "$bin/quarnet-bench-render-bare" "$map" "$work/bare.png" >>"$work/render-bare"
  elapsed "$terrain" diff "$map" "$work/MODDED.MPC" >>"$work/diff"
  elapsed cmp -l "$map" "$work/MODDED.MPC" >>"$work/cmp"
  fresh_copy
  elapsed "$terrain" apply "$work/apply.MPC" "$work/edits.csv" >>"$work/apply"
  fresh_copy
  elapsed "$bin/quarnet-bench-apply-bare" "$work/apply.MPC" "$work/edits.csv" "$work/apply.MPC.bak" >>"$work/apply-bare"
  elapsed "$terrain" import "$map" "$work/painted.png" >>"$work/import"
  elapsed "$bin/quarnet-bench-import-bare" "$map" "$work/painted.png" >>"$work/import-bare"
  elapsed "$terrain" diff "$map" "$work/MODDED.MPC" --picture "$work/change.png" >>"$work/diff-picture"
  elapsed "$terrain" render "$work/MODDED.MPC" "$work/out.png" >>"$work/render-same"
  elapsed "$terrain" patch "$map" "$work/MODDED.MPC" "$work/out.bps" >>"$work/patch"
  fresh_copy
  elapsed "$terrain" apply "$work/apply.MPC" "$work/modded.bps" >>"$work/apply-bps"
  fresh_copy
  elapsed "$terrain" apply "$work/apply.MPC" "$work/imported.csv" >>"$work/apply-imported"
  # The window's import of the same picture, dropped on the real window
  # (offscreen) in a fresh process: from the drop to the preview painted,
  # and from Yes to the map written, its page drawn again and marked.
  "$bin/quarnet-bench-window-import" "$map" "$work/painted.png" 1 >"$work/window" 2>/dev/null
  awk '$1 == "preview" {print $2}' "$work/window" >>"$work/window-preview"
  awk '$1 == "write" {print $2}' "$work/window" >>"$work/window-write"
done

# The page faults of each, the median of 5 runs: fresh memory that a
# command touches costs much on a virtual machine.
fault_runs=5
faults_of() { # FILE COMMAND...: the command's page faults, added to FILE
  local file=$1
  shift
  "$bin/quarnet-bench-page-faults" "$@" >>"$work/$file.faults"
}
for name in render render-bare diff cmp apply apply-bare import import-bare diff-picture render-same patch apply-bps; do
  : >"$work/$name.faults"
done
for _ in $(seq "$fault_runs"); do
  faults_of render "$terrain" render "$map" "$work/out.png"
  faults_of render-bare "$bin/quarnet-bench-render-bare" "$map" "$work/bare.png"
  faults_of diff "$terrain" diff "$map" "$work/MODDED.MPC"
  faults_of cmp cmp -l "$map" "$work/MODDED.MPC"
  fresh_copy
  faults_of apply "$terrain" apply "$work/apply.MPC" "$work/edits.csv"
  fresh_copy
  faults_of apply-bare "$bin/quarnet-bench-apply-bare" "$work/apply.MPC" "$work/edits.csv" "$work/apply.MPC.bak"
  faults_of import "$terrain" import "$map" "$work/painted.png"
  faults_of import-bare "$bin/quarnet-bench-import-bare" "$map" "$work/painted.png"
  faults_of diff-picture "$terrain" diff "$map" "$work/MODDED.MPC" --picture "$work/change.png"
  faults_of render-same "$terrain" render "$work/MODDED.MPC" "$work/out.png"
  faults_of patch "$terrain" patch "$map" "$work/MODDED.MPC" "$work/out.bps"
  fresh_copy
  faults_of apply-bps "$terrain" apply "$work/apply.MPC" "$work/modded.bps"
done

row() { # measure, ours file, reference file, reference name, limit
  awk -v m="$1" -v q="$(median <"$work/$2")" -v b="$(median <"$work/$3")" -v r="$4" -v l="$5" -v n="$runs" 'BEGIN {
    printf "| %s, median of %d | %.1f ms | %.1f ms (%s) | %.2f x | at most %s x |\n", m, n, q / 1000, b / 1000, r, q / b, l }'
}
row "quarnet-terrain render, default scale (PNG)" render render-bare "bare read + same-size PNG, same encoder" 1.2
row "quarnet-terrain diff, 10,000 blocks differ" diff cmp "cmp -l" 1.2
row "quarnet-terrain apply, 10,000 edits with backup" apply apply-bare "bare copy + 10,000 pwrites + fsync" 2
row "quarnet-terrain import, 2184 x 1548 PNG, $imported edits" import import-bare "bare decode, same decoder + map read once" 1.3
row "quarnet-terrain diff --picture, 10,000 blocks differ" diff-picture render-same "quarnet-terrain render of NEW" 1.3
row "quarnet-terrain patch, BPS of maps 10,000 blocks apart" patch cmp "cmp -l" 1.5
row "quarnet-terrain apply, that BPS patch with backup" apply-bps apply-bare "bare copy + 10,000 pwrites + fsync" 2
row "window: that PNG dropped, to the preview painted" window-preview import "quarnet-terrain import of it" 1.5
row "window: Yes to its $imported edits written, page redrawn and marked" window-write apply-imported "quarnet-terrain apply of those edits" 1.2

fault_row() { # command, ours, reference, reference name
  awk -v m="$1" -v q="$(median <"$work/$2.faults")" -v b="$(median <"$work/$3.faults")" -v r="$4" -v n="$fault_runs" 'BEGIN {
    printf "| page faults: %s, median of %d | %d | %d (%s) | %.2f x | for reference |\n", m, n, q, b, r, q / b }'
}
fault_row "quarnet-terrain render" render render-bare "bare read + same-size PNG"
fault_row "quarnet-terrain diff" diff cmp "cmp -l"
fault_row "quarnet-terrain apply, 10,000 edits" apply apply-bare "bare copy + pwrites + fsync"
fault_row "quarnet-terrain import" import import-bare "bare decode + map read once"
fault_row "quarnet-terrain diff --picture" diff-picture render-same "quarnet-terrain render of NEW"
fault_row "quarnet-terrain patch, BPS" patch cmp "cmp -l"
fault_row "quarnet-terrain apply, that BPS patch" apply-bps apply-bare "bare copy + pwrites + fsync"
