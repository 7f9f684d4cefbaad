# Sourced by test.sh and demo.sh: a Wine prefix in the build tree, set up for
# unattended runs, and (without a usable display) a private Xvfb screen.
# Call wine_session_start [use-own-display]; wine_session_stop runs on exit.

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$here/build/windows/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
xvfb_pid=""

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
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # No window manager under Xvfb: unmanaged windows hide at once.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # A crashing program must not wait for someone to close a dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.kestron-ready"
  fi
}

wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
}

wine_session_start() {
  if [ "${1:-}" != "use-own-display" ] || [ -z "${DISPLAY:-}" ]; then
    start_xvfb
  fi
  trap wine_session_stop EXIT
  prepare_prefix
  # A persistent server makes each program start in a fraction of a second.
  wineserver -p
  # Start Wine's background services now, detached from any caller's output
  # pipe: otherwise they inherit the first test's pipe and hold it open.
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}
