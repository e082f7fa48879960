#!/usr/bin/env bash
# Runs every benchmark and prints one table, each figure beside its limit:
#   bash bench/run-all.sh [RUNS]      (start-up runs per program, default 21)
# With QUARNET_BENCH_STARTUP_ONLY=1, only the start-up and its rows.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-21}
# Timings on a shared machine follow its load: the run's date and load
# average (1, 5 and 15 minutes) go beside the figures.
run_date=$(date '+%Y-%m-%d %H:%M %Z') load_at_start=$(cut -d' ' -f1-3 /proc/loadavg)

bash scripts/install-deps.sh test
cmake --preset default >/dev/null
cmake --build --preset default >/dev/null
bin=$PWD/build/default/bench
build/default/qt/quarnet-make-demo-map "$bin" >/dev/null
# The terrain view's folder: the demo map without its picture.
rm -f "$bin/terrain/SANGO7.0.125.jpg"
cp "$bin/SANGO7.MPC" "$bin/terrain/SANGO7.MPC"
cp "$bin/quarnet-bench-startup" "$bin/terrain/quarnet-bench-startup"

source tests/system/xvfb-session.sh

# 1. Start-up to the first painted frame, alternating the two programs.
startup() {
  local start out
  start=$(date +%s%N)
  out=$("$bin/$1" "${@:2}" | grep first-paint)
  echo "$(( ($(awk '{print $2}' <<<"$out") - start) / 1000 )) $(awk '{print $3}' <<<"$out")"
}
: >"$xvfb_tmp/quarnet" ; : >"$xvfb_tmp/bare" ; : >"$xvfb_tmp/caption"
# The third series starts with the demo map's path, as `quarnet PATH` does.
: >"$xvfb_tmp/with-path"
for _ in $(seq "$runs"); do
  startup quarnet-bench-startup >>"$xvfb_tmp/quarnet"
  startup quarnet-bench-startup "$bin/SANGO7.MPC" >>"$xvfb_tmp/with-path"
  startup quarnet-bench-startup-bare >>"$xvfb_tmp/bare"
  startup quarnet-bench-startup-caption >>"$xvfb_tmp/caption"
done
median() { sort -n | awk '{v[NR]=$1} END {print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }
q_us=$(awk '{print $1}' "$xvfb_tmp/quarnet" | median)
b_us=$(awk '{print $1}' "$xvfb_tmp/bare" | median)
c_us=$(awk '{print $1}' "$xvfb_tmp/caption" | median)
c_kib=$(awk '{print $2}' "$xvfb_tmp/caption" | median)
p_us=$(awk '{print $1}' "$xvfb_tmp/with-path" | median)
q_kib=$(awk '{print $2}' "$xvfb_tmp/quarnet" | median)
b_kib=$(awk '{print $2}' "$xvfb_tmp/bare" | median)

startup_rows() {
  awk -v q="$q_us" -v b="$b_us" -v n="$runs" 'BEGIN {
    printf "| start-up to first paint, median of %d | %.1f ms | %.1f ms (bare Qt program, same picture) | %.2f x | below 1.0 x |\n", n, q/1000, b/1000, q/b }'
  awk -v q="$q_us" -v b="$c_us" 'BEGIN {
    printf "| for reference: against the bare program with one Chinese caption | %.1f ms | %.1f ms | %.2f x | |\n", q/1000, b/1000, q/b }'
  awk -v q="$q_kib" -v b="$b_kib" 'BEGIN {
    printf "| peak memory at first paint | %.1f MiB | %.1f MiB (bare) | %+.1f MiB | at most +8 MiB |\n", q/1024, b/1024, (q-b)/1024 }'
  awk -v q="$q_kib" -v b="$c_kib" 'BEGIN {
    printf "| for reference: against the bare program with one Chinese caption | %.1f MiB | %.1f MiB | %+.1f MiB | |\n", q/1024, b/1024, (q-b)/1024 }'
}
machine() {
  echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(uname -sr)"
  echo "Run: $run_date; load average at the start $load_at_start"
}
if [[ "${QUARNET_BENCH_STARTUP_ONLY:-}" == 1 ]]; then
  echo
  machine
  echo
  echo "| measure | Quarnet | limit | ratio or result | goal |"
  echo "|---|---|---|---|---|"
  startup_rows
  exit 0
fi

# 2. Each handler, in process.
# The median of 5 repetitions of each.
QT_QPA_PLATFORM=offscreen "$bin/quarnet-bench-handlers" --benchmark_format=csv --benchmark_min_time=0.2 \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>/dev/null | grep -E '^name|_median' \
  | sed 's/_median//' >"$xvfb_tmp/handlers.csv"

# 3. Growth over 100000 mixed events.
QT_QPA_PLATFORM=offscreen "$bin/quarnet-bench-growth" >"$xvfb_tmp/growth"

