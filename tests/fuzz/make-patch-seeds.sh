#!/usr/bin/env bash
# Writes fuzz_patch's seeds made from a real map pair: the first two rows of
# blocks of the demo map (its header and 1092 records), and the same after an
# edit list applied with quarnet-terrain apply; the IPS and BPS patches
# between them made with quarnet-terrain patch. Each seed carries the map it
# patches (see fuzz_patch.cpp for the layout), so the BPS patches get past
# their source's CRC-32.
#   make-patch-seeds.sh [BUILD_DIR]   (a Linux build, default build/default)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(cd "${1:-build/default}" && pwd)
terrain=$build/cli/quarnet-terrain
seeds=tests/fuzz/corpus/fuzz_patch
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/qt/quarnet-make-demo-map" "$work" >/dev/null
head -c $((68 + 2 * 546 * 8)) "$work/SANGO7.MPC" >"$work/original.MPC"
cp "$work/original.MPC" "$work/modded.MPC"
# A road of three blocks, one block alone, and a stretch of sea across the
# rows' boundary.
{
  echo "block,code"
  printf '%s\n' 10,05 11,05 12,05 300,19
  for block in $(seq 530 560); do echo "$block,0D"; done
} >"$work/edits.csv"
"$terrain" apply "$work/modded.MPC" "$work/edits.csv" --backup "$work/modded.bak" >/dev/null
"$terrain" patch "$work/original.MPC" "$work/modded.MPC" "$work/map.ips" >/dev/null
"$terrain" patch "$work/original.MPC" "$work/modded.MPC" "$work/map.bps" >/dev/null

# seed NAME CHOICE MAP PATCH: the choice byte, the map's length (two bytes,
# low first), the map, the patch.
seed() {
  local length
  length=$(stat -c %s "$3")
  {
    printf "\\x$(printf %02x "$2")\\x$(printf %02x $((length & 255)))\\x$(printf %02x $((length >> 8)))"
    cat "$3" "$4"
  } >"$seeds/$1"
}
seed seed-map-ips 4 "$work/original.MPC" "$work/map.ips"
seed seed-map-bps 4 "$work/original.MPC" "$work/map.bps"
# With bit 1 the fuzzer's own changes keep the patch's CRC-32 right.
seed seed-map-bps-patch-crc 6 "$work/original.MPC" "$work/map.bps"
# The BPS patch offered the map it makes: refused by the source's CRC-32.
seed seed-map-bps-other-map 4 "$work/modded.MPC" "$work/map.bps"
ls -l "$seeds"/seed-map-*
