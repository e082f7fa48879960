#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: once in the normal
# build, once under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# fuzz targets (clang, libFuzzer, both sanitizers) for a short bounded time,
# and the model and platform suites cross-built for Windows, run under wine.
# Each preset must first show every suite that scripts/expected-suites.txt
# lists for it: one that was not built fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh test

jobs=$(nproc 2>/dev/null || echo 2)
for preset in default asan fuzz windows; do
  echo "== $preset =="
  cmake --preset "$preset"
  cmake --build --preset "$preset" --parallel "$jobs"
  bash scripts/check-suites.sh "$preset"
  ctest --preset "$preset" --parallel "$jobs"
done
