# Sourced by the tools: a private Xvfb screen (unless the caller may use its
# own display), and for each build a Wine prefix set up for unattended runs
# with a persistent server. wine_session_start [use-own-display] starts the
# screen; wine_prefix_start x86|x64 switches to a build's Wine; everything
# this started is stopped on exit, and whatever the caller handed to
# at_session_exit is run then too. Processes are stopped by their ids only,
# and only those this session started: other Wine programs on the machine are
# left alone.

source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
xvfb_pid=""
wine_symbol_font=/usr/share/wine/fonts/marlett.ttf
wine_servers=()
session_cleanups=()

# Runs the command when the session ends, also when the caller fails: the
# session owns the EXIT trap.
at_session_exit() { session_cleanups+=("$(printf '%q ' "$@")"); }

start_xvfb() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  local display
  read -r -t 20 display <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$display"
}

prepare_prefix() {
  if [ ! -f "$WINEPREFIX/.kestron-ready" ]; then
    echo "Preparing the Wine prefix in $WINEPREFIX (once)..."
    mkdir -p "$WINEPREFIX"
    "$WINE" wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER_CMD" -w
    # No window manager under Xvfb: unmanaged windows hide at once.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # A crashing program must not wait for someone to close a dialog.
    "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    "$WINESERVER_CMD" -w
    touch "$WINEPREFIX/.kestron-ready"
  fi
  # The symbol font of the caption buttons (fonts-wine): Debian's Wine 8 finds
  # it only in the prefix's font folder, and draws the letters 0 1 r without it.
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  if [ -f "$wine_symbol_font" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts"
    cp "$wine_symbol_font" "$fonts/"
  fi
}

wine_session_stop() {
  local entry
  for entry in "${session_cleanups[@]}"; do eval "$entry" || true; done
  for entry in "${wine_servers[@]}"; do
    WINEPREFIX=${entry%%|*} "${entry#*|}" -k >/dev/null 2>&1 || true
  done
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
}

wine_session_start() {
  export KESTRON_SESSION="$$.$(date +%s%N)"
  if [ "${1:-}" != "use-own-display" ] || [ -z "${DISPLAY:-}" ]; then
    start_xvfb
  fi
  trap wine_session_stop EXIT
}

# The ids of the running processes whose name matches the pgrep pattern $1
# and whose environment holds the line $2.
pids_with_env() {
  local pid
  for pid in $(pgrep "$1"); do
    if tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "$2"; then
      echo "$pid"
    fi
  done
}

# The ids of the running processes named $1 that this session started,
# directly or through a program it started: under Wine a program started by
# another is not a Linux child process of it, but it inherits its environment,
# and so the session's mark.
session_pids() { pids_with_env "^$1\$" "KESTRON_SESSION=$KESTRON_SESSION"; }

# Waits (at most 20 s) until a line starting with $2 is in the file $1.
wait_for_line() {
  for _ in $(seq 200); do grep -q "^$2" "$1" 2>/dev/null && return 0; sleep 0.1; done
  echo "no line '$2' came in $1" >&2
  return 1
}

# Stops the companions this session started, then waits for process $1 (the
# companion itself, or the launcher that started it) to end.
stop_companion() {
  local pids
  pids=$(session_pids Korvastel)
  [ -z "$pids" ] || kill $pids >/dev/null 2>&1 || true
  wait "$1" 2>/dev/null || true
}

# The process id of the Wine server of the current prefix: the one whose
# environment names it, not another prefix's server.
wine_server_pid() { pids_with_env '^wineserver' "WINEPREFIX=$WINEPREFIX" | head -n 1; }

wine_prefix_start() {
  wine_use "$1"
  prepare_prefix
  # A persistent server makes each program start in a fraction of a second.
  "$WINESERVER_CMD" -p
  wine_servers+=("$WINEPREFIX|$WINESERVER_CMD")
  hold_desktop
}

# Wine starts its desktop process (explorer.exe) for the first program that
# uses a window, and ends it a second after the last program has left.
# Started by a test, it inherits the test's output pipe, and ctest waits for
# that pipe to close: a second more for every test that opens a window. So
# the desktop starts here, detached from any caller's pipe, and a program
# that waits for a key nobody sends keeps it until the session ends. Wine's
# background services start detached with them.
hold_desktop() {
  local fifo out holder
  fifo=$(mktemp -u) out=$(mktemp)
  mkfifo "$fifo"
  "$WINE" cmd /c pause <>"$fifo" >"$out" 2>&1 &
  holder=$!
  rm "$fifo"
  # Its prompt shows that it runs, and so holds the desktop; rundll32 without
  # arguments then opens a window and ends.
  if wait_for_line "$out" .; then
    "$WINE" rundll32 </dev/null >/dev/null 2>&1 || true
  fi
  rm "$out"
  if [ -z "$(pids_with_env '^explorer\.exe$' "WINEPREFIX=$WINEPREFIX")" ]; then
    # A desktop a test starts must be free to end, or ctest waits for it.
    kill "$holder" 2>/dev/null || true
    echo "Wine's desktop did not start ahead: each test that opens a window waits a second more" >&2
  fi
}
