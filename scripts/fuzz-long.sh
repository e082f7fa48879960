#!/usr/bin/env bash
# A long fuzzing run of every target: SECONDS each (default 600), one after
# another, on a scratch copy of the seed corpora. New inputs that found new
# paths are left in build/fuzz/long-corpus; crashes in build/fuzz/crashes.
# Prints executions per target at the end, and exits 1 when any target
# crashed, leaked, timed out or failed a check.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}

bash scripts/install-deps.sh test
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

mkdir -p build/fuzz/crashes
summary=() failed=()
for seeds in tests/fuzz/corpus/*/; do
  target=$(basename "$seeds")
  corpus=build/fuzz/long-corpus/$target
  mkdir -p "$corpus"
  cp -rn "$seeds". "$corpus"/
  log=build/fuzz/$target.log
  echo "== $target for ${seconds}s"
  code=0
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0 \
  LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp \
    "build/fuzz/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix=build/fuzz/crashes/"$target"- "$corpus" >"$log" 2>&1 || code=$?
  runs=$(grep -oP 'stat::number_of_executed_units:\s*\K[0-9]+' "$log" || echo "?")
  crashed=$(grep -c 'ERROR: ' "$log" || true)
  summary+=("$target executions=$runs reports=$crashed exit=$code")
  # libFuzzer ends with a non-zero code on whatever it reports.
  if ((code != 0 || crashed > 0)); then
    failed+=("$target (see $log)")
  fi
done
printf '%s\n' "${summary[@]}"
if ((${#failed[@]} > 0)); then
  echo "Found faults: ${failed[*]}; the inputs are in build/fuzz/crashes"
  exit 1
fi
