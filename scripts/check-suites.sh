#!/usr/bin/env bash
# Checks that a configured and built preset has every test suite that
# scripts/expected-suites.txt lists for it, and names each one it lacks.
#   check-suites.sh PRESET
set -euo pipefail
cd "$(dirname "$0")/.."
preset=$1

listing=$(ctest --preset "$preset" -N -V)
# What the preset has: its tests' names, and the programs that run them.
have=$({
  sed -n 's/^ *Test *#[0-9]*: //p' <<<"$listing"
  sed -n 's/^[0-9]*: Test command: //p' <<<"$listing" | awk '{print $1}' | tr -d '"' \
    | while read -r program; do basename "$program" .exe; done
} | sort -u)

listed=0 missing=()
while read -r presets suite; do
  [[ -z "$presets" || "$presets" == \#* ]] && continue
  [[ ",$presets," == *",$preset,"* ]] || continue
  listed=$((listed + 1))
  grep -qxF -- "$suite" <<<"$have" || missing+=("$suite")
done <scripts/expected-suites.txt

if ((listed == 0)); then
  echo "scripts/expected-suites.txt lists no suites for the preset $preset"
  exit 1
fi

if ((${#missing[@]} > 0)); then
  echo "The $preset build lacks these test suites (scripts/expected-suites.txt): ${missing[*]}"
  exit 1
fi
echo "The $preset build has every suite that scripts/expected-suites.txt lists for it."
