#!/usr/bin/env bash
# Builds Kestron and runs its benchmark under Wine in a private Xvfb screen.
# Prints a markdown table and writes it to build/<build>/bench.md, with the
# build, machine and Wine version it came from. Measures the 32-bit build
# where this host runs 32-bit programs, else the 64-bit one, with its window-
# event path and with the poll alone. Optional argument: how many seconds
# the launcher runs beside the companion for each CPU figure (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
idle=${1:-60}
source tools/host.sh
start_runnable_session Benchmark
bin=build/$preset/bin
work=$(mktemp -d)
at_session_exit rm -rf "$work"
table=$work/table cpu=$work/cpu latency=$work/latency
"$WINE" "$bin/kestron_bench.exe" "Z:$table" "Z:$latency" >/dev/null

# CPU and memory seen from Linux: the launcher's own process, and the Wine
# server, which does much of the work of every window-system call under Wine.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
per_minute() { echo "scale=0; ($2 - $1) * 1000 * 60 / $hz / $idle" | bc; }
percent() { echo "scale=2; $1 / 600" | bc; }
peak=0  # the launcher's peak resident memory over all runs, in KiB
# cpu_row LAUNCHER WHAT [VAR=value...]: runs LAUNCHER (as Kestron.exe) beside
# the companion for $idle seconds and prints a table row of their CPU.
cpu_row() {
  local program=$1 what=$2 stage=$work/stage launcher server l0 s0 l1 s1 lms sms hwm
  shift 2
  mkdir -p "$stage"
  cp "$bin/$program" "$stage/Kestron.exe"
  cp "$bin/Korvastel" "$stage/"
  env "$@" KORVASTEL_REPORT="Z:${stage//\//\\}\\report.txt" "$WINE" "$stage/Kestron.exe" &
  launcher=$!
  # Measured from the moment the companion shows its main window.
  wait_for_line "$stage/report.txt" shown
  server=$(wine_server_pid)
  l0=$(cpu_ticks "$launcher"); s0=$(cpu_ticks "$server")
  sleep "$idle"
  l1=$(cpu_ticks "$launcher"); s1=$(cpu_ticks "$server")
  hwm=$(awk '/VmHWM/ {print $2}' "/proc/$launcher/status")
  [ "$hwm" -gt "$peak" ] && peak=$hwm
  stop_companion "$launcher"
  rm -rf "$stage"
  lms=$(per_minute "$l0" "$l1"); sms=$(per_minute "$s0" "$s1")
  echo "| launcher CPU, $what (${idle} s) | $lms ms per minute = $(percent "$lms") % of one core; Wine server meanwhile $(percent "$sms") % | |"
}
# The companion reports its windows as Windows does.
export KORVASTEL_WINDOWS_EVENTS=1
cpu_row Kestron-pollonly.exe "poll alone, companion idle" >>"$cpu"
cpu_row Kestron.exe "with window events, companion idle" >>"$cpu"
renaming="companion renaming its main window 20 times a second"
cpu_row Kestron-pollonly.exe "poll alone, $renaming" KORVASTEL_RENAMES_PER_SECOND=20 >>"$cpu"
cpu_row Kestron.exe "with window events, $renaming" KORVASTEL_RENAMES_PER_SECOND=20 >>"$cpu"
# The log's writes load the Wine server, which every call of the launcher
# waits on: poll alone beside the same companion tells that load from the
# cost of the log control's reports.
logging="companion writing its log control 100 times a second"
cpu_row Kestron-pollonly.exe "poll alone, $logging" KORVASTEL_LOG_PER_SECOND=100 >>"$cpu"
cpu_row Kestron.exe "with window events, $logging" KORVASTEL_LOG_PER_SECOND=100 >>"$cpu"
size=$(stat -c %s "$bin/Kestron.exe")
bits=32
[ "$KESTRON_RUN_ARCH" = x86 ] || bits=64
{
  cat "$table"
  cat "$cpu"
  echo "| launcher peak resident memory (includes Wine's own libraries) | $(echo "scale=1; $peak / 1024" | bc) MiB | |"
  echo "| $bits-bit Kestron.exe size | $(echo "scale=2; $size / 1048576" | bc) MiB | <= 1 MiB |"
  echo
  cat "$latency"
  echo
  echo "Measured $(date -u +%Y-%m-%d) on $build_name, on $(nproc) cores of $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), $(. /etc/os-release; echo "$PRETTY_NAME"), $("$WINE" --version), Xvfb."
} | tr -d '\r' >"build/$preset/bench.md"
cat "build/$preset/bench.md"
echo "Written to build/$preset/bench.md"
