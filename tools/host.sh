# Sourced by the tools: finds out once whether this host runs 32-bit x86
# programs. Some kernels cannot (IA-32 emulation off); there only the 64-bit
# build of Kestron can run under Wine; so too where the 32-bit Wine could not
# be installed (a package archive half synced). KESTRON_ONLY_64BIT=1 forces
# that path.

kestron_build="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build"
# Where tools/install-deps.sh notes apt's reason when it could install
# everything but the 32-bit Wine; it removes the note whenever it runs.
wine32_note=$kestron_build/wine32-missing

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
  local probe
  mkdir -p "$kestron_build"
  probe=$(mktemp "$kestron_build/ia32-probe.XXXXXX") || return 1
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  local status=0
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  [ "$status" -eq 42 ]
}

# Builds the build chosen (choose_runnable_build). The build's output is kept
# in build/<preset>.log and shown when the build fails.
build_runnable() {
  local log="build/$preset.log"
  mkdir -p build
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset"; } >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "the build failed; its whole output is in $log" >&2
    return 1
  fi
}

# Whether the tools ask for the 32-bit Wine: where its build can run, unless
# a tool that runs this one found this run that it could not be installed.
wants_32bit_wine() {
  [ "${KESTRON_ONLY_64BIT:-}" != 1 ] && [ -z "${KESTRON_WINE32_MISSING:-}" ] && host_runs_32bit
}

# Installs what is missing, then decides which build this host runs.
install_deps_and_choose_build() {
  host_runs_32bit || true  # probes once; install-deps.sh reads the exported answer
  bash tools/install-deps.sh || return
  choose_runnable_build
}

# Decides which build this host runs. Sets KESTRON_RUN_ARCH (x86 or x64),
# KESTRON_RUN_REASON (why not x86, when it is x64), and that build's preset and
# build_name, for the tools' messages. The 32-bit Wine's absence is exported,
# so the scripts this one runs (the release test) do not ask apt again.
choose_runnable_build() {
  if [ -z "${KESTRON_WINE32_MISSING:-}" ] && [ -s "$wine32_note" ]; then
    KESTRON_WINE32_MISSING=$(cat "$wine32_note")
    export KESTRON_WINE32_MISSING
  fi
  KESTRON_RUN_ARCH=x64
  if [ "${KESTRON_ONLY_64BIT:-}" = 1 ]; then
    KESTRON_RUN_REASON="KESTRON_ONLY_64BIT=1 is set"
  elif ! host_runs_32bit; then
    KESTRON_RUN_REASON="this host cannot run 32-bit programs"
  elif [ -n "${KESTRON_WINE32_MISSING:-}" ]; then
    KESTRON_RUN_REASON="the 32-bit Wine could not be installed: $KESTRON_WINE32_MISSING"
  else
    KESTRON_RUN_ARCH=x86
    KESTRON_RUN_REASON=""
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
  install_deps_and_choose_build
  build_runnable
  source tools/wine-session.sh
  wine_session_start "${2:-}"
  wine_prefix_start "$KESTRON_RUN_ARCH"
  echo "$1: $build_name"
}
