#!/usr/bin/env bash
# Installs what is missing, builds Quarnet, writes the demo map and its
# picture into demo/ beside the program when they are not there, and starts
# the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake --preset app
cmake --build --preset app --parallel "$(nproc 2>/dev/null || echo 2)"

bin=build/app/qt
# The demo map and its made-up picture stay together in demo/, as the Windows
# packages hold them: the demo shows its own picture, and another map the
# one beside it or beside the program. Never overwrites: the tool leaves
# existing files alone.
mkdir -p "$bin/demo"
"$bin/quarnet-make-demo-map" "$bin/demo"
# A demo that an earlier run.sh wrote beside the program goes: byte for byte
# the demo's, it is no file of the user's.
for file in SANGO7.MPC SANGO7.0.125.jpg; do
  if [[ -f "$bin/$file" ]] && cmp -s "$bin/$file" "$bin/demo/$file"; then
    rm "$bin/$file"
  fi
done
cd "$bin"
exec ./quarnet
