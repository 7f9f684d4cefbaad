#!/bin/sh
# Runs a Windows program under Wine with the project's settings: a private
# prefix in the build tree, no debug output, no Mono or Gecko installers.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/windows/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=;mshtml=}"
exec wine "$@"
