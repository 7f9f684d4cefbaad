#!/usr/bin/env bash
# Builds Kestron and runs its benchmark under Wine in a private Xvfb screen.
# Prints a markdown table and writes it to build/<build>/bench.md, with the
# build, machine and Wine version it came from. Measures the 32-bit build
# where this host runs 32-bit programs, else the 64-bit one. Optional argument: how many seconds
# the launcher runs beside the idle companion for the CPU figure (default 60).
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
"$WINE" "$bin/kestron_bench.exe" "Z:$table" >/dev/null

# CPU and memory seen from Linux: the launcher's own process, and the Wine
# server, which does much of the work of every window-system call under Wine.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
stage=$(mktemp -d)
cp "$bin/Kestron.exe" "$bin/Korvastel" "$stage/"
"$WINE" "$stage/Kestron.exe" &
launcher=$!
sleep 3
server=$(wine_server_pid)
l0=$(cpu_ticks "$launcher"); s0=$(cpu_ticks "$server")
sleep "$idle"
l1=$(cpu_ticks "$launcher"); s1=$(cpu_ticks "$server")
hwm=$(awk '/VmHWM/ {print $2}' "/proc/$launcher/status")
hz=$(getconf CLK_TCK)
per_minute() { echo "scale=0; ($2 - $1) * 1000 * 60 / $hz / $idle" | bc; }
lms=$(per_minute "$l0" "$l1"); sms=$(per_minute "$s0" "$s1")
stop_companion "$launcher"
rm -rf "$stage"
size=$(stat -c %s "$bin/Kestron.exe")
{
  cat "$table"
  echo "| launcher CPU, companion idle (${idle} s) | $lms ms per minute = $(echo "scale=2; $lms / 600" | bc) % of one core | <= 1 % |"
  echo "| Wine server CPU meanwhile (serves the launcher's calls) | $sms ms per minute = $(echo "scale=2; $sms / 600" | bc) % of one core | |"
  echo "| launcher peak resident memory (includes Wine's own libraries) | $(echo "scale=1; $hwm / 1024" | bc) MiB | <= 8 MiB |"
  echo "| Kestron.exe size | $(echo "scale=2; $size / 1048576" | bc) MiB | <= 1 MiB |"
  echo
  echo "Measured $(date -u +%Y-%m-%d) on $build_name, on $(nproc) cores of $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), $(. /etc/os-release; echo "$PRETTY_NAME"), $("$WINE" --version), Xvfb."
} | tr -d '\r' >"build/$preset/bench.md"
rm -f "$table"
cat "build/$preset/bench.md"
echo "Written to build/$preset/bench.md"
