#!/usr/bin/env bash
# Installs what is missing, builds Quarnet, writes the demo map beside the
# program when none is there, and starts the program from the demo map's folder.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake --preset app
cmake --build --preset app --parallel "$(nproc 2>/dev/null || echo 2)"

bin=build/app/qt
# Never overwrites: the tool leaves existing files alone.
"$bin/quarnet-make-demo-map" "$bin"
cd "$bin"
exec ./quarnet
