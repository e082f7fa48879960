#!/usr/bin/env bash
# The pictures in docs/ are the ones scripts/make-screenshots.sh makes: the
# script runs into a folder of its own, and each picture it makes must match
# its namesake in docs/ (same size; at most 1 pixel in 1000 more than 48 apart
# in a channel, for a font's antialiasing), and docs/ may hold no other.
#   docs-screenshots.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
made=$(mktemp -d)
trap 'rm -rf "$made"' EXIT

bash "$root/scripts/make-screenshots.sh" "$build" "$made" >/dev/null
status=0
for picture in "$made"/*.png; do
  name=$(basename "$picture")
  if [[ ! -f "$root/docs/$name" ]]; then
    echo "docs/$name is missing: run scripts/make-screenshots.sh"; status=1; continue
  fi
  echo -n "docs/$name: "
  "$build/tools/quarnet-x11-probe" same-picture "$root/docs/$name" "$picture" || {
    echo "docs/$name is not what the script makes now: run scripts/make-screenshots.sh and look at it"; status=1; }
done
for picture in "$root"/docs/*.png; do
  [[ -f "$made/$(basename "$picture")" ]] || { echo "docs/$(basename "$picture") is made by no script"; status=1; }
done
exit $status
