#!/usr/bin/env bash
# Benchmarks of the Windows program under wine, in a private X server and wine
# prefix; prints one table, each figure beside its limit:
#   bash bench/run-windows.sh [RUNS]      (start-ups per program, default 21)
# With QUARNET_BENCH_STARTUP_ONLY=1, only the start-up and its rows.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-21}
# Timings on a shared machine follow its load: the run's date and load
# average (1, 5 and 15 minutes) go beside the figures.
run_date=$(date '+%Y-%m-%d %H:%M %Z') load_at_start=$(cut -d' ' -f1-3 /proc/loadavg)

bash scripts/install-deps.sh test
cmake --preset windows >/dev/null
cmake --build --preset windows --target quarnet quarnet_demo_map quarnet-bench-win32-bare \
  quarnet-bench-win32-bare-caption quarnet-bench-win32-bare-controls quarnet-bench-win32-startup \
  quarnet-bench-win32-handlers >/dev/null
build=$PWD/build/windows
strip=$(sed -n 's/^CMAKE_STRIP:FILEPATH=//p' "$build/CMakeCache.txt")

source tests/system/xvfb-session.sh
source tests/system/wine-prefix.sh

# One folder: each program reads the map picture from its own folder. The
# program is stripped, as the packages ship it.
stage="$xvfb_tmp/bench"
mkdir "$stage"
"$strip" -o "$stage/quarnet.exe" "$build/win32/quarnet.exe"
cp "$build"/bench/quarnet-bench-win32-*.exe "$build/demo/SANGO7.0.125.jpg" "$build/demo/SANGO7.MPC" "$stage/"
cd "$stage"

# The programs and the wine server on one processor. Every window operation
# under wine is a round trip to the server process; on two processors each
# one wakes the other, which in a virtual machine takes tens of microseconds
# more when it idles, so the figures swung tenfold with the machine's load.
# On one processor a round trip is a plain switch, as a system call is on
# Windows. The server is started anew so it is pinned too.
wineserver -k 2>/dev/null || true
run_wine_timeout() {
  local seconds=$1
  shift
  timeout --kill-after=5 "$seconds" taskset -c 0 "$wine" "$@"
}

# 1. Start-up to the first painted frame and peak working set, the programs
# started in turn from one launcher.
run_wine_timeout 1800 ./quarnet-bench-win32-startup.exe "$runs" quarnet.exe quarnet-bench-win32-bare.exe \
  quarnet-bench-win32-bare-caption.exe quarnet-bench-win32-bare-controls.exe >"$xvfb_tmp/startup"
# 2. Each handler with its repaint, in process.
: >"$xvfb_tmp/handlers"
[[ "${QUARNET_BENCH_STARTUP_ONLY:-}" == 1 ]] || run_wine_timeout 900 ./quarnet-bench-win32-handlers.exe >"$xvfb_tmp/handlers"
# 3. The program's size.
size=$(stat -c %s quarnet.exe)

figure() { awk -v name="$1" -v column="$2" '$1 == name {print $column}' "$xvfb_tmp/startup"; }
q_ms=$(figure quarnet.exe 2) b_ms=$(figure quarnet-bench-win32-bare.exe 2) c_ms=$(figure quarnet-bench-win32-bare-caption.exe 2)
w_ms=$(figure quarnet-bench-win32-bare-controls.exe 2)
q_fast=$(figure quarnet.exe 3) b_fast=$(figure quarnet-bench-win32-bare.exe 3)
q_kib=$(figure quarnet.exe 4) b_kib=$(figure quarnet-bench-win32-bare.exe 4) c_kib=$(figure quarnet-bench-win32-bare-caption.exe 4)

echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(uname -sr), $("$wine" --version)"
echo "Run: $run_date; load average at the start $load_at_start, at the end $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| measure | quarnet.exe | limit | ratio or result | goal |"
echo "|---|---|---|---|---|"
awk -v q="$q_ms" -v b="$b_ms" -v n="$runs" 'BEGIN {
  printf "| start-up to first paint, median of %d | %.1f ms | %.1f ms (bare Win32 window, same picture through WIC) | %.2f x | at most 1.2 x |\n", n, q, b, q/b }'
awk -v q="$q_fast" -v b="$b_fast" 'BEGIN {
  printf "| for reference: the fastest start-up of each | %.1f ms | %.1f ms | %.2f x | |\n", q, b, q/b }'
awk -v q="$q_ms" -v b="$c_ms" 'BEGIN {
  printf "| for reference: against the bare window with one Chinese caption | %.1f ms | %.1f ms | %.2f x | |\n", q, b, q/b }'
awk -v q="$q_ms" -v w="$w_ms" -v b="$b_ms" 'BEGIN {
  printf "| for reference: the bare window with the same 65 controls, nothing of the program | %.1f ms | %.1f ms (bare) | %.2f x; quarnet.exe against it %.2f x | |\n", w, b, w/b, q/w }'
awk -v q="$q_kib" -v b="$b_kib" 'BEGIN {
  printf "| peak working set at first paint | %.1f MiB | %.1f MiB (bare) | %+.1f MiB | at most +4 MiB |\n", q/1024, b/1024, (q-b)/1024 }'
awk -v q="$q_kib" -v b="$c_kib" 'BEGIN {
  printf "| for reference: against the bare window with one Chinese caption | %.1f MiB | %.1f MiB | %+.1f MiB | |\n", q/1024, b/1024, (q-b)/1024 }'
# Handlers whose work is text alone: under 1 ms by themselves, and with their
# repaint within a frame at 60 Hz. The others, which draw on the canvas too,
# under 1 ms with their repaint.
awk '{ us[$1] = $2; fastest[$1] = $3; paints[$1] = $4; alone[$1] = $5 + 0; order[++n] = $1 } END {
  frame = 1000000 / 60
  for (i = 1; i <= n; i++) {
    name = order[i]
    textOnly = name ~ /^(Move\/|PickLegendCode|MouseMove|OpenAndClose)/
    if (name == "BareWriteFlush")
      printf "| for reference: the system alone writes and flushes one byte | %.1f us (fastest round %.1f us) | | | |\n", us[name], fastest[name]
    else if (name == "BareStep")
      printf "| for reference: the window system alone, a click on a button and the texts of 7 edit boxes and a label changed, as a step does, %.0f windows painted: alone; with its repaint | %.1f us; %.1f us (fastest round %.1f us) | | | |\n", paints[name], alone[name], us[name], fastest[name]
    else if (textOnly)
      printf "| %s (text only), %.0f windows painted: alone; with its repaint | %.1f us; %.1f us (fastest round %.1f us) | 1000 us; %.0f us | %s; %s | under 1 ms; within a 60 Hz frame |\n", name, paints[name], alone[name], us[name], fastest[name], frame, (alone[name] < 1000 ? "met" : "missed"), (us[name] < frame ? "met" : "missed")
    else
      printf "| %s, %.0f windows painted: alone; with its repaint | %.1f us; %.1f us (fastest round %.1f us) | 1000 us | %s | under 1 ms with its repaint |\n", name, paints[name], alone[name], us[name], fastest[name], (us[name] < 1000 ? "met" : "missed")
  }
  for (i = 0; i < 2; i++) {
    kind = i ? "without_flush" : "with_flush"; u = us["UndoRedo/" kind]; w = us["Write/" kind]
    printf "| undo or redo against the write button, %s | %.1f us | %.1f us | %.2f x | no slower |\n", kind, u, w, u / w
  }
}' "$xvfb_tmp/handlers"
awk -v s="$size" 'BEGIN {
  printf "| size of quarnet.exe (stripped, as packaged) | %.2f MiB | 2 MiB | %.2f x | at most 2 MiB |\n", s/1048576, s/2097152 }'
