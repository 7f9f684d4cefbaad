# Sourced by the tools: finds out once whether this host runs 32-bit x86
# programs. Some kernels cannot (IA-32 emulation off); there only the 64-bit
# build of Kestron can run under Wine. KESTRON_ONLY_64BIT=1 forces that path.

# Whether this host runs 32-bit programs. The answer is exported, so the
# scripts this one runs (tools/install-deps.sh) do not probe again.
host_runs_32bit() {
  if [ -z "${KESTRON_HOST_RUNS_32BIT:-}" ]; then
    KESTRON_HOST_RUNS_32BIT=no
    probe_32bit && KESTRON_HOST_RUNS_32BIT=yes
    export KESTRON_HOST_RUNS_32BIT
  fi
  [ "$KESTRON_HOST_RUNS_32BIT" = yes ]
}

# Runs the smallest 32-bit Linux program there is (it exits with status 42).
probe_32bit() {
  # In the build tree: a temporary folder may forbid running programs.
  local build probe
  build="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build"
  mkdir -p "$build"
  probe=$(mktemp "$build/ia32-probe.XXXXXX") || return 1
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  local status=0
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  [ "$status" -eq 42 ]
}

# Decides which build this host runs, as below, and builds it. The build's
# output is kept in build/<preset>.log and shown when the build fails.
build_runnable() {
  choose_runnable_build
  local log="build/$preset.log"
  mkdir -p build
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset"; } >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "the build failed; its whole output is in $log" >&2
    return 1
  fi
}

# Decides which build this host runs. Sets KESTRON_RUN_ARCH (x86 or x64),
# KESTRON_RUN_REASON (why not x86, when it is x64), and that build's preset and
# build_name, for the tools' messages.
choose_runnable_build() {
  if [ "${KESTRON_ONLY_64BIT:-}" = 1 ]; then
    KESTRON_RUN_ARCH=x64
    KESTRON_RUN_REASON="KESTRON_ONLY_64BIT=1 is set"
  elif host_runs_32bit; then
    KESTRON_RUN_ARCH=x86
    KESTRON_RUN_REASON=""
  else
    KESTRON_RUN_ARCH=x64
    KESTRON_RUN_REASON="this host cannot run 32-bit programs"
  fi
  if [ "$KESTRON_RUN_ARCH" = x86 ]; then
    preset=windows
    build_name="the 32-bit build (the one Kestron ships as)"
  else
    preset=windows-x64
    build_name="the 64-bit build ($KESTRON_RUN_REASON)"
  fi
}

# The preamble of the demo and the benchmark: installs what is missing, builds
# the runnable build, starts a session (wine-session.sh) with its Wine and
# names the build. Usage: start_runnable_session WHAT [use-own-display]
start_runnable_session() {
  choose_runnable_build  # probes once; install-deps.sh reads the exported answer
  bash tools/install-deps.sh
  build_runnable
  source tools/wine-session.sh
  wine_session_start "${2:-}"
  wine_prefix_start "$KESTRON_RUN_ARCH"
  echo "$1: $build_name"
}