# 4. The terrain view, without the map picture: a page, opening the map
# beside a plain read of the whole file, and peak memory beside the start-up
# with the picture (both on Xvfb, median of 5).
QT_QPA_PLATFORM=offscreen "$bin/terrain/quarnet-bench-terrain" --benchmark_format=csv --benchmark_min_time=0.2 \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>/dev/null | grep -E '^name|_median' \
  | sed 's/_median//' >"$xvfb_tmp/terrain.csv"
: >"$xvfb_tmp/terrain-memory" ; : >"$xvfb_tmp/no-picture"
for _ in $(seq 5); do
  "$bin/terrain/quarnet-bench-terrain-memory" | awk '{print $6}' >>"$xvfb_tmp/terrain-memory"
  startup terrain/quarnet-bench-startup | awk '{print $2}' >>"$xvfb_tmp/no-picture"
done
t_kib=$(median <"$xvfb_tmp/terrain-memory")
n_kib=$(median <"$xvfb_tmp/no-picture")

echo
machine
echo
echo "| measure | Quarnet | limit | ratio or result | goal |"
echo "|---|---|---|---|---|"
startup_rows
open_us=$(awk -F, '$1 == "\"Open\"" {t = $3; u = $5; gsub(/"/, "", u); print (u == "ns") ? t / 1000 : (u == "ms" ? t * 1000 : t)}' "$xvfb_tmp/handlers.csv")
awk -v p="$p_us" -v q="$q_us" -v o="$open_us" -v n="$runs" 'BEGIN {
  printf "| start-up with a map path (quarnet SANGO7.MPC), median of %d | %.1f ms | %.1f ms (start-up %.1f ms + the open handler %.1f ms) | %.2f x | at most 1 x |\n", n, p/1000, (q+o)/1000, q/1000, o/1000, p/(q+o) }'
awk -F, 'NR > 1 {
  name = $1; gsub(/"/, "", name); t = $3; unit = $5; gsub(/"/, "", unit)
  us = (unit == "ns") ? t / 1000 : (unit == "ms" ? t * 1000 : t)
  time[name] = us; order[++n] = name
} END {
  for (i = 1; i <= n; i++) {
    name = order[i]; us = time[name]
    if (name == "BarePwriteFsync")
      printf "| for reference: a bare pwrite + fsync of one byte | %.1f us | | | |\n", us
    else if (name == "BareWriteSyscalls")
      printf "| for reference: the system calls of a flushed write and an event-loop turn, no work of ours | %.1f us | | | |\n", us
    else if (name == "FirstWrite")
      printf "| FirstWrite: the map as opened kept, then the write | %.1f us | 2 x apply of one edit (cli rows below) | | exempt from 1 ms |\n", us
    else if (name == "WriteReadBack")
      printf "| WriteReadBack: the write button'"'"'s read-back alone | %.2f us | 200 us | %s | under 0.2 ms |\n", us, (us < 200 ? "met" : "missed")
    else
      printf "| %s | %.1f us | 1000 us | %s | at most 1 ms, repaint included |\n", name, us, (us <= 1000 ? "met" : "missed")
  }
}' "$xvfb_tmp/handlers.csv"
awk 'NR == 2 {first_t = $4; first_m = $5} NR > 1 {last_t = $4; last_m = $5}
  END { printf "| growth over 100000 mixed events (processor time) | %d ns/event in the last 10000 | %d ns/event in the first 10000 | %.2f x; memory %+d KiB | flat |\n",
        last_t, first_t, last_t / first_t, last_m - first_m }' "$xvfb_tmp/growth"
awk -F, 'NR > 1 {
  name = $1; gsub(/"/, "", name); t = $3; unit = $5; gsub(/"/, "", unit)
  us[name] = (unit == "ns") ? t / 1000 : (unit == "ms" ? t * 1000 : t)
} END {
  printf "| terrain view: Calculate, which draws a page of terrain (TerrainPage) | %.1f us | 1000 us | %s | under 1 ms |\n", us["TerrainPage"], (us["TerrainPage"] < 1000 ? "met" : "missed")
  printf "| terrain view: opening the demo map (OpenWithTerrain) | %.1f us | %.1f us (plain sequential read of the whole file) | %.2f x | at most 1.5 x |\n", us["OpenWithTerrain"], us["BareSequentialRead"], us["OpenWithTerrain"] / us["BareSequentialRead"]
}' "$xvfb_tmp/terrain.csv"
awk -v t="$t_kib" -v q="$q_kib" -v n="$n_kib" 'BEGIN {
  printf "| peak memory, terrain view (demo map open, all 42 pages drawn) | %.1f MiB | %.1f MiB (start-up with the map picture) | %+.1f MiB | no more |\n", t/1024, q/1024, (t-q)/1024
  printf "| for reference: what each costs over the start-up without the picture (%.1f MiB) | %+.1f MiB | %+.1f MiB | | |\n", n/1024, (t-n)/1024, (q-n)/1024 }'
bash bench/cli-bench.sh build/default
echo
echo "Growth, per block of 10000 events:"
cat "$xvfb_tmp/growth"
echo
echo "Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
