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
bash tools/install-deps.sh
source tools/host.sh
build_runnable
source tools/wine-session.sh
wine_session_start
wine_prefix_start "$KESTRON_RUN_ARCH"
echo "Benchmark: $build_name"
bin=build/$preset/bin
table=$(mktemp)
latency=$(mktemp)
"$WINE" "$bin/kestron_bench.exe" "Z:$table" "Z:$latency" >/dev/null

# CPU and memory seen from Linux: the launcher's own process, and the Wine
# server, which does much of the work of every window-system call under Wine.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
per_minute() { echo "scale=0; ($2 - $1) * 1000 * 60 / $hz / $idle" | bc; }
percent() { echo "scale=2; $1 / 600" | bc; }
# cpu_row LAUNCHER WHAT [VAR=value...]: runs LAUNCHER (as Kestron.exe) beside
# the companion for $idle seconds and prints a table row of their CPU.
cpu_row() {
  local program=$1 what=$2 stage launcher server l0 s0 l1 s1 lms sms
  shift 2
  stage=$(mktemp -d)
  cp "$bin/$program" "$stage/Kestron.exe"
  cp "$bin/Korvastel" "$stage/"
  env "$@" "$WINE" "$stage/Kestron.exe" &
  launcher=$!
  sleep 3
  server=$(wine_server_pid)
  l0=$(cpu_ticks "$launcher"); s0=$(cpu_ticks "$server")
  sleep "$idle"
  l1=$(cpu_ticks "$launcher"); s1=$(cpu_ticks "$server")
  hwm=$(awk '/VmHWM/ {print $2}' "/proc/$launcher/status")  # the peak of the last run
  stop_companion "$launcher"
  rm -rf "$stage"
  lms=$(per_minute "$l0" "$l1"); sms=$(per_minute "$s0" "$s1")
  echo "| launcher CPU, $what (${idle} s) | $lms ms per minute = $(percent "$lms") % of one core; Wine server meanwhile $(percent "$sms") % | <= 1 % |"
}
# The companion reports its windows as Windows does.
export KORVASTEL_WINDOWS_EVENTS=1
cpu=$(mktemp)
cpu_row Kestron-pollonly.exe "poll alone, companion idle" >>"$cpu"
cpu_row Kestron.exe "with window events, companion idle" >>"$cpu"
renaming="companion renaming its main window 20 times a second"
cpu_row Kestron-pollonly.exe "poll alone, $renaming" KORVASTEL_RENAMES_PER_SECOND=20 >>"$cpu"
cpu_row Kestron.exe "with window events, $renaming" KORVASTEL_RENAMES_PER_SECOND=20 >>"$cpu"
size=$(stat -c %s "$bin/Kestron.exe")
{
  cat "$table"
  cat "$cpu"
  echo "| launcher peak resident memory (includes Wine's own libraries) | $(echo "scale=1; $hwm / 1024" | bc) MiB | <= 8 MiB |"
  echo "| Kestron.exe size | $(echo "scale=2; $size / 1048576" | bc) MiB | <= 1 MiB |"
  echo
  cat "$latency"
  echo
  echo "Measured $(date -u +%Y-%m-%d) on $build_name, on $(nproc) cores of $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), $(. /etc/os-release; echo "$PRETTY_NAME"), $("$WINE" --version), Xvfb."
} | tr -d '\r' >"build/$preset/bench.md"
rm -f "$table" "$cpu" "$latency"
cat "build/$preset/bench.md"
echo "Written to build/$preset/bench.md"
